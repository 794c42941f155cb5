#include "forms/ImportForm.h"
#include "ui_ImportForm.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/EntryPanel.h"
#include "forms/ErrorReport.h"
#include "forms/FlatButtons.h"
#include "forms/ImportRowsModel.h"
#include "forms/RowsModel.h"
#include "forms/Session.h"
#include "forms/StatementImport.h"
#include "forms/WindowFont.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("Import Statement");

QString Quoted(const QString &text) {
    return QStringLiteral("\u201C%1\u201D").arg(text);
}

QString EncodingText(TTextEncoding encoding) {
    switch (encoding) {
    case TTextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TTextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
        break;
    }
    return QStringLiteral("UTF-16");
}

QString FormatText(TStatementFormat format) {
    switch (format) {
    case TStatementFormat::Ofx:
        return QStringLiteral("OFX");
    case TStatementFormat::Qif:
        return QStringLiteral("QIF");
    case TStatementFormat::Csv:
        break;
    }
    return QStringLiteral("CSV");
}

// The categories of a stored list that can be chosen: trimmed, without
// empty ones and repeats.
QStringList CategoryItems(const QStringList &stored) {
    QStringList items;
    for (const QString &item : stored)
        if (!item.trimmed().isEmpty() && !items.contains(item.trimmed(), Qt::CaseInsensitive))
            items << item.trimmed();
    return items;
}

// Selects the item whose data is `value`, or none.
void SelectData(QComboBox *box, const QVariant &value) {
    box->setCurrentIndex(box->findData(value));
}

QString ProblemCell(const TStatementProblem &problem, int subItem) {
    if (subItem == 0)
        return problem.Line > 0 ? QString::number(problem.Line) : QString();
    return problem.Reason;
}

QString RuleTypeText(TRuleType type) {
    switch (type) {
    case TRuleType::Income:
        return QStringLiteral("Money in");
    case TRuleType::Both:
        return QStringLiteral("Both");
    case TRuleType::Expense:
        break;
    }
    return QStringLiteral("Money out");
}

QString RuleCell(const TCategoryRule &rule, int subItem) {
    return subItem == 0 ? rule.Text : subItem == 1 ? rule.Category : RuleTypeText(rule.Type);
}

} // namespace

TfrmImport::TfrmImport(TSession &session, TEntryPanel *expense, TEntryPanel *income,
                       QFileDialog *fileDialog, QWidget *owner)
    : QDialog(owner), FSession(session), FExpense(expense), FIncome(income),
      FFileDialog(fileDialog), ui(std::make_unique<Ui::TfrmImport>()) {
    ui->setupUi(this);
    setObjectName("frmImport");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(DefaultWindowFont());
    // As the window grows, the file box, the notice and the table of lines
    // widen, the table takes the new height, the tabs under it keep to the
    // bottom and the buttons by the right edge to that edge; the rows of
    // choices stay.
    const Qt::Edges T = Qt::TopEdge, B = Qt::BottomEdge, Lt = Qt::LeftEdge, Rt = Qt::RightEdge;
    TAnchors &anchors = TAnchors::Of(this);
    anchors.Pin(ui->bvlRect, Lt | T | Rt | B)
        .Pin(ui->edtImportFile, Lt | T | Rt)
        .Pin(ui->lblImportFormat, Lt | T | Rt)
        .Pin(ui->lblImportNotice, Lt | T | Rt)
        .Pin(ui->lvwImport, Lt | T | Rt | B)
        .Pin(ui->tabImport, Lt | Rt | B)
        .Pin(ui->lblImportSummary, Lt | Rt | B);
    for (QWidget *button : {ui->btnImportBrowse, ui->btnImportTickAll, ui->btnImportTickNone})
        anchors.Pin(button, T | Rt);
    for (QWidget *button : {ui->btnImportAdd, ui->btnImportClose})
        anchors.Pin(button, Rt | B);
    // The pages of the tabs widen with the tabs: the lists grow, the rule
    // editor keeps to the right.
    TAnchors::Of(ui->tabImportProblems, ui->tabImport).Pin(ui->lvwImportProblems, Lt | T | Rt);
    TAnchors &rules = TAnchors::Of(ui->tabImportRules, ui->tabImport);
    rules.Pin(ui->lvwImportRules, Lt | T | Rt);
    for (QWidget *editor : std::initializer_list<QWidget *>{
             ui->lblImportRuleText, ui->edtImportRuleText, ui->lblImportRuleCate,
             ui->cboImportRuleCate, ui->lblImportRuleType, ui->cboImportRuleType,
             ui->btnImportRuleAdd, ui->btnImportRuleDelete, ui->btnImportRuleUp,
             ui->btnImportRuleDown})
        rules.Pin(editor, T | Rt);
    FImport = std::make_unique<TStatementImport>(*FSession.DbMan, FSession.UserName);

    FModel = new TImportRowsModel(*FImport, this);
    SetupListView(ui->lvwImport, FModel);
    // Several lines can be given one category; a category is typed in place.
    ui->lvwImport->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui->lvwImport->setEditTriggers(QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed);
    FProblems =
        new TTypedRowsModel<TStatementProblem>({{QStringLiteral("Line"), 50, Qt::AlignRight},
                                                {QStringLiteral("Reason"), 660, Qt::AlignLeft}},
                                               ProblemCell, this);
    SetupListView(ui->lvwImportProblems, FProblems);
    FRules = new TTypedRowsModel<TCategoryRule>(
        {{QStringLiteral("Payee or memo contains"), 170, Qt::AlignLeft},
         {QStringLiteral("Category"), 130, Qt::AlignLeft},
         {QStringLiteral("For"), 70, Qt::AlignLeft}},
        RuleCell, this);
    SetupListView(ui->lvwImportRules, FRules);
    for (TRuleType type : {TRuleType::Expense, TRuleType::Income, TRuleType::Both})
        ui->cboImportRuleType->addItem(RuleTypeText(type), int(type));
    ui->cboImportCate->setCompleter(nullptr);
    ui->cboImportRuleCate->setCompleter(nullptr);

    ui->cboImportDelimiter->addItem(QStringLiteral(","), QChar(u','));
    ui->cboImportDelimiter->addItem(QStringLiteral(";"), QChar(u';'));
    ui->cboImportDelimiter->addItem(QStringLiteral("Tab"), QChar(u'\t'));
    ui->cboImportDelimiter->addItem(QStringLiteral("|"), QChar(u'|'));
    ui->cboImportDateOrder->addItem(QStringLiteral("(choose)"), int(TDateOrder::Unknown));
    for (TDateOrder order :
         {TDateOrder::YearMonthDay, TDateOrder::MonthDayYear, TDateOrder::DayMonthYear})
        ui->cboImportDateOrder->addItem(DateOrderText(order), int(order));

    // Every layout choice reads the file again. One amount column and the
    // two columns of money out and in exclude each other.
    const auto changed = [this] {
        if (!FFilling)
            RunReported(this, [this] { LayoutChange(); });
    };
    for (QComboBox *box : {ui->cboImportDelimiter, ui->cboImportDateOrder, ui->cboImportDateCol,
                           ui->cboImportPayeeCol, ui->cboImportMemoCol})
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    connect(ui->cboImportAmountCol, &QComboBox::currentIndexChanged, this, [this, changed] {
        if (!FFilling && ui->cboImportAmountCol->currentData().toInt() >= 0) {
            FFilling = true;
            SelectData(ui->cboImportDebitCol, -1);
            SelectData(ui->cboImportCreditCol, -1);
            FFilling = false;
        }
        changed();
    });
    for (QComboBox *box : {ui->cboImportDebitCol, ui->cboImportCreditCol})
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, changed] {
            if (!FFilling && box->currentData().toInt() >= 0) {
                FFilling = true;
                SelectData(ui->cboImportAmountCol, -1);
                FFilling = false;
            }
            changed();
        });
    connect(ui->spnImportSkip, &QSpinBox::valueChanged, this, changed);
    for (QCheckBox *box :
         {ui->chkImportHeader, ui->chkImportDecimalComma, ui->chkImportOutPositive})
        connect(box, &QCheckBox::toggled, this, changed);
    connect(ui->cboImportProfile, &QComboBox::currentIndexChanged, this, [this] {
        if (!FFilling)
            RunReported(this, [this] { cboImportProfileChange(); });
    });

    const auto click = [this](QPushButton *button, auto handler) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { RunReported(this, handler); });
    };
    click(ui->btnImportBrowse, [this] { btnImportBrowseClick(); });
    click(ui->btnImportProfileSave, [this] { btnImportProfileSaveClick(); });
    click(ui->btnImportProfileDelete, [this] { btnImportProfileDeleteClick(); });
    click(ui->btnImportSetCate, [this] { btnImportSetCateClick(); });
    click(ui->btnImportTickAll, [this] { btnImportTickClick(true); });
    click(ui->btnImportTickNone, [this] { btnImportTickClick(false); });
    click(ui->btnImportRuleAdd, [this] { btnImportRuleAddClick(); });
    click(ui->btnImportRuleDelete, [this] { btnImportRuleDeleteClick(); });
    click(ui->btnImportRuleUp, [this] { btnImportRuleMoveClick(-1); });
    click(ui->btnImportRuleDown, [this] { btnImportRuleMoveClick(1); });
    click(ui->btnImportAdd, [this] { btnImportAddClick(); });
    connect(ui->btnImportClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(FModel, &QAbstractItemModel::dataChanged, this, [this] { UpdateSummary(); });
    connect(ui->lvwImport->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateSummary(); });
    connect(ui->lvwImportRules->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateSummary(); });
    connect(ui->edtImportRuleText, &QLineEdit::textChanged, this, [this] { UpdateSummary(); });
    connect(ui->cboImportRuleCate, &QComboBox::editTextChanged, this, [this] { UpdateSummary(); });

    FillCategoryBoxes();
    ShowLayout();
    ShowRows();
    FlattenButtons(this);
}

TfrmImport::~TfrmImport() = default;

QWidget *TfrmImport::MessageOwner() {
    return isVisible() || !parentWidget() ? this : parentWidget();
}

QList<TRecord> TfrmImport::PendingRows() const {
    QList<TRecord> rows;
    for (const TEntryPanel *panel : {FExpense, FIncome})
        if (panel)
            rows << panel->Pending();
    return rows;
}

// --- reading ------------------------------------------------------------------------------

bool TfrmImport::OpenFile(const QString &path) {
    bool opened = false;
    RunReported(MessageOwner(), [&] {
        {
            TBusyGuard busy;
            try {
                FImport->Open(path);
            } catch (const TImportError &error) {
                busy.Release();
                ShowWarning(
                    MessageOwner(), kCaption,
                    QStringLiteral("%1 cannot be imported. %2\n\nNothing was added.")
                        .arg(Quoted(QFileInfo(path).fileName()), QString::fromUtf8(error.what())));
                return;
            }
        }
        TStatementLayout layout = FImport->Layout();
        if (layout.DateOrder == TDateOrder::Unknown && !FImport->Guess().DateOrders.isEmpty())
            layout.DateOrder = AskDateOrder();
        ReadWith(layout);
        opened = true;
    });
    return opened;
}

TDateOrder TfrmImport::AskDateOrder() {
    const QList<TDateOrder> &orders = FImport->Guess().DateOrders;
    QStringList names;
    for (TDateOrder order : orders)
        names << DateOrderText(order);
    const int chosen = TDialogs::Current().Choose(
        MessageOwner(), QStringLiteral("?"),
        QStringLiteral("Every date in %1 fits %2. In which order does the file write day, month "
                       "and year?")
            .arg(Quoted(QFileInfo(FImport->Path()).fileName()),
                 names.join(QStringLiteral(" and "))),
        names);
    return chosen >= 0 ? orders.at(chosen) : TDateOrder::Unknown;
}

void TfrmImport::ReadWith(const TStatementLayout &layout) {
    ReadStatement([&] { FImport->Read(layout, PendingRows()); });
}

void TfrmImport::ReadProfile(const QString &name) {
    ReadStatement([&] { FImport->ReadProfile(name, PendingRows()); });
}

void TfrmImport::ReadStatement(const std::function<void()> &read) {
    TBusyGuard busy;
    FReadError.clear();
    FModel->Reload([&] {
        try {
            read();
        } catch (const TImportError &error) {
            FReadError = QString::fromUtf8(error.what());
        }
    });
    ShowLayout();
    ShowRows();
}

QStringList TfrmImport::StatementFilters() {
    return {QStringLiteral("Statements (*.csv *.txt *.ofx *.qfx *.qif)"),
            QStringLiteral("All files (*)")};
}

void TfrmImport::btnImportBrowseClick() {
    const QString path = RunFileDialog(FFileDialog, StatementFilters(), nullptr);
    if (!path.isEmpty())
        OpenFile(path);
}

void TfrmImport::LayoutChange() {
    if (FImport->IsOpen())
        ReadWith(LayoutOfControls());
}

TStatementLayout TfrmImport::LayoutOfControls() const {
    TStatementLayout layout = FImport->Layout();
    layout.DateOrder = TDateOrder(ui->cboImportDateOrder->currentData().toInt());
    layout.DecimalComma = ui->chkImportDecimalComma->isChecked();
    if (layout.Format != TStatementFormat::Csv)
        return layout;
    layout.Delimiter = ui->cboImportDelimiter->currentData().toChar();
    layout.SkipLines = ui->spnImportSkip->value();
    layout.HasHeader = ui->chkImportHeader->isChecked();
    const auto column = [](const QComboBox *box) {
        return box->currentIndex() < 0 ? -1 : box->currentData().toInt();
    };
    layout.DateColumn = column(ui->cboImportDateCol);
    layout.AmountColumn = column(ui->cboImportAmountCol);
    layout.DebitColumn = column(ui->cboImportDebitCol);
    layout.CreditColumn = column(ui->cboImportCreditCol);
    layout.PayeeColumn = column(ui->cboImportPayeeCol);
    layout.MemoColumn = column(ui->cboImportMemoCol);
    layout.MoneyOutPositive = ui->chkImportOutPositive->isChecked();
    return layout;
}

// --- showing ------------------------------------------------------------------------------

void TfrmImport::ShowLayout() {
    FFilling = true;
    const auto done = qScopeGuard([this] { FFilling = false; });
    const TStatementLayout &layout = FImport->Layout();
    const bool open = FImport->IsOpen();
    const bool csv = open && layout.Format == TStatementFormat::Csv;
    const bool dated = open && layout.Format != TStatementFormat::Ofx;

    ui->edtImportFile->setText(QDir::toNativeSeparators(FImport->Path()));
    ui->lblImportFormat->setText(
        open ? QStringLiteral("Format: %1, %2")
                   .arg(FormatText(layout.Format), EncodingText(layout.Encoding))
             : QStringLiteral("Format:"));

    ui->cboImportProfile->clear();
    ui->cboImportProfile->addItem(QStringLiteral("(this file's layout)"), QString());
    for (const TBankProfile &profile : FImport->Profiles())
        ui->cboImportProfile->addItem(profile.Name, profile.Name);
    SelectData(ui->cboImportProfile, FImport->Profile());
    if (ui->cboImportProfile->currentIndex() < 0)
        ui->cboImportProfile->setCurrentIndex(0);

    SelectData(ui->cboImportDelimiter, layout.Delimiter);
    ui->spnImportSkip->setValue(layout.SkipLines);
    ui->chkImportHeader->setChecked(layout.HasHeader);
    SelectData(ui->cboImportDateOrder, int(layout.DateOrder));
    ui->chkImportDecimalComma->setChecked(layout.DecimalComma);
    ui->chkImportOutPositive->setChecked(layout.MoneyOutPositive);

    // The columns of the file, and any column a kept layout names beyond them.
    QStringList columns = FImport->Columns();
    for (int c : {layout.DateColumn, layout.AmountColumn, layout.DebitColumn, layout.CreditColumn,
                  layout.PayeeColumn, layout.MemoColumn})
        while (c >= columns.size())
            columns << QStringLiteral("Column %1").arg(columns.size() + 1);
    const std::pair<QComboBox *, int> boxes[] = {
        {ui->cboImportDateCol, layout.DateColumn},   {ui->cboImportAmountCol, layout.AmountColumn},
        {ui->cboImportDebitCol, layout.DebitColumn}, {ui->cboImportCreditCol, layout.CreditColumn},
        {ui->cboImportPayeeCol, layout.PayeeColumn}, {ui->cboImportMemoCol, layout.MemoColumn}};
    for (const auto &[box, selected] : boxes) {
        box->clear();
        box->addItem(QStringLiteral("(none)"), -1);
        for (int c = 0; c < columns.size(); ++c)
            box->addItem(columns[c], c);
        SelectData(box, csv ? selected : -1);
    }

    for (QWidget *w :
         {static_cast<QWidget *>(ui->cboImportProfile),
          static_cast<QWidget *>(ui->btnImportProfileSave),
          static_cast<QWidget *>(ui->cboImportDelimiter), static_cast<QWidget *>(ui->spnImportSkip),
          static_cast<QWidget *>(ui->chkImportHeader), static_cast<QWidget *>(ui->cboImportDateCol),
          static_cast<QWidget *>(ui->cboImportAmountCol),
          static_cast<QWidget *>(ui->cboImportDebitCol),
          static_cast<QWidget *>(ui->cboImportCreditCol),
          static_cast<QWidget *>(ui->cboImportPayeeCol),
          static_cast<QWidget *>(ui->cboImportMemoCol),
          static_cast<QWidget *>(ui->chkImportOutPositive)})
        w->setEnabled(csv);
    ui->btnImportProfileDelete->setEnabled(csv && !FImport->Profile().isEmpty());
    ui->cboImportDateOrder->setEnabled(dated);
    ui->chkImportDecimalComma->setEnabled(dated);
}

void TfrmImport::ShowRows() {
    FProblems->SetRows(FImport->Problems());
    ui->tabImport->setTabText(
        0, FImport->Problems().isEmpty()
               ? QStringLiteral("Problems")
               : QStringLiteral("Problems (%1)").arg(FImport->Problems().size()));
    FRules->SetRows(FImport->Rules());

    QStringList notes;
    const TStatementGuess &guess = FImport->Guess();
    const TStatementLayout &layout = FImport->Layout();
    if (!FReadError.isEmpty()) {
        notes << QStringLiteral("Nothing was read: %1").arg(FReadError);
    } else if (!FImport->Profile().isEmpty()) {
        notes << QStringLiteral("Read with the bank profile %1.").arg(Quoted(FImport->Profile()));
    } else if (FImport->IsOpen() && layout.AmountColumn == guess.Layout.AmountColumn &&
               layout.DebitColumn == guess.Layout.DebitColumn &&
               layout.MoneyOutPositive == guess.Layout.MoneyOutPositive) {
        // What the guess leaves to the user, while its amount choices stand.
        // The date order was asked already (it is the first question).
        QStringList questions = guess.Questions;
        if (guess.Layout.DateOrder == TDateOrder::Unknown && !questions.isEmpty())
            questions.removeFirst();
        notes << questions << guess.Warnings;
    }
    if (FImport->IsOpen() && FReadError.isEmpty() && FImport->Rows().isEmpty()) {
        const QList<TStatementProblem> &problems = FImport->Problems();
        notes << (problems.size() == 1 && problems.first().Reason == kNoStatementEntries
                      ? QStringLiteral("%1 Nothing can be added.").arg(kNoStatementEntries)
                      : QStringLiteral("No entry of the file could be read (see Problems)."));
    }
    ui->lblImportNotice->setText(notes.join(u' '));
    UpdateSummary();
}

void TfrmImport::UpdateSummary() {
    const int lines = int(FImport->Rows().size());
    const int ticked = FImport->TickedCount();
    const int missing = FImport->TickedWithoutCategory();
    int duplicates = 0;
    for (const TImportRow &row : FImport->Rows())
        duplicates += row.Duplicate.Kind != TDuplicateKind::None;
    QString text;
    if (FImport->IsOpen()) {
        text = QStringLiteral("%1 lines, %2 ticked, %3 duplicates, %4 problems.")
                   .arg(lines)
                   .arg(ticked)
                   .arg(duplicates)
                   .arg(FImport->Problems().size());
        if (missing > 0)
            text += QStringLiteral(" Choose a category for %1 ticked %2.")
                        .arg(missing)
                        .arg(missing == 1 ? QStringLiteral("line") : QStringLiteral("lines"));
    }
    ui->lblImportSummary->setText(text);
    // A line without a category cannot be added: Add waits until every
    // ticked line has one.
    ui->btnImportAdd->setEnabled(ticked > 0 && missing == 0);
    const bool selected = ui->lvwImport->selectionModel()->hasSelection();
    ui->btnImportSetCate->setEnabled(selected);
    ui->btnImportTickAll->setEnabled(lines > 0);
    ui->btnImportTickNone->setEnabled(lines > 0);
    const int rule = SelectedRow(ui->lvwImportRules);
    ui->btnImportRuleAdd->setEnabled(!ui->edtImportRuleText->text().trimmed().isEmpty() &&
                                     !ui->cboImportRuleCate->currentText().trimmed().isEmpty());
    ui->btnImportRuleDelete->setEnabled(rule >= 0);
    ui->btnImportRuleUp->setEnabled(rule > 0);
    ui->btnImportRuleDown->setEnabled(rule >= 0 && rule + 1 < FImport->Rules().size());
}

void TfrmImport::FillCategoryBoxes() {
    QStringList items =
        CategoryItems(FSession.DbMan->GetCategories(FSession.UserName, QStringLiteral("out")));
    for (const QString &item :
         CategoryItems(FSession.DbMan->GetCategories(FSession.UserName, QStringLiteral("in"))))
        if (!items.contains(item, Qt::CaseInsensitive))
            items << item;
    for (QComboBox *box : {ui->cboImportCate, ui->cboImportRuleCate}) {
        box->addItems(items);
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
}

// --- profiles -----------------------------------------------------------------------------

void TfrmImport::cboImportProfileChange() {
    const QString name = ui->cboImportProfile->currentData().toString();
    if (!name.isEmpty()) {
        ReadProfile(name);
        return;
    }
    // Back to what the file itself shows; a date order chosen stays.
    TStatementLayout layout = FImport->Guess().Layout;
    if (layout.DateOrder == TDateOrder::Unknown)
        layout.DateOrder = FImport->Layout().DateOrder;
    ReadWith(layout);
}

void TfrmImport::btnImportProfileSaveClick() {
    if (!FImport->IsOpen() || FImport->Layout().Format != TStatementFormat::Csv)
        return;
    QString name = FImport->Profile();
    if (!AskText(this, QStringLiteral("dlgImportProfile"), QStringLiteral("Keep Layout"),
                 QStringLiteral("Name of the bank profile:"), name))
        return;
    bool exists = false;
    for (const TBankProfile &profile : FImport->Profiles())
        exists = exists || profile.Name == name;
    if (exists && name != FImport->Profile() &&
        !AskQuestion(this, QStringLiteral("There is a bank profile %1 already. Do you want to "
                                          "replace it?")
                               .arg(Quoted(name))))
        return;
    {
        TBusyGuard busy;
        FImport->KeepProfile(name);
    }
    ShowLayout();
    ShowRows();
}

void TfrmImport::btnImportProfileDeleteClick() {
    const QString name = FImport->Profile();
    if (name.isEmpty() ||
        !AskQuestion(this,
                     QStringLiteral("You want to delete the bank profile %1?").arg(Quoted(name))))
        return;
    {
        TBusyGuard busy;
        FImport->DeleteProfile(name);
    }
    ShowLayout();
    ShowRows();
}

// --- lines --------------------------------------------------------------------------------

void TfrmImport::btnImportSetCateClick() {
    const QString category = ui->cboImportCate->currentText().trimmed();
    const QModelIndexList rows = ui->lvwImport->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows)
        FImport->SetCategory(row.row(), category);
    FModel->Refresh();
}

void TfrmImport::btnImportTickClick(bool ticked) {
    for (int row = 0; row < FImport->Rows().size(); ++row)
        FImport->SetTicked(row, ticked);
    FModel->Refresh();
}

void TfrmImport::btnImportAddClick() {
    if (FImport->TickedCount() == 0 || FImport->TickedWithoutCategory() > 0)
        return;
    const QList<TRecord> expenses = FImport->Records(TRecordType::Expense);
    const QList<TRecord> income = FImport->Records(TRecordType::Income);
    FExpense->AppendPending(expenses);
    FIncome->AppendPending(income);
    accept();
}

// --- rules --------------------------------------------------------------------------------

void TfrmImport::btnImportRuleAddClick() {
    const QString text = ui->edtImportRuleText->text().trimmed();
    const QString category = ui->cboImportRuleCate->currentText().trimmed();
    if (text.isEmpty() || category.isEmpty())
        return;
    QList<TCategoryRule> rules = FImport->Rules();
    rules << TCategoryRule{text, category, TRuleType(ui->cboImportRuleType->currentData().toInt())};
    {
        TBusyGuard busy;
        FImport->KeepRules(rules);
    }
    ui->edtImportRuleText->clear();
    ui->cboImportRuleCate->setEditText(QString());
    FModel->Refresh();
    ShowRows();
    SelectRow(ui->lvwImportRules, int(rules.size()) - 1);
}

void TfrmImport::btnImportRuleDeleteClick() {
    const int rule = SelectedRow(ui->lvwImportRules);
    if (rule < 0)
        return;
    QList<TCategoryRule> rules = FImport->Rules();
    rules.removeAt(rule);
    {
        TBusyGuard busy;
        FImport->KeepRules(rules);
    }
    FModel->Refresh();
    ShowRows();
}

void TfrmImport::btnImportRuleMoveClick(int by) {
    const int rule = SelectedRow(ui->lvwImportRules);
    QList<TCategoryRule> rules = FImport->Rules();
    if (rule < 0 || rule + by < 0 || rule + by >= rules.size())
        return;
    rules.swapItemsAt(rule, rule + by);
    {
        TBusyGuard busy;
        FImport->KeepRules(rules);
    }
    FModel->Refresh();
    ShowRows();
    SelectRow(ui->lvwImportRules, rule + by);
}
