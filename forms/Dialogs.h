#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

// The one seam through which the program asks and tells the user anything:
// message boxes, questions, input boxes, file dialogs and its own modal
// windows. The program installs the real implementation; tests install one
// that answers from a queue and keeps what was asked.

enum class TMessageKind { Information, Warning, Critical, Question };

enum class TButton {
    None = 0,
    Ok = 0x1,
    Yes = 0x2,
    No = 0x4,
    Save = 0x8,
    Discard = 0x10,
    Cancel = 0x20,
};
Q_DECLARE_FLAGS(TButtons, TButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(TButtons)

class TDialogs {
public:
    virtual ~TDialogs() = default;

    // A message box of `kind` with `buttons`; the button pressed, or the
    // box's escape button when it was closed otherwise. `text` is shown as it
    // is, never read as markup.
    virtual TButton Message(QWidget *owner, TMessageKind kind, const QString &caption,
                            const QString &text, TButtons buttons,
                            const QString &objectName = QString()) = 0;
    // A question answered by one of `choices` (each a button) or Cancel; the
    // index of the choice, or -1 for Cancel.
    virtual int Choose(QWidget *owner, const QString &caption, const QString &text,
                       const QStringList &choices) = 0;
    // An input box named `objectName` starting at `text`; the text given, or
    // nullopt when cancelled.
    virtual std::optional<QString> Text(QWidget *owner, const QString &objectName,
                                        const QString &caption, const QString &label,
                                        const QString &text) = 0;
    // Runs `dialog`, its name filters and starting file set; the chosen
    // file, empty when cancelled. `chosenFilter` receives the filter selected
    // when a file was chosen.
    virtual QString File(QFileDialog *dialog, QString *chosenFilter) = 0;
    // Runs one of the program's own modal windows; its result code.
    virtual int Exec(QDialog *dialog) = 0;

    // The implementation in use (the real one unless another was installed).
    static TDialogs &Current();
    // Puts `dialogs` in place and returns the one it replaces.
    static std::unique_ptr<TDialogs> Install(std::unique_ptr<TDialogs> dialogs);
};

// The seam's common uses.

// Asks a Yes/No question with the caption "?" and the question icon; true
// on Yes.
bool AskQuestion(QWidget *owner, const QString &text);

// Asks for a text in a dialog named `objectName`, starting from `text`, until
// the user gives one that is not blank or cancels; the text given, trimmed,
// or false when cancelled.
bool AskText(QWidget *owner, const QString &objectName, const QString &caption,
             const QString &label, QString &text);

// Shows an information, warning or error box with an OK button.
void ShowInformation(QWidget *owner, const QString &caption, const QString &text);
void ShowWarning(QWidget *owner, const QString &caption, const QString &text);
void ShowError(QWidget *owner, const QString &caption, const QString &text);

// Shows `dialog` with the given name filter; the chosen file name, or empty
// when cancelled. The dialog keeps the chosen name for next time.
QString RunFileDialog(QFileDialog *dialog, const QString &filter);
// The same with several name filters; `chosenFilter` receives the one
// selected when the dialog was accepted.
QString RunFileDialog(QFileDialog *dialog, const QStringList &filters, QString *chosenFilter);

// Runs one of the program's own modal windows through the seam.
int ExecDialog(QDialog *dialog);

// True when `fileName` does not exist or the user agrees to replace it.
// Used where the file written is not the name the save dialog confirmed (an
// extension was appended), so nothing is replaced unasked.
bool MayReplace(QWidget *owner, const QString &fileName);

// `fileName` with `extension` (".html") appended unless its extension, from
// the last dot of the name on, is that one in any letter case.
QString WithExtension(const QString &fileName, const QString &extension);
