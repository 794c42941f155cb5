#include "forms/EntryPanel.h"
#include "ui_EntryPanel.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/EditCateForm.h"
#include "forms/ErrorReport.h"
#include "forms/NoAutoSelect.h"
#include "forms/PickerTabExit.h"
#include "forms/RecurringForm.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/UndoCommands.h"
#include "store/AmountText.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <exception>
#include <limits>
#include <stdexcept>

namespace {

bool IsEnterKey(const QKeyEvent *key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QString PendingCell(const TRecord &record, int subItem) {
    switch (subItem) {
    case 0:
        return record.Date.toString(QStringLiteral("MM/dd/yyyy"));
    case 1:
        return RecordTypeText(record.Type);
    case 2:
        return record.Category;
    case 3:
        return CentsText(record.Cents);
    default:
        // Rows of a recurring entry are marked in the list only.
        return record.Recurring.IsEmpty() ? record.Notes : QStringLiteral("\u21BB ") + record.Notes;
    }
}

} // namespace

TEntryPanelKind TEntryPanelKind::Expense() {
    return {QStringLiteral("Out"),
            TRecordType::Expense,
            QStringLiteral("out"),
            QStringLiteral("RES_HELP1"),
            QStringLiteral("pnlExpense"),
            {QStringLiteral("12/31/2009"), TEntryPanel::tr("Food"), QStringLiteral("49.95"),
             TEntryPanel::tr("Walmart")}};
}

TEntryPanelKind TEntryPanelKind::Income() {
    return {QStringLiteral("In"),
            TRecordType::Income,
            QStringLiteral("in"),
            QStringLiteral("RES_HELP2"),
            QStringLiteral("pnlIncome"),
            {QStringLiteral("12/01/2009"), TEntryPanel::tr("Lottery"), QStringLiteral("89.95"),
             TEntryPanel::tr("Happy")}};
}

TEntryPanel::TEntryPanel(TSession &session, const TEntryPanelKind &kind, QWidget *parent)
    : QFrame(parent), FSession(session), FKind(kind), ui(std::make_unique<Ui::TEntryPanel>()) {
    ui->setupUi(this);
    setObjectName(kind.PanelName);
    // The controls are named from the part: "btn" + "Out" + "Add". The step
    // labels of the Income panel have always been plain lblStep1 to lblStep6.
    for (QWidget *child : findChildren<QWidget *>()) {
        const QString name = child->objectName();
        if (name.size() < 4 || !name.at(3).isUpper())
            continue;
        const bool step = name.startsWith(QLatin1String("lblStep"));
        if (!step || kind.Type == TRecordType::Expense)
            child->setObjectName(name.left(3) + kind.Part + name.mid(3));
    }
    const QStringList &example = kind.Example;
    ui->lblStep1->setText(tr("Step 1. Date: %1.").arg(example.value(0)));
    ui->lblStep2->setText(tr("Step 2. Category: %1.").arg(example.value(1)));
    ui->lblStep3->setText(tr("Step 3. Amount: %1.").arg(example.value(2)));
    ui->lblStep4->setText(tr("Step 4. Notes: %1.").arg(example.value(3)));

    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    FModel = new TTypedRowsModel<TRecord>({{tr("Date"), 80, L},
                                           {tr("Type"), 80, L},
                                           {tr("Category"), 180, L},
                                           {tr("Amount"), 80, R},
                                           {tr("Notes"), 220, L}},
                                          PendingCell, ui->lvwRecs);
    SetupListView(ui->lvwRecs, FModel);
    ui->cboCate->setCompleter(nullptr);
    // The pending list's menu makes the selected row a monthly entry.
    auto *repeat = new QAction(tr("Repeat Every Month..."), ui->lvwRecs);
    repeat->setObjectName(QStringLiteral("act") + kind.Part + QStringLiteral("Repeat"));
    ui->lvwRecs->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->lvwRecs->addAction(repeat);
    connect(repeat, &QAction::triggered, this, [this] { RepeatClick(); });

    // As the window grows, the boxes widen with the buttons beside them at
    // the right, and the list takes the rest above its buttons and total.
    const Qt::Edges T = Qt::TopEdge, B = Qt::BottomEdge, Lt = Qt::LeftEdge, Rt = Qt::RightEdge;
    TAnchors &anchors = TAnchors::Of(this);
    for (QWidget *box : std::initializer_list<QWidget *>{ui->dtpDate, ui->cboCate, ui->edtAmount,
                                                         ui->edtNotes, ui->lblTotal})
        anchors.Pin(box, box == ui->lblTotal ? Lt | Rt | B : Lt | T | Rt);
    for (QWidget *button : {ui->btnHelp, ui->btnEditCates, ui->btnCalc, ui->btnAdd})
        anchors.Pin(button, T | Rt);
    for (QWidget *button : {ui->btnDelete, ui->btnEdit, ui->btnSave})
        anchors.Pin(button, Rt | B);
    anchors.Pin(ui->lvwRecs, Lt | T | Rt | B);

    // Enter walks date -> category -> amount -> notes -> Add, and on the
    // focused Add button adds; Delete in the list drops the selected row.
    for (QObject *watched :
         {static_cast<QObject *>(ui->dtpDate), static_cast<QObject *>(ui->cboCate),
          static_cast<QObject *>(ui->edtAmount), static_cast<QObject *>(ui->edtNotes),
          static_cast<QObject *>(ui->btnAdd), static_cast<QObject *>(ui->lvwRecs)})
        watched->installEventFilter(this);
    if (ui->cboCate->lineEdit())
        ui->cboCate->lineEdit()->installEventFilter(this);
    TPickerTabExit::Install(ui->dtpDate);
    TNoAutoSelect::Install(ui->edtAmount);
    TNoAutoSelect::Install(ui->edtNotes);
    // Notes have no limit: a line edit would otherwise cut a longer paste
    // (and a pending row taken back by Edit) at 32,767 characters.
    ui->edtNotes->setMaxLength(std::numeric_limits<int>::max());

    connect(ui->btnAdd, &QPushButton::clicked, this, [this] { AddClick(ui->btnAdd); });
    connect(ui->btnSave, &QPushButton::clicked, this, [this] { SaveClick(ui->btnSave); });
    connect(ui->btnEdit, &QPushButton::clicked, this, [this] { EditClick(); });
    connect(ui->btnDelete, &QPushButton::clicked, this, [this] { DeleteClick(); });
    connect(ui->btnEditCates, &QPushButton::clicked, this,
            [this] { EditCatesClick(ui->btnEditCates); });
    connect(ui->btnCalc, &QPushButton::clicked, this, [this] { CalcClick(); });
    connect(ui->btnHelp, &QPushButton::clicked, this, [this] { HelpClick(); });
    connect(ui->cboCate, &QComboBox::editTextChanged, this, [this] { CateChange(); });
    connect(ui->edtAmount, &QLineEdit::textChanged, this, [this] { CateChange(); });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(); });
    connect(FModel, &QAbstractItemModel::rowsInserted, this, [this] { UpdateButtons(); });
    connect(FModel, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateButtons(); });
    connect(ui->lvwRecs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateButtons(); });
}

TEntryPanel::~TEntryPanel() = default;

void TEntryPanel::Start() {
    ui->dtpDate->setDate(QDate::currentDate());
    UpdateTotal();
    RunReported(window(), [&] { LoadCategories(); });
    // Loading the items must not fill the box: it starts empty.
    ui->cboCate->setCurrentIndex(-1);
    ui->cboCate->setEditText(QString());
    UpdateButtons();
    CateChange();
}

const QList<TRecord> &TEntryPanel::Pending() const {
    return FModel->Rows();
}

void TEntryPanel::AppendPending(const QList<TRecord> &records) {
    for (const TRecord &record : records)
        FModel->AppendRow(record);
    UpdateTotal();
}

int TEntryPanel::OfferDue(const QList<TDueEntry> &due) {
    int rows = 0;
    for (const TDueEntry &entry : due) {
        if (entry.Entry.Type != FKind.Type || entry.Rows.isEmpty())
            continue;
        // Offered once: a second offer of the same entry would book it twice.
        if (std::any_of(FAdvances.cbegin(), FAdvances.cend(),
                        [&](const TBookingAdvance &a) { return a.Entry == entry.Entry.Id; }))
            continue;
        FAdvances << entry.Advance;
        for (const TRecord &record : entry.Rows)
            FModel->AppendRow(record);
        rows += int(entry.Rows.size());
    }
    UpdateTotal();
    UpdateButtons();
    return rows;
}

bool TEntryPanel::Ask(const QString &question) {
    return AskQuestion(window(), question);
}

void TEntryPanel::UpdateButtons() {
    const bool selected = SelectedRow(ui->lvwRecs) >= 0;
    // Due rows all deleted: Save still books them as skipped.
    ui->btnSave->setEnabled(FModel->Count() > 0 || !FAdvances.isEmpty());
    ui->btnEdit->setEnabled(selected);
    ui->btnDelete->setEnabled(selected);
}

void TEntryPanel::UpdateTotal() {
    qint64 sum = 0;
    for (const TRecord &record : FModel->Rows())
        sum += record.Cents;
    ui->lblTotal->setText(tr("Total: %1").arg(CentsText(sum)));
}

void TEntryPanel::RemovePendingRow(int row) {
    // No row stays selected: the view would otherwise select the row that
    // moves into its place, and a second Delete would drop a row the user
    // never chose.
    ui->lvwRecs->selectionModel()->clear();
    FModel->RemoveRow(row);
    ui->lvwRecs->selectionModel()->clear();
    UpdateTotal();
}

void TEntryPanel::CateChange() {
    ui->btnAdd->setEnabled(!ui->cboCate->currentText().trimmed().isEmpty() &&
                           IsAcceptableAmount(ui->edtAmount->text()));
}

void TEntryPanel::AddClick(QPushButton *sender) {
    if (!sender)
        sender = ui->btnAdd;
    // Enter in the notes box calls Add also while the rule does not hold.
    if (!sender->isEnabled()) {
        ui->cboCate->setFocus();
        return;
    }
    RunReported(window(), [&] {
        TRecord record;
        record.Date = ui->dtpDate->date();
        record.Type = FKind.Type;
        record.Category = ui->cboCate->currentText().trimmed();
        record.Notes = ui->edtNotes->text().trimmed();
        if (record.Category.isEmpty() ||
            !IsAcceptableAmount(ui->edtAmount->text(), &record.Cents)) {
            ui->cboCate->setFocus();
            return;
        }
        // The row is in the list before the category is stored; when storing
        // the category fails, the add still finishes (the typed record is
        // safe in the list) and the error is reported after it.
        std::exception_ptr failure;
        {
            TBusyGuard busy(sender);
            FModel->AppendRow(record);
            UpdateTotal();
            try {
                RememberCategory(record.Category);
            } catch (...) {
                failure = std::current_exception();
            }
        }
        ui->cboCate->setCurrentIndex(-1);
        ui->cboCate->setEditText(QString());
        ui->edtAmount->clear();
        ui->edtNotes->clear();
        ui->cboCate->setFocus();
        if (failure)
            std::rethrow_exception(failure);
    });
}

void TEntryPanel::SaveClick(QPushButton *sender) {
    if (!sender)
        sender = ui->btnSave;
    RunReported(window(), [&] {
        if (FModel->Count() == 0 && FAdvances.isEmpty())
            return;
        if (!Ask(tr("Do you want to save?")))
            return;
        int leftOut = 0, booked = 0;
        {
            // One transaction for the whole list: when it fails nothing is
            // stored, the rows stay and Save is enabled again.
            TBusyGuard busy(sender);
            leftOut = SavePending(&booked);
        }
        UpdateButtons(); // the guard enabled Save again
        // Statement lines that another window saved first are in the book
        // once; the user learns why they did not come in twice.
        const QString meanwhile =
            leftOut == 0   ? QString()
            : leftOut == 1 ? tr("\n\n1 imported entry was left out: it had been imported "
                                "meanwhile, in another Ledgerly window.")
                           : tr("\n\n%1 imported entries were left out: they had been imported "
                                "meanwhile, in another Ledgerly window.")
                                 .arg(leftOut);
        const QString bookedText =
            booked == 0 ? QString()
                        : tr("\n\n%1 rows of recurring entries were taken out and not saved: "
                             "another Ledgerly window had booked them meanwhile.")
                              .arg(booked);
        ShowInformation(window(), tr("SUCCESS"),
                        tr("SUCCESS!%1\n\nTo view transactions, click on the "
                           "\"Transactions\" radio button.")
                            .arg(meanwhile + bookedText));
    });
}

int TEntryPanel::SavePending(int *meanwhile) {
    if (meanwhile)
        *meanwhile = 0;
    if (FModel->Rows().isEmpty() && FAdvances.isEmpty())
        return 0;
    TPendingSave save;
    try {
        save = FSession.DbMan->SavePending(FSession.UserName, FModel->Rows(), FAdvances);
    } catch (const TBookedMeanwhileError &error) {
        // Another window booked these entries (or changed them): their rows
        // go, the rest is saved once more. Nothing was stored yet.
        const QSet<qint64> gone(error.Entries.cbegin(), error.Entries.cend());
        QList<TRecord> rest;
        int removed = 0;
        for (const TRecord &record : FModel->Rows()) {
            if (!record.Recurring.IsEmpty() && gone.contains(record.Recurring->Entry))
                ++removed;
            else
                rest << record;
        }
        FAdvances.removeIf([&](const TBookingAdvance &a) { return gone.contains(a.Entry); });
        ui->lvwRecs->selectionModel()->clear();
        FModel->SetRows(rest);
        UpdateTotal();
        if (meanwhile)
            *meanwhile = removed;
        if (rest.isEmpty() && FAdvances.isEmpty())
            return 0;
        save = FSession.DbMan->SavePending(FSession.UserName, rest, FAdvances);
    }
    const QList<TRecord> &rows = FModel->Rows();
    const bool imported = std::any_of(
        rows.cbegin(), rows.cend(), [](const TRecord &record) { return !record.Import.IsEmpty(); });
    // Lines left out were stored by another window: not part of this step.
    QList<TRecord> stored = save.Stored;
    stored.removeIf([](const TRecord &record) { return record.Id == 0; });
    if ((!stored.isEmpty() || !save.Advanced.isEmpty()) && FSession.Steps)
        FSession.Steps->Push(new TSaveStep(stored, imported, save.Advanced));
    FAdvances.clear();
    FModel->Clear();
    UpdateTotal();
    return save.LeftOut;
}

void TEntryPanel::RepeatClick() {
    const int row = SelectedRow(ui->lvwRecs);
    if (row < 0)
        return;
    const TRecord record = FModel->At(row);
    TRecurring entry;
    // The row is the new entry's occurrence of its date: the save books the
    // entry up to it, or the next sign-in would bring that date again.
    if (RepeatRecord(FSession, record, false, window(), &entry) &&
        entry.Schedule.First == record.Date) {
        FAdvances << TBookingAdvance{entry.Id, QDate(), record.Date};
        UpdateButtons();
    }
}

void TEntryPanel::DiscardPending() {
    ui->lvwRecs->selectionModel()->clear();
    FAdvances.clear();
    FModel->Clear();
    UpdateTotal();
}

void TEntryPanel::EditClick() {
    RunReported(window(), [&] {
        const int row = SelectedRow(ui->lvwRecs);
        if (row < 0)
            return;
        if (!Ask(tr("You want to edit it?")))
            return;
        const TRecord record = FModel->At(row);
        ui->dtpDate->setDate(record.Date);
        ui->cboCate->setEditText(record.Category);
        ui->edtAmount->setText(CentsText(record.Cents));
        ui->edtNotes->setText(record.Notes);
        RemovePendingRow(row);
    });
}

void TEntryPanel::DeleteClick() {
    RunReported(window(), [&] {
        const int row = SelectedRow(ui->lvwRecs);
        if (row < 0)
            return;
        if (!Ask(tr("You want to delete it?")))
            return;
        RemovePendingRow(row);
    });
}

void TEntryPanel::EditCatesClick(QPushButton *sender) {
    if (!sender)
        sender = ui->btnEditCates;
    RunReported(window(), [&] {
        bool saved = false;
        {
            // The button stays disabled while the editor is open; the wait
            // cursor only marks the work on the data file.
            sender->setEnabled(false);
            const auto enableAgain = qScopeGuard([sender] { sender->setEnabled(true); });
            TfrmEditCate dialog(window());
            QStringList before;
            dialog.Type = FKind.Type;
            {
                TBusyGuard busy;
                before = FSession.DbMan->GetCategories(FSession.UserName, FKind.ListName);
                dialog.Categories = before;
            }
            if (ExecDialog(&dialog) == QDialog::Accepted) {
                dialog.hide();
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                TBusyGuard busy;
                FSession.DbMan->SetCategories(FSession.UserName, FKind.ListName, dialog.Categories);
                saved = true;
                // The step holds the list as the store reads it back.
                const QStringList after =
                    FSession.DbMan->GetCategories(FSession.UserName, FKind.ListName);
                if (after != before && FSession.Steps)
                    FSession.Steps->Push(new TCategoryListStep(FKind.Type, before, after));
                LoadCategories();
            }
        }
        if (saved)
            ShowInformation(window(), QStringLiteral("Ledgerly"), tr("SUCCESS!"));
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
            QProcess::startDetached(path, {});
            return;
        }
    }
}

void TEntryPanel::HelpClick() {
    RunReported(window(), [&] {
        QFile resource(QStringLiteral(":/") + FKind.HelpResource);
        if (!resource.open(QIODevice::ReadOnly))
            throw std::runtime_error(
                tr("Resource \"%1\" not found.").arg(FKind.HelpResource).toStdString());
        QString text = QString::fromUtf8(resource.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        while (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        ShowInformation(window(), tr("Help"), text);
    });
}

void TEntryPanel::RememberCategory(const QString &category) {
    QComboBox *box = ui->cboCate;
    const QString wanted = category.trimmed().toLower();
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).trimmed().toLower() == wanted)
            return; // the list keeps its own spelling
    }
    box->insertItem(0, category);
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    try {
        FSession.DbMan->SetCategories(FSession.UserName, FKind.ListName, items);
    } catch (...) {
        // The box shows what is stored: a category that could not be stored
        // is tried again at the next Add.
        box->removeItem(0);
        throw;
    }
}

void TEntryPanel::LoadCategories() {
    const QString typed = ui->cboCate->currentText();
    const QStringList lines = FSession.DbMan->GetCategories(FSession.UserName, FKind.ListName);
    ui->cboCate->clear();
    ui->cboCate->addItems(lines);
    ui->cboCate->setCurrentIndex(-1);
    ui->cboCate->setEditText(typed);
}

bool TEntryPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == ui->lvwRecs) {
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat() && SelectedRow(ui->lvwRecs) >= 0) {
            DeleteClick();
            return true;
        }
        return false;
    }
    if (!IsEnterKey(key))
        return false;
    if (watched == ui->dtpDate) {
        ui->cboCate->setFocus();
        return true;
    }
    if (watched == ui->cboCate || watched == ui->cboCate->lineEdit()) {
        ui->edtAmount->setFocus();
        return true;
    }
    if (watched == ui->edtAmount) {
        ui->edtNotes->setFocus();
        return true;
    }
    if (watched == ui->edtNotes) {
        AddClick(ui->btnAdd);
        return true;
    }
    if (watched == ui->btnAdd) {
        // Tab reaches Add; Enter there works like Space.
        if (ui->btnAdd->isEnabled() && !key->isAutoRepeat())
            AddClick(ui->btnAdd);
        return true;
    }
    return false;
}
