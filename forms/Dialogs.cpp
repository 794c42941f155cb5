#include "forms/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon iconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Information:
        return QMessageBox::Information;
    case TMessageKind::Warning:
        return QMessageBox::Warning;
    case TMessageKind::Critical:
        return QMessageBox::Critical;
    case TMessageKind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

constexpr std::pair<TButton, QMessageBox::StandardButton> kButtons[] = {
    {TButton::Ok, QMessageBox::Ok},           {TButton::Yes, QMessageBox::Yes},
    {TButton::No, QMessageBox::No},           {TButton::Save, QMessageBox::Save},
    {TButton::Discard, QMessageBox::Discard}, {TButton::Cancel, QMessageBox::Cancel},
};

// The dialogs the user sees.
class TWindowDialogs : public TDialogs {
public:
    TButton Message(QWidget *owner, TMessageKind kind, const QString &caption, const QString &text,
                    TButtons buttons, const QString &objectName) override {
        QMessageBox::StandardButtons standard;
        for (const auto &[ours, theirs] : kButtons)
            if (buttons.testFlag(ours))
                standard |= theirs;
        QMessageBox box(iconOf(kind), caption, text, standard, owner);
        if (!objectName.isEmpty())
            box.setObjectName(objectName);
        // Messages quote file names and typed texts: shown as they are.
        box.setTextFormat(Qt::PlainText);
        const int pressed = box.exec();
        for (const auto &[ours, theirs] : kButtons)
            if (pressed == theirs)
                return ours;
        return TButton::None;
    }

    int Choose(QWidget *owner, const QString &caption, const QString &text,
               const QStringList &choices) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Cancel, owner);
        box.setTextFormat(Qt::PlainText);
        QList<QAbstractButton *> buttons;
        for (const QString &choice : choices)
            buttons << box.addButton(choice, QMessageBox::AcceptRole);
        box.exec();
        return int(buttons.indexOf(box.clickedButton()));
    }

    std::optional<QString> Text(QWidget *owner, const QString &objectName, const QString &caption,
                                const QString &label, const QString &text) override {
        QInputDialog dialog(owner);
        dialog.setObjectName(objectName);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(label);
        dialog.setTextValue(text);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

    QString File(QFileDialog *dialog, QString *chosenFilter) override {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        if (chosenFilter)
            *chosenFilter = dialog->selectedNameFilter();
        return dialog->selectedFiles().constFirst();
    }

    int Exec(QDialog *dialog) override { return dialog->exec(); }
};

std::unique_ptr<TDialogs> &installed() {
    static std::unique_ptr<TDialogs> dialogs = std::make_unique<TWindowDialogs>();
    return dialogs;
}

} // namespace

TDialogs &TDialogs::Current() {
    return *installed();
}

std::unique_ptr<TDialogs> TDialogs::Install(std::unique_ptr<TDialogs> dialogs) {
    std::swap(installed(), dialogs);
    return dialogs;
}

bool AskQuestion(QWidget *owner, const QString &text) {
    return TDialogs::Current().Message(owner, TMessageKind::Question, QStringLiteral("?"), text,
                                       TButton::Yes | TButton::No) == TButton::Yes;
}

bool AskText(QWidget *owner, const QString &objectName, const QString &caption,
             const QString &label, QString &text) {
    for (;;) {
        const std::optional<QString> given =
            TDialogs::Current().Text(owner, objectName, caption, label, text);
        if (!given)
            return false;
        text = given->trimmed();
        if (!text.isEmpty())
            return true;
    }
}

void ShowInformation(QWidget *owner, const QString &caption, const QString &text) {
    TDialogs::Current().Message(owner, TMessageKind::Information, caption, text, TButton::Ok);
}

void ShowWarning(QWidget *owner, const QString &caption, const QString &text) {
    TDialogs::Current().Message(owner, TMessageKind::Warning, caption, text, TButton::Ok);
}

void ShowError(QWidget *owner, const QString &caption, const QString &text) {
    TDialogs::Current().Message(owner, TMessageKind::Critical, caption, text, TButton::Ok);
}

QString RunFileDialog(QFileDialog *dialog, const QString &filter) {
    return RunFileDialog(dialog, QStringList{filter}, nullptr);
}

QString RunFileDialog(QFileDialog *dialog, const QStringList &filters, QString *chosenFilter) {
    dialog->setNameFilters(filters);
    const QString last = dialog->property("LastChosen").toString();
    if (!last.isEmpty())
        dialog->selectFile(last);
    const QString chosen = TDialogs::Current().File(dialog, chosenFilter);
    if (!chosen.isEmpty())
        dialog->setProperty("LastChosen", chosen);
    return chosen;
}

int ExecDialog(QDialog *dialog) {
    return TDialogs::Current().Exec(dialog);
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
