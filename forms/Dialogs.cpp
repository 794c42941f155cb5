#include "forms/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

bool AskQuestion(QWidget *owner, const QString &text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

bool AskText(QWidget *owner, const QString &objectName, const QString &caption,
             const QString &label, QString &text) {
    for (;;) {
        QInputDialog dialog(owner);
        dialog.setObjectName(objectName);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(label);
        dialog.setTextValue(text);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        text = dialog.textValue().trimmed();
        if (!text.isEmpty())
            return true;
    }
}

void ShowInformation(QWidget *owner, const QString &caption, const QString &text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ShowWarning(QWidget *owner, const QString &caption, const QString &text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString RunFileDialog(QFileDialog *dialog, const QString &filter) {
    return RunFileDialog(dialog, QStringList{filter}, nullptr);
}

QString RunFileDialog(QFileDialog *dialog, const QStringList &filters, QString *chosenFilter) {
    dialog->setNameFilters(filters);
    const QString last = dialog->property("LastChosen").toString();
    if (!last.isEmpty())
        dialog->selectFile(last);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog->selectedFiles().constFirst();
    dialog->setProperty("LastChosen", chosen);
    if (chosenFilter)
        *chosenFilter = dialog->selectedNameFilter();
    return chosen;
}

bool MayReplace(QWidget *owner, const QString &fileName) {
    if (!QFileInfo(fileName).exists())
        return true;
    return AskQuestion(owner, QStringLiteral("%1 already exists.\r\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(fileName)));
}

QString WithExtension(const QString &fileName, const QString &extension) {
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0 && name.mid(dot).compare(extension, Qt::CaseInsensitive) == 0)
        return fileName;
    return fileName + extension;
}
