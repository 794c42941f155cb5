#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// The small dialogs every window of the program uses alike.

// Asks a Yes/No question with the caption "?" and the question icon; true
// on Yes. The text is shown as it is, never read as markup.
bool AskQuestion(QWidget *owner, const QString &text);

// Asks for a text in a dialog named `objectName`, starting from `text`, until
// the user gives one that is not blank or cancels; the text given, trimmed,
// or false when cancelled.
bool AskText(QWidget *owner, const QString &objectName, const QString &caption,
             const QString &label, QString &text);

// Shows an information box, or a warning box, with an OK button.
void ShowInformation(QWidget *owner, const QString &caption, const QString &text);
void ShowWarning(QWidget *owner, const QString &caption, const QString &text);

// Shows `dialog` with the given name filter; the chosen file name, or empty
// when cancelled. The dialog keeps the chosen name for next time.
QString RunFileDialog(QFileDialog *dialog, const QString &filter);
// The same with several name filters; `chosenFilter` receives the one
// selected when the dialog was accepted.
QString RunFileDialog(QFileDialog *dialog, const QStringList &filters, QString *chosenFilter);

// True when `fileName` does not exist or the user agrees to replace it.
// Used where the file written is not the name the save dialog confirmed (an
// extension was appended), so nothing is replaced unasked.
bool MayReplace(QWidget *owner, const QString &fileName);

// `fileName` with `extension` (".html") appended unless its extension, from
// the last dot of the name on, is that one in any letter case.
QString WithExtension(const QString &fileName, const QString &extension);
