#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/BusyGuard.h"
#include "forms/ErrorReport.h"
#include "forms/LoginForm.h"
#include "forms/NoAutoSelect.h"
#include "forms/RowsModel.h"
#include "forms/WindowFont.h"
#include "store/DataFile.h"
#include "store/KestrelClass.h"

#include "LedgerlyVersion.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QTimer>

#include "forms/AboutForm.h"
#include "skin/SkinClass.h"

namespace {

const QString kBackupFilter = QStringLiteral("*.ledgerly (*.ledgerly)");

// The menu opener's picture when the program's own bitmap is not available:
// the word Menu and a small downward triangle in `colour` on white.
QPixmap drawMenuPicture(const QColor &colour) {
    QPixmap picture(43, 13);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font = DefaultWindowFont();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(0, 0, 34, 13), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Menu"));
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({QPoint(35, 5), QPoint(42, 5), QPoint(38, 9)}));
    return picture;
}

QPixmap menuPicture(const QString &resource, const QColor &fallbackColour) {
    QPixmap picture(resource);
    return picture.isNull() ? drawMenuPicture(fallbackColour) : picture;
}

QString escapeMnemonics(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QAction *addItem(QMenu *menu, const QString &name, const QString &caption) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void addSeparator(QMenu *menu, const QString &name) {
    menu->addSeparator()->setObjectName(name);
}

QStringList textLines(const QString &text) {
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent, const QStringList &arguments)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmMain>()), FArguments(arguments) {
    StartNewInstance = [](const QString &params) {
        TKestrel::RunProgram(QCoreApplication::applicationFilePath(), params, QString(), 1);
    };
    ui->setupUi(this);
    setObjectName("frmMain");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFont(DefaultWindowFont());
    setFixedSize(700, 525);
    SetupComponents();
    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

// --- construction ---------------------------------------------------------------

void TfrmMain::SetupComponents() {
    ui->imgMenuUp->hide();
    ui->imgMenuDown->hide();
    ui->imgMenuUp->setPixmap(menuPicture(QStringLiteral(":/MENU_UP"), QColor(0, 0, 255)));
    ui->imgMenuDown->setPixmap(menuPicture(QStringLiteral(":/MENU_DOWN"), QColor(255, 0, 0)));
    ui->imgMenu->installEventFilter(this);

    ui->TabSet1->setShape(QTabBar::RoundedSouth);
    ui->TabSet1->setExpanding(false);
    ui->TabSet1->setDrawBase(false);
    ui->TabSet1->addTab(QStringLiteral("By the Day"));
    ui->TabSet1->addTab(QStringLiteral("By the Month"));
    ui->Splitter1->setSizes({162, 200});
    ui->Splitter3->setSizes({156, 200});

    for (QComboBox *combo : {ui->cboOutCate, ui->cboInCate})
        combo->setCompleter(nullptr);
    for (QLineEdit *edit : {ui->edtOutAmount, ui->edtOutNotes, ui->edtInAmount, ui->edtInNotes})
        TNoAutoSelect::Install(edit);

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName("SaveDialog1");
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName("OpenDialog1");
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::AnyFile);
    // The current folder is the program's own; the user's files are looked
    // for, and saved, under the home folder until another one is chosen.
    for (QFileDialog *dialog : {SaveDialog1, OpenDialog1})
        dialog->setDirectory(QDir::homePath());

    SetupLists();
    SetupMenus();
    ConnectHandlers();
    SetupTransactions();
    CreateEntryPanels();
}

void TfrmMain::SetupLists() {
    const Qt::Alignment L = Qt::AlignLeft, R = Qt::AlignRight;
    const QList<TListColumn> pending = {{"Date", 80, L},
                                        {"Type", 80, L},
                                        {"Category", 180, L},
                                        {"Amount", 80, R},
                                        {"Notes", 220, L}};
    SetupListView(ui->lvwOutRecs, new TRowsModel(pending, ui->lvwOutRecs));
    SetupListView(ui->lvwInRecs, new TRowsModel(pending, ui->lvwInRecs));
    SetupListView(
        ui->lvwDayTotal,
        new TRowsModel({{"Date", 220, L}, {"In", 210, R}, {"Out", 210, R}}, ui->lvwDayTotal));
    SetupListView(ui->lvwMonthTotal,
                  new TRowsModel({{"Month/Year", 220, L}, {"In", 210, R}, {"Out", 210, R}},
                                 ui->lvwMonthTotal));
    SetupListView(ui->lvwTrans, new TRowsModel({{"", 0, L},
                                                {"Date", 80, L},
                                                {"Category", 180, L},
                                                {"In", 80, R},
                                                {"Out", 80, R},
                                                {"Notes", 220, L}},
                                               ui->lvwTrans));
    ui->lvwTrans->setProperty("Tag", 0);
    SetupListView(ui->lvwInCates, new TRowsModel({{"Type", 80, L},
                                                  {"Category", 320, L},
                                                  {"Qty", 80, R},
                                                  {"In", 80, R},
                                                  {"0 - 100%", 80, R}},
                                                 ui->lvwInCates));
    SetupListView(ui->lvwOutCates, new TRowsModel({{"Type", 80, L},
                                                   {"Category", 320, L},
                                                   {"Qty", 80, R},
                                                   {"Out", 80, R},
                                                   {"0 - 100%", 80, R}},
                                                  ui->lvwOutCates));
}

void TfrmMain::SetupMenus() {
    mnuMenu = new QMenu(this);
    mnuMenu->setObjectName("mnuMenu");
    QAction *switchUser = addItem(mnuMenu, "mnuMenu_SwitchUser", "Switch User");
    addSeparator(mnuMenu, "mnuMenu_Separator0");
    QAction *setPwd = addItem(mnuMenu, "mnuMenu_SetPwd", "Set Password");
    QAction *deleteUser = addItem(mnuMenu, "mnuMenu_DeleteUser", "Delete ");
    addSeparator(mnuMenu, "mnuMenu_Separator1");
    QAction *backup = addItem(mnuMenu, "mnuMenu_Backup", "Backup");
    QAction *restore = addItem(mnuMenu, "mnuMenu_Restore", "Restore from Backup");
    addSeparator(mnuMenu, "mnuMenu_Separator2");
    QAction *about = addItem(mnuMenu, "mnuMenu_About", "About...");
    addSeparator(mnuMenu, "mnuMenu_Separator3");
    QAction *exitItem = addItem(mnuMenu, "mnuMenu_Exit", "Exit");

    // The default item is drawn bold.
    mnuMenu->setDefaultAction(switchUser);
    QFont bold = mnuMenu->font();
    bold.setBold(true);
    switchUser->setFont(bold);

    const auto guarded = [this](QAction *action, void (TfrmMain::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunGuarded([&] { (this->*handler)(); }); });
    };
    guarded(switchUser, &TfrmMain::mnuMenu_SwitchUserClick);
    guarded(setPwd, &TfrmMain::mnuMenu_SetPwdClick);
    guarded(deleteUser, &TfrmMain::mnuMenu_DeleteUserClick);
    guarded(backup, &TfrmMain::mnuMenu_BackupClick);
    guarded(restore, &TfrmMain::mnuMenu_RestoreClick);
    guarded(about, &TfrmMain::mnuMenu_AboutClick);
    guarded(exitItem, &TfrmMain::mnuMenu_ExitClick);

    // The export and print items are connected (and enabled) by their own units.
    mnuTransMenu = new QMenu(this);
    mnuTransMenu->setObjectName("mnuTransMenu");
    addItem(mnuTransMenu, "btnTransMore_ToXls", "Export to XLS")->setEnabled(false);
    addItem(mnuTransMenu, "btnTransMore_ToHtml", "Export to HTML")->setEnabled(false);
    addSeparator(mnuTransMenu, "btnTransMore_Separator");
    addItem(mnuTransMenu, "btnTransMore_Print", "Print")->setEnabled(false);

    mnuCatesExport = new QMenu(this);
    mnuCatesExport->setObjectName("mnuCatesExport");
    addItem(mnuCatesExport, "mnuCatesExport_ToXls", "Export to XLS")->setEnabled(false);
    addItem(mnuCatesExport, "mnuCatesExport_ToHtml", "Export to HTML")->setEnabled(false);
    ConnectExportMenus();
    ConnectPrintCommands();
}

void TfrmMain::ConnectHandlers() {
    for (QRadioButton *mode : {ui->rdoExpense, ui->rdoIncome, ui->rdoTransactions})
        connect(mode, &QRadioButton::toggled, this, [this] { rdoExpenseClick(); });
    for (QRadioButton *sub : {ui->rdoTransTransactions, ui->rdoTransCategories})
        connect(sub, &QRadioButton::toggled, this, [this] { rdoTransTransactionsClick(); });

    // Any change of a list's rows may change the buttons.
    for (QTreeView *list : {ui->lvwOutRecs, ui->lvwInRecs, ui->lvwDayTotal, ui->lvwMonthTotal,
                            ui->lvwTrans, ui->lvwInCates, ui->lvwOutCates}) {
        TRowsModel *model = ListModel(list);
        connect(model, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(); });
        connect(model, &QAbstractItemModel::rowsInserted, this, [this] { UpdateButtons(); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateButtons(); });
    }
    // lvwOutRecsSelectItem, lvwInRecsSelectItem: nothing but UpdateButtons.
    for (QTreeView *list : {ui->lvwOutRecs, ui->lvwInRecs})
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { UpdateButtons(); });
    connect(ui->lvwTrans->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { lvwTransSelectItem(); });

    connect(ui->cboOutCate, &QComboBox::editTextChanged, this, [this] { cboOutCateChange(); });
    connect(ui->edtOutAmount, &QLineEdit::textChanged, this, [this] { cboOutCateChange(); });
    connect(ui->cboInCate, &QComboBox::editTextChanged, this, [this] { cboInCateChange(); });
    connect(ui->edtInAmount, &QLineEdit::textChanged, this, [this] { cboInCateChange(); });

    connect(ui->dtpTransDate1, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(ui->dtpTransDate2, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(ui->TabSet1, &QTabBar::currentChanged, this, [this] { TabSet1Click(); });
    connect(ui->btnTransMore, &QPushButton::clicked, this, [this] { btnTransMoreClick(); });
    connect(ui->btnCatesExport, &QPushButton::clicked, this, [this] { btnCatesExportClick(); });
}

// --- creation and destruction ----------------------------------------------------

void TfrmMain::FormCreate() {
    SetApplicationTitle(QStringLiteral("Ledgerly"));
    setWindowTitle(ApplicationTitle());
    const QIcon icon(QStringLiteral(":/APP_ICON"));
    if (!icon.isNull()) {
        QApplication::setWindowIcon(icon);
        setWindowIcon(icon);
    }

    RunSignIn(DataFile, UserName);
    if (!QFileInfo::exists(DataFile) || UserName.isEmpty()) {
        // No user: the window is never shown and the program ends quietly.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }

    RunGuarded([&] { DbMan = std::make_unique<TDbMan>(DataFile); });
    if (!DbMan) {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }

    SetApplicationTitle(QStringLiteral("%1 - Username: %2").arg(ApplicationTitle(), UserName));
    setWindowTitle(ApplicationTitle());
    findChild<QAction *>("mnuMenu_DeleteUser")
        ->setText(QStringLiteral("Delete %1").arg(escapeMnemonics(UserName)));
    MarkedDate.clear();

    ui->rdoExpense->setChecked(true);
    rdoExpenseClick();
    ui->rdoTransTransactions->setChecked(true);
    rdoTransTransactionsClick();

    const QDate today = QDate::currentDate();
    ui->dtpOutDate->setDate(today);
    ui->dtpInDate->setDate(today);
    ui->dtpTransDate1->setDate(AddDays(today, 1 - DayOfMonth(today)));
    ui->dtpTransDate2->setDate(today);

    UpdatePendingTotal(ui->lvwOutRecs, ui->lblOutTotal);
    UpdatePendingTotal(ui->lvwInRecs, ui->lblInTotal);
    ShowPeriodTotals(0, 0);

    RunGuarded([&] {
        ui->cboOutCate->addItems(textLines(DbMan->GetCategories(UserName, QStringLiteral("out"))));
        ui->cboInCate->addItems(textLines(DbMan->GetCategories(UserName, QStringLiteral("in"))));
    });
    // Adding items must not fill the boxes: they start empty.
    ui->cboOutCate->setCurrentIndex(-1);
    ui->cboOutCate->setEditText(QString());
    ui->cboInCate->setCurrentIndex(-1);
    ui->cboInCate->setEditText(QString());

    UpdateButtons();
    cboOutCateChange();
    cboInCateChange();
    dtpTransDate1Change();
    TabSet1Click();
    SetMenuImage(true);

    SkinMan = std::make_unique<TSkinMan>(ui->imgLeft, ui->imgTop, ui->imgRight, ui->imgBottom,
                                         ui->pnlCenter);
    TKestrel::FlattenButtons(this);

    // The window appears (with its taskbar entry) once the event loop runs.
    QTimer::singleShot(0, this, [this] {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
        raise();
        activateWindow();
        if (!AutoBackupProblem.isEmpty()) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Backup"), AutoBackupProblem,
                            QMessageBox::Ok, this);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
    });
}

void TfrmMain::FormDestroy() {
    SkinMan.reset();
    DbMan.reset();
}

void TfrmMain::RunSignIn(QString &dataFile, QString &userName) {
    dataFile.clear();
    userName.clear();
    // Nothing of the main window is shown yet, so a failure is reported
    // without an owner.
    RunReported(nullptr, [&] {
        TfrmLogin login(nullptr, FArguments);
        if (login.exec() == QDialog::Accepted) {
            dataFile = login.FDataFile;
            userName = login.FUserName;
            AutoBackupProblem = login.FAutoBackupProblem;
        }
    });
}

// --- helpers ------------------------------------------------------------------------

void TfrmMain::RunGuarded(const std::function<void()> &body) {
    RunReported(this, body);
}

void TfrmMain::UpdateButtons() {
    const auto count = [](QTreeView *list) { return ListModel(list)->Count(); };
    const auto selected = [](QTreeView *list) { return SelectedRow(list) >= 0; };

    ui->btnOutSave->setEnabled(count(ui->lvwOutRecs) > 0);
    ui->btnOutEdit->setEnabled(selected(ui->lvwOutRecs));
    ui->btnOutDelete->setEnabled(selected(ui->lvwOutRecs));
    ui->btnInSave->setEnabled(count(ui->lvwInRecs) > 0);
    ui->btnInEdit->setEnabled(selected(ui->lvwInRecs));
    ui->btnInDelete->setEnabled(selected(ui->lvwInRecs));
    ui->btnTransMore->setEnabled(count(ui->lvwTrans) > 0);
    ui->btnTransEdit->setEnabled(selected(ui->lvwTrans));
    ui->btnTransDelete->setEnabled(selected(ui->lvwTrans));
    ui->btnMoreInfo->setEnabled(CurrentCatesList != nullptr);
    const bool anyCates = count(ui->lvwInCates) > 0 || count(ui->lvwOutCates) > 0;
    ui->btnCatesExport->setEnabled(anyCates);
    ui->btnCatesPrint->setEnabled(anyCates);
}

void TfrmMain::SetBusy(bool busy, QWidget *control) {
    TBusyGuard::SetBusy(busy, control);
}

void TfrmMain::CollectRows(QTreeView *list, TStringsArray &rows) {
    const TRowsModel *model = ListModel(list);
    for (const QStringList &row : model->Rows())
        rows.append(row);
}

void TfrmMain::SetMenuImage(bool up) {
    ui->imgMenu->setPixmap((up ? ui->imgMenuUp : ui->imgMenuDown)->pixmap());
}

QString TfrmMain::RunFileDialog(QFileDialog *dialog, const QString &filter) {
    dialog->setNameFilter(filter);
    const QString last = dialog->property("LastChosen").toString();
    if (!last.isEmpty())
        dialog->selectFile(last);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog->selectedFiles().constFirst();
    dialog->setProperty("LastChosen", chosen);
    return chosen;
}

bool TfrmMain::Ask(const QString &text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), text,
                    QMessageBox::Yes | QMessageBox::No, this);
    // A user name is shown as typed, never read as markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

bool TfrmMain::MayReplace(const QString &fileName) {
    if (!QFileInfo(fileName).exists())
        return true;
    return Ask(QStringLiteral("%1 already exists.\r\nDo you want to replace it?")
                   .arg(QDir::toNativeSeparators(fileName)));
}

void TfrmMain::Restart(const QString &params) {
    if (StartNewInstance)
        StartNewInstance(params);
    close();
}

// --- mode bar ---------------------------------------------------------------------------

void TfrmMain::rdoExpenseClick() {
    ui->pnlExpense->setVisible(ui->rdoExpense->isChecked());
    ui->pnlIncome->setVisible(ui->rdoIncome->isChecked());
    ui->pnlTransactions->setVisible(ui->rdoTransactions->isChecked());
}

void TfrmMain::rdoTransTransactionsClick() {
    ui->pnlTransTransactions->setVisible(ui->rdoTransTransactions->isChecked());
    ui->pnlTransCategories->setVisible(ui->rdoTransCategories->isChecked());
}

void TfrmMain::imgMenuMouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        SetMenuImage(false);
}

void TfrmMain::imgMenuMouseUp(Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    SetMenuImage(true);
    mnuMenu->popup(QCursor::pos());
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->imgMenu) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            imgMenuMouseDown(static_cast<QMouseEvent *>(event)->button());
            return true;
        case QEvent::MouseButtonRelease:
            imgMenuMouseUp(static_cast<QMouseEvent *>(event)->button());
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- account menu -------------------------------------------------------------------------

void TfrmMain::mnuMenu_SwitchUserClick() {
    if (!Ask(QStringLiteral("You want to switch user?")))
        return;
    Restart(QString());
}

void TfrmMain::mnuMenu_SetPwdClick() {
    QString password;
    for (;;) {
        QInputDialog dialog(this);
        dialog.setObjectName("dlgSetPassword");
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(QStringLiteral("Set Password"));
        dialog.setLabelText(QStringLiteral("Enter a new password:"));
        dialog.setTextValue(password);
        if (dialog.exec() != QDialog::Accepted)
            return;
        password = dialog.textValue().trimmed();
        if (!password.isEmpty())
            break;
    }
    {
        TBusyGuard busy;
        DbMan->SetPassword(UserName, password);
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Set Password"),
                    QStringLiteral("SUCCESS!"), QMessageBox::Ok, this);
    box.exec();
}

void TfrmMain::mnuMenu_DeleteUserClick() {
    if (!Ask(QStringLiteral("You want to delete %1?").arg(UserName)))
        return;
    {
        TBusyGuard busy;
        DbMan->DeleteUser(UserName);
    }
    Restart(QString());
}

void TfrmMain::mnuMenu_BackupClick() {
    QString fileName = RunFileDialog(SaveDialog1, kBackupFilter);
    if (fileName.isEmpty())
        return;
    if (!TDataFile::HasBackupExtension(fileName)) {
        fileName += QStringLiteral(".ledgerly");
        if (!MayReplace(fileName))
            return;
    }
    {
        // A consistent copy, checked before it replaces anything: success
        // is shown only for a complete backup.
        TBusyGuard busy;
        TDataFile(DataFile).Backup(fileName);
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Backup"), QStringLiteral("SUCCESS!"),
                    QMessageBox::Ok, this);
    box.exec();
}

void TfrmMain::mnuMenu_RestoreClick() {
    // The dialog starts among the automatic backups (then at the last file
    // chosen in it); without that folder it opens where it was.
    try {
        OpenDialog1->setDirectory(TDataFile(DataFile).BackupFolder());
    } catch (const std::exception &) {
    }
    const QString fileName = RunFileDialog(OpenDialog1, kBackupFilter);
    if (fileName.isEmpty())
        return;
    if (!QFileInfo(fileName).isFile() || !TDataFile::HasBackupExtension(fileName))
        return;
    // Refuse anything that is not a usable data file before the program
    // restarts with it, so the data in use is never replaced by it.
    QString problem;
    {
        TBusyGuard busy;
        problem = TDataFile::Problem(fileName);
    }
    if (!problem.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Restore from Backup"),
                        problem + QStringLiteral("\n\nNothing was restored."), QMessageBox::Ok,
                        this);
        box.setTextFormat(Qt::PlainText); // the file's name as it is
        box.exec();
        return;
    }
    // The new instance restores the file before anybody signs in, after
    // keeping the data file it replaces among the automatic backups. The
    // name goes in double quotes so that blanks survive; a double quote or
    // backslash inside it is escaped, so the new instance gets exactly this
    // name and never another file's.
    QString quoted = fileName;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    Restart(QStringLiteral("\"%1\"").arg(quoted));
}

void TfrmMain::mnuMenu_AboutClick() {
    TfrmAbout about(this);
    about.ProductName = QStringLiteral("Ledgerly");
    about.ProductVersion = QStringLiteral(LEDGERLY_VERSION);
    about.exec();
}

void TfrmMain::mnuMenu_ExitClick() {
    close();
}
