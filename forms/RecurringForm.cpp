#include "forms/RecurringForm.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/UndoCommands.h"
#include "store/AmountText.h"
#include "store/Planning.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>

namespace {

const QString kDateFormat = QStringLiteral("MM/dd/yyyy");

QString unitText(TRepeatUnit unit, bool plural) {
    switch (unit) {
    case TRepeatUnit::Days:
        return plural ? TfrmRecurring::tr("days") : TfrmRecurring::tr("day");
    case TRepeatUnit::Weeks:
        return plural ? TfrmRecurring::tr("weeks") : TfrmRecurring::tr("week");
    case TRepeatUnit::Months:
        return plural ? TfrmRecurring::tr("months") : TfrmRecurring::tr("month");
    default:
        return plural ? TfrmRecurring::tr("years") : TfrmRecurring::tr("year");
    }
}

QString recurringCell(const TRecurring &entry, int subItem) {
    switch (subItem) {
    case 0:
        return RecordTypeText(entry.Type);
    case 1:
        return entry.Category;
    case 2:
        return CentsText(entry.Cents);
    case 3:
        return entry.Notes;
    case 4:
        return ScheduleText(entry.Schedule);
    default:
        return NextToBook(entry).toString(kDateFormat);
    }
}

QDateEdit *dateEdit(QWidget *parent, const QString &name) {
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDateFormat);
    edit->setCalendarPopup(true);
    return edit;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

QString ScheduleText(const TSchedule &schedule) {
    const QString every = schedule.Every == 1
                              ? TfrmRecurring::tr("Every %1").arg(unitText(schedule.Unit, false))
                              : TfrmRecurring::tr("Every %1 %2")
                                    .arg(schedule.Every)
                                    .arg(unitText(schedule.Unit, true));
    QString text = TfrmRecurring::tr("%1 from %2").arg(every, schedule.First.toString(kDateFormat));
    if (schedule.Last.isValid())
        text = TfrmRecurring::tr("%1 to %2").arg(text, schedule.Last.toString(kDateFormat));
    return text;
}

// --- the editor ---------------------------------------------------------------------------

TfrmEditRecurring::TfrmEditRecurring(TSession &session, const TRecurring &entry, QWidget *owner)
    : QDialog(owner), FSession(session), FEntry(entry) {
    setObjectName(QStringLiteral("frmEditRecurring"));
    setWindowTitle(tr("Recurring Entry"));
    auto *form = new QFormLayout;
    cboType = new QComboBox(this);
    cboType->setObjectName(QStringLiteral("cboRecurringType"));
    cboType->addItem(RecordTypeText(TRecordType::Expense));
    cboType->addItem(RecordTypeText(TRecordType::Income));
    cboType->setCurrentIndex(entry.Type == TRecordType::Income ? 1 : 0);
    cboCate = new QComboBox(this);
    cboCate->setObjectName(QStringLiteral("cboRecurringCate"));
    cboCate->setEditable(true);
    cboCate->setCompleter(nullptr);
    edtAmount = new QLineEdit(entry.Id || entry.Cents ? CentsText(entry.Cents) : QString(), this);
    edtAmount->setObjectName(QStringLiteral("edtRecurringAmount"));
    edtNotes = new QLineEdit(entry.Notes, this);
    edtNotes->setObjectName(QStringLiteral("edtRecurringNotes"));
    spnEvery = new QSpinBox(this);
    spnEvery->setObjectName(QStringLiteral("spnRecurringEvery"));
    spnEvery->setRange(1, 999);
    spnEvery->setValue(entry.Schedule.Every);
    cboUnit = new QComboBox(this);
    cboUnit->setObjectName(QStringLiteral("cboRecurringUnit"));
    for (const TRepeatUnit unit :
         {TRepeatUnit::Days, TRepeatUnit::Weeks, TRepeatUnit::Months, TRepeatUnit::Years})
        cboUnit->addItem(unitText(unit, true));
    cboUnit->setCurrentIndex(int(entry.Schedule.Unit));
    dtpFirst = dateEdit(this, QStringLiteral("dtpRecurringFirst"));
    dtpFirst->setDate(entry.Schedule.First.isValid() ? entry.Schedule.First : QDate::currentDate());
    chkLast = new QCheckBox(tr("Until"), this);
    chkLast->setObjectName(QStringLiteral("chkRecurringLast"));
    chkLast->setChecked(entry.Schedule.Last.isValid());
    dtpLast = dateEdit(this, QStringLiteral("dtpRecurringLast"));
    dtpLast->setDate(entry.Schedule.Last.isValid() ? entry.Schedule.Last : dtpFirst->date());
    dtpLast->setEnabled(chkLast->isChecked());
    connect(chkLast, &QCheckBox::toggled, dtpLast, &QWidget::setEnabled);

    auto *every = new QHBoxLayout;
    every->addWidget(spnEvery);
    every->addWidget(cboUnit, 1);
    auto *last = new QHBoxLayout;
    last->addWidget(chkLast);
    last->addWidget(dtpLast, 1);
    form->addRow(tr("Type:"), cboType);
    form->addRow(tr("Category:"), cboCate);
    form->addRow(tr("Amount:"), edtAmount);
    form->addRow(tr("Notes:"), edtNotes);
    form->addRow(tr("Every:"), every);
    form->addRow(tr("First date:"), dtpFirst);
    form->addRow(tr("Last date:"), last);
    auto *buttons = new QHBoxLayout;
    QPushButton *ok = button(this, QStringLiteral("btnRecurringOk"), tr("OK"));
    QPushButton *cancel = button(this, QStringLiteral("btnRecurringCancel"), tr("Cancel"));
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    setLayout(form);
    resize(420, sizeHint().height());

    RunReported(owner, [&] { LoadCategories(); });
    cboCate->setEditText(entry.Category);
    connect(cboType, &QComboBox::currentIndexChanged, this, [this] {
        const QString typed = cboCate->currentText();
        RunReported(this, [&] { LoadCategories(); });
        cboCate->setEditText(typed);
    });
    connect(ok, &QPushButton::clicked, this, [this] { btnOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditRecurring::LoadCategories() {
    TBusyGuard busy;
    const QStringList items = FSession.DbMan->GetCategories(
        FSession.UserName,
        cboType->currentIndex() == 1 ? QStringLiteral("in") : QStringLiteral("out"));
    cboCate->clear();
    for (const QString &item : items)
        if (!item.trimmed().isEmpty())
            cboCate->addItem(item.trimmed());
    cboCate->setCurrentIndex(-1);
}

void TfrmEditRecurring::btnOkClick() {
    TRecurring entry = FEntry;
    entry.Type = cboType->currentIndex() == 1 ? TRecordType::Income : TRecordType::Expense;
    entry.Category = cboCate->currentText().trimmed();
    entry.Notes = edtNotes->text().trimmed();
    entry.Schedule.Every = spnEvery->value();
    entry.Schedule.Unit = TRepeatUnit(cboUnit->currentIndex());
    entry.Schedule.First = dtpFirst->date();
    entry.Schedule.Last = chkLast->isChecked() ? dtpLast->date() : QDate();
    QString problem;
    if (entry.Category.isEmpty())
        problem = tr("Please type a category.");
    else if (!IsAcceptableAmount(edtAmount->text(), &entry.Cents))
        problem = tr("\"%1\" cannot be read as an amount. Please type an amount such as 49.95.")
                      .arg(edtAmount->text());
    else if (entry.Schedule.Last.isValid() && entry.Schedule.Last < entry.Schedule.First)
        problem = tr("The last date is before the first date. Please choose a later last date.");
    if (!problem.isEmpty()) {
        ShowWarning(this, QStringLiteral("Ledgerly"), problem);
        return;
    }
    FEntry = entry;
    accept();
}

// --- the list -----------------------------------------------------------------------------

TfrmRecurring::TfrmRecurring(TSession &session, QWidget *owner)
    : QDialog(owner), FSession(session) {
    setObjectName(QStringLiteral("frmRecurring"));
    setWindowTitle(tr("Recurring Entries"));
    setSizeGripEnabled(true);
    const int width = 720, height = 360;
    resize(width, height);
    lvwRecurring = new QTreeView(this);
    lvwRecurring->setObjectName(QStringLiteral("lvwRecurring"));
    lvwRecurring->setGeometry(8, 8, width - 16, height - 52);
    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    FModel = new TTypedRowsModel<TRecurring>({{tr("Type"), 70, L},
                                              {tr("Category"), 110, L},
                                              {tr("Amount"), 70, R},
                                              {tr("Notes"), 140, L},
                                              {tr("Schedule"), 200, L},
                                              {tr("Next date"), 80, L}},
                                             recurringCell, lvwRecurring);
    SetupListView(lvwRecurring, FModel);
    btnRecurringAdd = button(this, QStringLiteral("btnRecurringAdd"), tr("Add..."));
    btnRecurringEdit = button(this, QStringLiteral("btnRecurringEdit"), tr("Edit..."));
    btnRecurringDelete = button(this, QStringLiteral("btnRecurringDelete"), tr("Delete"));
    btnClose = button(this, QStringLiteral("btnRecurringClose"), tr("Close"));
    int x = 8;
    for (QPushButton *b : {btnRecurringAdd, btnRecurringEdit, btnRecurringDelete}) {
        b->setGeometry(x, height - 36, 90, 28);
        x += 98;
    }
    btnClose->setGeometry(width - 98, height - 36, 90, 28);
    // The list grows with the window, the buttons stay below it.
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Pin(lvwRecurring, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QPushButton *b : {btnRecurringAdd, btnRecurringEdit, btnRecurringDelete})
        anchors.Pin(b, Qt::LeftEdge | Qt::BottomEdge);
    anchors.Pin(btnClose, Qt::RightEdge | Qt::BottomEdge);

    connect(btnRecurringAdd, &QPushButton::clicked, this, [this] { btnRecurringAddClick(); });
    connect(btnRecurringEdit, &QPushButton::clicked, this, [this] { btnRecurringEditClick(); });
    connect(btnRecurringDelete, &QPushButton::clicked, this, [this] { btnRecurringDeleteClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lvwRecurring, &QTreeView::doubleClicked, this, [this] { btnRecurringEditClick(); });
    connect(lvwRecurring->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateButtons(); });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(); });
    RunReported(owner, [&] { LoadEntries(); });
    UpdateButtons();
}

void TfrmRecurring::UpdateButtons() {
    const bool selected = SelectedRow(lvwRecurring) >= 0;
    btnRecurringEdit->setEnabled(selected);
    btnRecurringDelete->setEnabled(selected);
}

void TfrmRecurring::LoadEntries() {
    TBusyGuard busy;
    FModel->SetRows(FSession.DbMan->RecurringEntries(FSession.UserName));
}

void TfrmRecurring::btnRecurringAddClick() {
    RunReported(this, [&] {
        TRecurring entry;
        TfrmEditRecurring editor(FSession, entry, this);
        if (ExecDialog(&editor) != QDialog::Accepted)
            return;
        entry = editor.Entry();
        {
            TBusyGuard busy;
            entry.Id = FSession.DbMan->AddRecurring(FSession.UserName, entry);
        }
        if (FSession.Steps)
            FSession.Steps->Push(new TRecurringStep({}, entry));
        LoadEntries();
        SelectRow(lvwRecurring, FModel->Count() - 1);
    });
}

void TfrmRecurring::btnRecurringEditClick() {
    RunReported(this, [&] {
        const int row = SelectedRow(lvwRecurring);
        if (row < 0)
            return;
        const TRecurring before = FModel->At(row);
        TfrmEditRecurring editor(FSession, before, this);
        if (ExecDialog(&editor) != QDialog::Accepted)
            return;
        const TRecurring after = editor.Entry();
        if (after == before)
            return;
        {
            TBusyGuard busy;
            FSession.DbMan->UpdateRecurring(FSession.UserName, before, after);
        }
        if (FSession.Steps)
            FSession.Steps->Push(new TRecurringStep(before, after));
        LoadEntries();
        SelectRow(lvwRecurring, row);
    });
}

void TfrmRecurring::btnRecurringDeleteClick() {
    RunReported(this, [&] {
        const int row = SelectedRow(lvwRecurring);
        if (row < 0)
            return;
        const TRecurring entry = FModel->At(row);
        if (!AskQuestion(this, tr("You want to delete the recurring entry %1 %2?")
                                   .arg(CentsText(entry.Cents), entry.Category)))
            return;
        {
            TBusyGuard busy;
            FSession.DbMan->DeleteRecurring(FSession.UserName, entry);
        }
        if (FSession.Steps)
            FSession.Steps->Push(new TRecurringStep(entry, {}));
        LoadEntries();
    });
}

bool RepeatRecord(TSession &session, const TRecord &record, bool stored, QWidget *owner,
                  TRecurring *added) {
    bool done = false;
    RunReported(owner, [&] {
        TRecurring entry;
        entry.Type = record.Type;
        entry.Category = record.Category;
        entry.Cents = record.Cents;
        entry.Notes = record.Notes;
        entry.Schedule.First = record.Date;
        entry.Schedule.Every = 1;
        entry.Schedule.Unit = TRepeatUnit::Months;
        TfrmEditRecurring editor(session, entry, owner);
        if (ExecDialog(&editor) != QDialog::Accepted)
            return;
        entry = editor.Entry();
        // The stored record is this date's occurrence: booked already. (A
        // pending row is saved with its list.)
        if (stored && entry.Schedule.First == record.Date)
            entry.Booked = record.Date;
        {
            TBusyGuard busy;
            entry.Id = session.DbMan->AddRecurring(session.UserName, entry);
        }
        if (session.Steps)
            session.Steps->Push(new TRecurringStep({}, entry));
        if (added)
            *added = entry;
        done = true;
    });
    return done;
}
