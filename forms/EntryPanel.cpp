#include "forms/EntryPanel.h"

#include "forms/BusyGuard.h"
#include "forms/EditCateForm.h"
#include "forms/MainForm.h"
#include "forms/NoAutoSelect.h"
#include "forms/PickerTabExit.h"
#include "forms/RowsModel.h"
#include "store/AmountText.h"
#include "store/KestrelClass.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTreeView>
#include <exception>

namespace {

const QString kDateFormat = QStringLiteral("MM/dd/yyyy");

// One item per line of a stored category list; no item for an empty text
// or for the empty lines at its end.
QStringList CategoryLines(const QString &text) {
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Removes a row of a pending list and leaves no row selected (the view
// would otherwise select the row that moves into its place, and a second
// Delete would drop a row the user never chose).
void RemovePendingRow(QTreeView *list, TRowsModel *model, int row) {
    if (QItemSelectionModel *selection = list->selectionModel())
        selection->clear();
    model->RemoveRow(row);
    if (QItemSelectionModel *selection = list->selectionModel())
        selection->clear();
}

bool IsEnterKey(const QKeyEvent *key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TEntryPanelKind TEntryPanelKind::Expense() {
    return {QStringLiteral("Out"), QStringLiteral("Expense"), QStringLiteral("out"),
            QStringLiteral("RES_HELP1")};
}

TEntryPanelKind TEntryPanelKind::Income() {
    return {QStringLiteral("In"), QStringLiteral("Income"), QStringLiteral("in"),
            QStringLiteral("RES_HELP2")};
}

template <typename T> T *TEntryPanel::Control(const QString &kind, const QString &role) const {
    const QString name = kind + FKind.Part + role;
    T *control = FOwner->findChild<T *>(name);
    if (!control)
        qFatal("The main window lacks the control %s", qPrintable(name));
    return control;
}

TEntryPanel::TEntryPanel(TfrmMain *owner, const TEntryPanelKind &kind)
    : QObject(owner), FOwner(owner), FKind(kind) {
    setObjectName(QStringLiteral("EntryPanel") + kind.Part);
    FDate = Control<QDateEdit>(QStringLiteral("dtp"), QStringLiteral("Date"));
    FCate = Control<QComboBox>(QStringLiteral("cbo"), QStringLiteral("Cate"));
    FAmount = Control<QLineEdit>(QStringLiteral("edt"), QStringLiteral("Amount"));
    FNotes = Control<QLineEdit>(QStringLiteral("edt"), QStringLiteral("Notes"));
    FHelp = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Help"));
    FEditCates = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("EditCates"));
    FCalc = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Calc"));
    FAdd = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Add"));
    FList = Control<QTreeView>(QStringLiteral("lvw"), QStringLiteral("Recs"));
    FTotal = Control<QLabel>(QStringLiteral("lbl"), QStringLiteral("Total"));
    FDelete = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Delete"));
    FEdit = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Edit"));
    FSave = Control<QPushButton>(QStringLiteral("btn"), QStringLiteral("Save"));
    FModel = ListModel(FList);
    if (!FModel)
        qFatal("The pending list %s has no rows model", qPrintable(FList->objectName()));

    // Enter walks date -> category -> amount -> notes -> Add, and on the
    // focused Add button adds; Delete in the list drops the selected row.
    for (QObject *watched : {static_cast<QObject *>(FDate), static_cast<QObject *>(FCate),
                             static_cast<QObject *>(FAmount), static_cast<QObject *>(FNotes),
                             static_cast<QObject *>(FAdd), static_cast<QObject *>(FList)})
        watched->installEventFilter(this);
    if (FCate->lineEdit())
        FCate->lineEdit()->installEventFilter(this);
    TPickerTabExit::Install(FDate);
    TNoAutoSelect::Install(FAmount);
    TNoAutoSelect::Install(FNotes);

    connect(FAdd, &QPushButton::clicked, this, [this] { AddClick(FAdd); });
    connect(FSave, &QPushButton::clicked, this, [this] { SaveClick(FSave); });
    connect(FEdit, &QPushButton::clicked, this, [this] { EditClick(); });
    connect(FDelete, &QPushButton::clicked, this, [this] { DeleteClick(); });
    connect(FEditCates, &QPushButton::clicked, this, [this] { EditCatesClick(FEditCates); });
    connect(FCalc, &QPushButton::clicked, this, [this] { CalcClick(); });
    connect(FHelp, &QPushButton::clicked, this, [this] { HelpClick(); });
}

bool TEntryPanel::Ask(const QString &question) const {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), question,
                    QMessageBox::Yes | QMessageBox::No, FOwner);
    return box.exec() == QMessageBox::Yes;
}

void TEntryPanel::CateChange() {
    FAdd->setEnabled(!FCate->currentText().trimmed().isEmpty() &&
                     IsAcceptableAmount(FAmount->text()));
}

void TEntryPanel::AddClick(QPushButton *sender) {
    if (!sender)
        sender = FAdd;
    // Enter in the notes box calls Add also while the rule does not hold.
    if (!sender->isEnabled()) {
        FCate->setFocus();
        return;
    }
    FOwner->RunGuarded([&] {
        const QString category = FCate->currentText().trimmed();
        double amount = 0;
        if (category.isEmpty() || !IsAcceptableAmount(FAmount->text(), &amount)) {
            FCate->setFocus();
            return;
        }
        // The row is in the list before the category is stored; when storing
        // the category fails, the add still finishes (the typed record is
        // safe in the list) and the error is reported after it.
        std::exception_ptr failure;
        {
            TBusyGuard busy(sender);
            FModel->AppendRow({FDate->date().toString(kDateFormat), FKind.TypeWord, category,
                               FormatAmount(amount), FNotes->text().trimmed()});
            UpdatePendingTotal(FList, FTotal);
            try {
                RememberCategory(category);
            } catch (...) {
                failure = std::current_exception();
            }
        }
        FCate->setCurrentIndex(-1);
        FCate->setEditText(QString());
        FAmount->clear();
        FNotes->clear();
        FCate->setFocus();
        FOwner->UpdateButtons();
        if (failure)
            std::rethrow_exception(failure);
    });
}

void TEntryPanel::SaveClick(QPushButton *sender) {
    if (!sender)
        sender = FSave;
    FOwner->RunGuarded([&] {
        if (FModel->Count() == 0)
            return;
        if (!Ask(QStringLiteral("Do you want to save?")))
            return;
        {
            // One transaction for the whole list: when it fails nothing is
            // stored, the rows stay and Save is enabled again.
            TBusyGuard busy(sender);
            FOwner->DbMan->AddRecords(FOwner->UserName, FModel->Rows());
        }
        FModel->Clear();
        UpdatePendingTotal(FList, FTotal);
        FOwner->UpdateButtons();
        ShowSaveSuccess(FOwner);
    });
}

void TEntryPanel::EditClick() {
    FOwner->RunGuarded([&] {
        const int row = SelectedRow(FList);
        if (row < 0)
            return;
        if (!Ask(QStringLiteral("You want to edit it?")))
            return;
        const QStringList texts = FModel->Row(row);
        const QDate date = QDate::fromString(texts.value(0), kDateFormat);
        if (date.isValid())
            FDate->setDate(date);
        FCate->setEditText(texts.value(2));
        FAmount->setText(texts.value(3));
        FNotes->setText(texts.value(4));
        RemovePendingRow(FList, FModel, row);
        UpdatePendingTotal(FList, FTotal);
        FOwner->UpdateButtons();
    });
}

void TEntryPanel::DeleteClick() {
    FOwner->RunGuarded([&] {
        const int row = SelectedRow(FList);
        if (row < 0)
            return;
        if (!Ask(QStringLiteral("You want to delete it?")))
            return;
        RemovePendingRow(FList, FModel, row);
        UpdatePendingTotal(FList, FTotal);
        FOwner->UpdateButtons();
    });
}

void TEntryPanel::EditCatesClick(QPushButton *sender) {
    if (!sender)
        sender = FEditCates;
    FOwner->RunGuarded([&] {
        bool saved = false;
        {
            // The button stays disabled while the editor is open; the wait
            // cursor only marks the work on the data file.
            sender->setEnabled(false);
            const auto enableAgain = qScopeGuard([sender] { sender->setEnabled(true); });
            TfrmEditCate dialog(FOwner);
            {
                TBusyGuard busy;
                dialog.CateText = FOwner->DbMan->GetCategories(FOwner->UserName, FKind.ListName);
            }
            if (dialog.exec() == QDialog::Accepted) {
                dialog.hide();
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                TBusyGuard busy;
                FOwner->DbMan->SetCategories(FOwner->UserName, FKind.ListName, dialog.CateText);
                LoadCategories();
                saved = true;
            }
        }
        if (saved) {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Ledgerly"),
                            QStringLiteral("SUCCESS!"), QMessageBox::Ok, FOwner);
            box.exec();
        }
    });
    sender->setFocus();
}

const QStringList &TEntryPanel::Calculators() {
    static const QStringList names = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                      QStringLiteral("galculator"), QStringLiteral("xcalc")};
    return names;
}

void TEntryPanel::CalcClick() {
    // Started detached, nothing waits for it; without a calculator nothing happens.
    for (const QString &name : Calculators()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            TKestrel::RunProgram(path, QString(), QString(), 5);
            return;
        }
    }
}

void TEntryPanel::HelpClick() {
    FOwner->RunGuarded([&] {
        QString text = QString::fromUtf8(TKestrel::ReadResourceText(FKind.HelpResource));
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        while (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        QMessageBox box(QMessageBox::Information, QStringLiteral("Help"), text, QMessageBox::Ok,
                        FOwner);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    });
}

void TEntryPanel::RememberCategory(const QString &category) {
    const QString wanted = category.trimmed().toLower();
    for (int i = 0; i < FCate->count(); ++i) {
        if (FCate->itemText(i).trimmed().toLower() == wanted)
            return; // the list keeps its own spelling
    }
    FCate->insertItem(0, category);
    QStringList items;
    for (int i = 0; i < FCate->count(); ++i)
        items << FCate->itemText(i);
    try {
        FOwner->DbMan->SetCategories(FOwner->UserName, FKind.ListName,
                                     items.join(QStringLiteral("\r\n")).trimmed());
    } catch (...) {
        // The box shows what is stored: a category that could not be stored
        // is tried again at the next Add.
        FCate->removeItem(0);
        throw;
    }
}

void TEntryPanel::LoadCategories() {
    const QString typed = FCate->currentText();
    const QStringList lines =
        CategoryLines(FOwner->DbMan->GetCategories(FOwner->UserName, FKind.ListName));
    FCate->clear();
    FCate->addItems(lines);
    FCate->setCurrentIndex(-1);
    FCate->setEditText(typed);
}

void TEntryPanel::UpdatePendingTotal(QTreeView *list, QLabel *label) {
    double sum = 0;
    if (const TRowsModel *model = ListModel(list)) {
        for (const QStringList &row : model->Rows()) {
            double value = 0;
            if (IsDecimalText(row.value(3).trimmed(), &value))
                sum += value;
        }
    }
    label->setText(QStringLiteral("Total: ") + FormatAmount(sum));
}

void TEntryPanel::ShowSaveSuccess(QWidget *owner) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("SUCCESS"),
                    QStringLiteral("SUCCESS!\n\nTo view transactions, click on the "
                                   "\"Transactions\" radio button."),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool TEntryPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == FList) {
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat() && SelectedRow(FList) >= 0) {
            DeleteClick();
            return true;
        }
        return false;
    }
    if (!IsEnterKey(key))
        return false;
    if (watched == FDate) {
        FCate->setFocus();
        return true;
    }
    if (watched == FCate || watched == FCate->lineEdit()) {
        FAmount->setFocus();
        return true;
    }
    if (watched == FAmount) {
        FNotes->setFocus();
        return true;
    }
    if (watched == FNotes) {
        AddClick(FAdd);
        return true;
    }
    if (watched == FAdd) {
        // Tab reaches Add; Enter there works like Space.
        if (FAdd->isEnabled() && !key->isAutoRepeat())
            AddClick(FAdd);
        return true;
    }
    return false;
}
