#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/Anchors.h"
#include "forms/BudgetsForm.h"
#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/EntryPanel.h"
#include "forms/ErrorReport.h"
#include "forms/FlatButtons.h"
#include "forms/ImportForm.h"
#include "forms/RecurringForm.h"
#include "forms/TransactionsPanel.h"
#include "forms/UndoCommands.h"
#include "forms/WindowFont.h"
#include "store/DataFile.h"

#include "LedgerlyVersion.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QSettings>
#include <QUndoStack>

#include "forms/AboutForm.h"
#include "skin/ScreenPicture.h"
#include "skin/SkinClass.h"

namespace {

const QString kBackupFilter = QStringLiteral("*.ledgerly (*.ledgerly)");

// The window's size when nothing is kept for the user: every control stands
// where the form places it.
constexpr QSize kDefaultSize(700, 525);

// The group of the user's window place in the program's settings. The
// settings file lies outside the book's private folder, so the names of the
// book's users are not written there as they are: a user is known by the
// start of the SHA-256 of the name.
QString PlaceGroup(const QString &userName) {
    const QByteArray hash = QCryptographicHash::hash(userName.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("MainWindow/") + QString::fromLatin1(hash.toHex().left(16));
}

// The menu opener's picture when the program's own bitmap is not available:
// the word Menu and a small downward triangle in `colour` on white.
QPixmap drawMenuPicture(const QColor &colour) {
    QPixmap picture(43, 13);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font = DefaultWindowFont();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(0, 0, 34, 13), Qt::AlignLeft | Qt::AlignVCenter, TfrmMain::tr("Menu"));
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({QPoint(35, 5), QPoint(42, 5), QPoint(38, 9)}));
    return picture;
}

QPixmap menuPicture(const QString &resource, const QColor &fallbackColour) {
    QPixmap picture = TScreenPicture::Pixmap(resource, qGuiApp->devicePixelRatio());
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

} // namespace

TfrmMain::TfrmMain(TSession session, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmMain>()), FSession(std::move(session)) {
    ui->setupUi(this);
    setObjectName("frmMain");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFont(DefaultWindowFont());
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

    FSession.SaveDialog1 = new QFileDialog(this);
    FSession.SaveDialog1->setObjectName("SaveDialog1");
    FSession.SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName("OpenDialog1");
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    ImportDialog1 = new QFileDialog(this);
    ImportDialog1->setObjectName("ImportDialog1");
    ImportDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    for (QFileDialog *dialog : {FSession.SaveDialog1, OpenDialog1, ImportDialog1}) {
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The current folder is the program's own; the user's files are
        // looked for, and saved, under the home folder until another one is
        // chosen.
        dialog->setDirectory(QDir::homePath());
    }
    ImportDialog1->setFileMode(QFileDialog::ExistingFile);

    // The steps of the session, there before any panel can change the book.
    FSteps = new TUndoSteps(FSession, this);
    FSession.Steps = FSteps;
    connect(FSteps, &TUndoSteps::BookChanged, this, [this] { ShowBookAgain(); });
    connect(FSteps->Stack(), &QUndoStack::indexChanged, this, [this] { UpdateUndoItems(); });

    // The panels lie on top of each other under the mode bar; the mode
    // buttons show one of them.
    FOutPanel = new TEntryPanel(FSession, TEntryPanelKind::Expense(), ui->pnlCenter);
    FInPanel = new TEntryPanel(FSession, TEntryPanelKind::Income(), ui->pnlCenter);
    FTransPanel = new TTransactionsPanel(FSession, ui->pnlCenter);
    // As the window grows, the mode bar widens, the menu picture stays at
    // its right end and the panels take the rest.
    TAnchors &centre = TAnchors::Of(ui->pnlCenter);
    centre.Pin(ui->pnlControl, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    for (QWidget *panel : Panels()) {
        panel->setGeometry(0, 38, 696, 445);
        centre.Pin(panel, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    }
    TAnchors &bar = TAnchors::Of(ui->pnlControl);
    for (QWidget *line : {ui->shpTop1, ui->shpTop2, ui->shpTop3})
        bar.Pin(line, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    bar.Pin(ui->imgMenu, Qt::TopEdge | Qt::RightEdge);
    // The find box stands in the mode bar, where it has room to grow and is
    // at hand from every panel; the Transactions panel runs it.
    QLineEdit *findBox = FTransPanel->FindBox();
    findBox->setParent(ui->pnlControl);
    findBox->setGeometry(420, 8, 200, 21);
    findBox->show();
    bar.Pin(findBox, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    connect(findBox, &QLineEdit::returnPressed, this,
            [this] { ui->rdoTransactions->setChecked(true); });
    for (QRadioButton *mode : {ui->rdoExpense, ui->rdoIncome, ui->rdoTransactions})
        connect(mode, &QRadioButton::toggled, this, [this] { rdoExpenseClick(); });
    // Ctrl+F from anywhere in the window: the Transactions panel's find box.
    auto *find = new QAction(this);
    find->setObjectName("actFind");
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        ui->rdoTransactions->setChecked(true);
        FTransPanel->FocusFind();
    });
    SetupMenus();
}

void TfrmMain::SetupMenus() {
    mnuMenu = new QMenu(this);
    mnuMenu->setObjectName("mnuMenu");
    // Undo and Redo name their step; their keys work while the menu is closed.
    QAction *undo = addItem(mnuMenu, "mnuMenu_Undo", tr("Undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = addItem(mnuMenu, "mnuMenu_Redo", tr("Redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    addSeparator(mnuMenu, "mnuMenu_SeparatorUndo");
    QAction *switchUser = addItem(mnuMenu, "mnuMenu_SwitchUser", tr("Switch User"));
    addSeparator(mnuMenu, "mnuMenu_Separator0");
    QAction *setPwd = addItem(mnuMenu, "mnuMenu_SetPwd", tr("Set Password"));
    QAction *deleteUser = addItem(mnuMenu, "mnuMenu_DeleteUser", tr("Delete %1").arg(QString()));
    addSeparator(mnuMenu, "mnuMenu_Separator1");
    // Statements come into the data as backups do: the group of the file's content.
    QAction *import = addItem(mnuMenu, "mnuMenu_Import", tr("Import Statement..."));
    import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    import->setShortcutContext(Qt::WindowShortcut);
    addAction(import); // the shortcut works while the menu is closed
    QAction *budgets = addItem(mnuMenu, "mnuMenu_Budgets", tr("Budgets..."));
    connect(budgets, &QAction::triggered, this, [this] {
        RunGuarded([&] {
            if (!SignedIn())
                return;
            TfrmBudgets dialog(FSession, this);
            ExecDialog(&dialog);
        });
    });
    QAction *backup = addItem(mnuMenu, "mnuMenu_Backup", tr("Backup"));
    QAction *restore = addItem(mnuMenu, "mnuMenu_Restore", tr("Restore from Backup"));
    QAction *recurring = addItem(mnuMenu, "mnuMenu_Recurring", tr("Recurring Entries..."));
    addSeparator(mnuMenu, "mnuMenu_Separator2");
    QAction *about = addItem(mnuMenu, "mnuMenu_About", tr("About..."));
    addSeparator(mnuMenu, "mnuMenu_Separator3");
    QAction *exitItem = addItem(mnuMenu, "mnuMenu_Exit", tr("Exit"));

    // The default item is drawn bold.
    mnuMenu->setDefaultAction(switchUser);
    QFont bold = mnuMenu->font();
    bold.setBold(true);
    switchUser->setFont(bold);

    const auto guarded = [this](QAction *action, void (TfrmMain::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunGuarded([&] { (this->*handler)(); }); });
    };
    guarded(undo, &TfrmMain::mnuMenu_UndoClick);
    guarded(redo, &TfrmMain::mnuMenu_RedoClick);
    guarded(switchUser, &TfrmMain::mnuMenu_SwitchUserClick);
    guarded(setPwd, &TfrmMain::mnuMenu_SetPwdClick);
    guarded(deleteUser, &TfrmMain::mnuMenu_DeleteUserClick);
    guarded(import, &TfrmMain::mnuMenu_ImportClick);
    guarded(backup, &TfrmMain::mnuMenu_BackupClick);
    guarded(restore, &TfrmMain::mnuMenu_RestoreClick);
    guarded(recurring, &TfrmMain::mnuMenu_RecurringClick);
    guarded(about, &TfrmMain::mnuMenu_AboutClick);
    guarded(exitItem, &TfrmMain::mnuMenu_ExitClick);
}

// --- creation and destruction ----------------------------------------------------

void TfrmMain::FormCreate() {
    const QIcon icon(QStringLiteral(":/APP_ICON"));
    if (!icon.isNull())
        setWindowIcon(icon);

    const QString &userName = FSession.UserName;
    SetApplicationTitle(tr("Ledgerly - Username: %1").arg(userName));
    setWindowTitle(ApplicationTitle());
    findChild<QAction *>("mnuMenu_DeleteUser")
        ->setText(tr("Delete %1").arg(escapeMnemonics(userName)));

    ui->rdoExpense->setChecked(true);
    rdoExpenseClick();
    FOutPanel->Start();
    FInPanel->Start();
    FTransPanel->Start();
    UpdateUndoItems();
    SetMenuImage(true);

    SkinMan = std::make_unique<TSkinMan>(ui->imgLeft, ui->imgTop, ui->imgRight, ui->imgBottom,
                                         ui->pnlCenter);
    FlattenButtons(this);
}

void TfrmMain::ShowAtStart() {
    RestorePlace();
    show();
    raise();
    activateWindow();
}

void TfrmMain::FormDestroy() {
    SkinMan.reset();
    FSteps->Clear();
    FSession.DbMan.reset();
}

void TfrmMain::RestorePlace() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ledgerly"),
                       QStringLiteral("Ledgerly"));
    settings.beginGroup(PlaceGroup(FSession.UserName));
    QRect wanted = settings.value(QStringLiteral("Geometry")).toRect();
    const bool maximized = settings.value(QStringLiteral("Maximized")).toBool();
    if (!wanted.isValid()) {
        // The first time: the default size in the middle of the screen.
        wanted = QRect(QPoint(), kDefaultSize);
        if (QScreen *screen = QGuiApplication::primaryScreen())
            wanted.moveCenter(screen->availableGeometry().center());
    }
    // Kept on a screen that is no longer there, or larger than the screen,
    // it comes back on the screen, as large as that holds.
    FitWindowToScreen(this, wanted, kDefaultSize);
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::KeepPlace() {
    if (!SignedIn() || !isVisible())
        return;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ledgerly"),
                       QStringLiteral("Ledgerly"));
    settings.beginGroup(PlaceGroup(FSession.UserName));
    settings.setValue(QStringLiteral("Geometry"), normalGeometry());
    settings.setValue(QStringLiteral("Maximized"), isMaximized());
    settings.endGroup();
    settings.sync();
    // Nothing of the book is lost: the window opens at its default place
    // next time. The log says where the settings could not be written.
    if (settings.status() != QSettings::NoError)
        qWarning("Ledgerly: the size and place of the window could not be kept in %s",
                 qPrintable(settings.fileName()));
}

void TfrmMain::closeEvent(QCloseEvent *event) {
    if (SignedIn() && !SettlePending()) {
        event->ignore();
        return;
    }
    KeepPlace();
    QWidget::closeEvent(event);
}

// --- helpers ------------------------------------------------------------------------

void TfrmMain::RunGuarded(const std::function<void()> &body) {
    RunReported(this, body);
}

void TfrmMain::SetMenuImage(bool up) {
    ui->imgMenu->setPixmap((up ? ui->imgMenuUp : ui->imgMenuDown)->pixmap());
}

void TfrmMain::Restart(const QString &params) {
    // The steps belong to this user and this data file.
    FSteps->Clear();
    if (StartNewInstance)
        StartNewInstance(params);
    close();
}

bool TfrmMain::HasPending() const {
    return !FOutPanel->Pending().isEmpty() || !FInPanel->Pending().isEmpty();
}

bool TfrmMain::SettlePending() {
    const qsizetype expenses = FOutPanel->Pending().size();
    const qsizetype income = FInPanel->Pending().size();
    if (expenses == 0 && income == 0)
        return true;
    QStringList parts;
    if (expenses > 0)
        parts << (expenses == 1 ? tr("1 pending expense")
                                : tr("%1 pending expenses").arg(expenses));
    if (income > 0)
        parts << (income == 1 ? tr("1 pending income") : tr("%1 pending incomes").arg(income));
    const QString question = parts.size() == 2
                                 ? tr("Save the %1 and %2 before closing?").arg(parts[0], parts[1])
                                 : tr("Save the %1 before closing?").arg(parts[0]);
    switch (TDialogs::Current().Message(
        this, TMessageKind::Question, QStringLiteral("Ledgerly"), question,
        TButton::Save | TButton::Discard | TButton::Cancel, QStringLiteral("dlgSavePending"))) {
    case TButton::Save:
        // A list that cannot be stored keeps its rows, and the window stays.
        return RunReported(this, [&] {
            FOutPanel->SavePending();
            FInPanel->SavePending();
        });
    case TButton::Discard:
        FOutPanel->DiscardPending();
        FInPanel->DiscardPending();
        return true;
    default:
        return false;
    }
}

void TfrmMain::UpdateUndoItems() {
    const QUndoStack *stack = FSteps->Stack();
    QAction *undo = findChild<QAction *>(QStringLiteral("mnuMenu_Undo"));
    QAction *redo = findChild<QAction *>(QStringLiteral("mnuMenu_Redo"));
    undo->setEnabled(stack->canUndo());
    undo->setText(stack->canUndo() ? tr("Undo %1").arg(escapeMnemonics(stack->undoText()))
                                   : tr("Undo"));
    redo->setEnabled(stack->canRedo());
    redo->setText(stack->canRedo() ? tr("Redo %1").arg(escapeMnemonics(stack->redoText()))
                                   : tr("Redo"));
}

void TfrmMain::ShowBookAgain() {
    UpdateUndoItems();
    RunReported(this, [&] {
        FOutPanel->LoadCategories();
        FInPanel->LoadCategories();
    });
    RunReported(this, [&] { FTransPanel->RefreshSearch(); });
}

void TfrmMain::mnuMenu_UndoClick() {
    FSteps->Undo();
}

void TfrmMain::mnuMenu_RedoClick() {
    FSteps->Redo();
}

// --- mode bar ---------------------------------------------------------------------------

QList<QWidget *> TfrmMain::Panels() const {
    return {FOutPanel, FInPanel, FTransPanel};
}

void TfrmMain::rdoExpenseClick() {
    FOutPanel->setVisible(ui->rdoExpense->isChecked());
    FInPanel->setVisible(ui->rdoIncome->isChecked());
    FTransPanel->setVisible(ui->rdoTransactions->isChecked());
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
    if (!AskQuestion(this, tr("You want to switch user?")) || !SettlePending())
        return;
    Restart(QString());
}

void TfrmMain::mnuMenu_SetPwdClick() {
    QString password;
    if (!AskText(this, QStringLiteral("dlgSetPassword"), tr("Set Password"),
                 tr("Enter a new password:"), password))
        return;
    {
        TBusyGuard busy;
        FSession.DbMan->SetPassword(FSession.UserName, password);
    }
    ShowInformation(this, tr("Set Password"), tr("SUCCESS!"));
}

void TfrmMain::mnuMenu_DeleteUserClick() {
    if (!AskQuestion(this, tr("You want to delete %1?").arg(FSession.UserName)) || !SettlePending())
        return;
    {
        TBusyGuard busy;
        FSession.DbMan->DeleteUser(FSession.UserName);
    }
    Restart(QString());
}

void TfrmMain::mnuMenu_ImportClick() {
    if (!SignedIn())
        return;
    const QString fileName = RunFileDialog(ImportDialog1, TfrmImport::StatementFilters(), nullptr);
    if (fileName.isEmpty())
        return;
    TfrmImport dialog(FSession, FOutPanel, FInPanel, ImportDialog1, this);
    if (!dialog.OpenFile(fileName))
        return;
    const qsizetype expenses = FOutPanel->Pending().size();
    const qsizetype income = FInPanel->Pending().size();
    if (ExecDialog(&dialog) != QDialog::Accepted)
        return;
    // The lines wait in the pending lists for the user to review and save:
    // the panel that received lines is shown.
    if (FOutPanel->Pending().size() > expenses)
        ui->rdoExpense->setChecked(true);
    else if (FInPanel->Pending().size() > income)
        ui->rdoIncome->setChecked(true);
}

void TfrmMain::OfferDueEntries(QDate today) {
    RunReported(this, [&] {
        QList<TDueEntry> due;
        {
            TBusyGuard busy;
            due = FSession.DbMan->DueOccurrences(FSession.UserName, today);
        }
        const int expenses = FOutPanel->OfferDue(due);
        const int income = FInPanel->OfferDue(due);
        if (expenses + income == 0)
            return;
        int left = 0;
        for (const TDueEntry &entry : due)
            left += entry.Left;
        if (expenses == 0)
            ui->rdoIncome->setChecked(true);
        const int rows = expenses + income;
        QString text =
            rows == 1
                ? tr("1 recurring entry is due: review it in the pending lists.")
                : tr("%1 recurring entries are due: review them in the pending lists.").arg(rows);
        if (left > 0)
            text += QLatin1Char(' ') +
                    tr("%1 more are left for the next time: at most %2 rows of an entry come "
                       "at once.")
                        .arg(left)
                        .arg(kMaxDueRows);
        ShowInformation(this, QStringLiteral("Ledgerly"), text);
    });
}

void TfrmMain::mnuMenu_RecurringClick() {
    if (!SignedIn())
        return;
    TfrmRecurring dialog(FSession, this);
    ExecDialog(&dialog);
}

void TfrmMain::mnuMenu_BackupClick() {
    QString fileName = RunFileDialog(FSession.SaveDialog1, kBackupFilter);
    if (fileName.isEmpty())
        return;
    if (!TDataFile::HasBackupExtension(fileName)) {
        fileName += QStringLiteral(".ledgerly");
        if (!MayReplace(this, fileName))
            return;
    }
    {
        // A consistent copy, checked before it replaces anything: success
        // is shown only for a complete backup.
        TBusyGuard busy;
        TDataFile(FSession.DataFile).Backup(fileName);
    }
    ShowInformation(this, tr("Backup"), tr("SUCCESS!"));
}

void TfrmMain::mnuMenu_RestoreClick() {
    // The dialog starts among the automatic backups (then at the last file
    // chosen in it); without that folder it opens where it was.
    try {
        OpenDialog1->setDirectory(TDataFile(FSession.DataFile).BackupFolder());
    } catch (const TFileError &) {
        // Only the folder the dialog starts in: the user can still choose
        // any backup, and a folder that cannot be made is reported by the
        // next automatic backup.
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
        ShowError(this, tr("Restore from Backup"), tr("%1\n\nNothing was restored.").arg(problem));
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
    if (!SettlePending())
        return;
    Restart(QStringLiteral("--restore-chosen \"%1\"").arg(quoted));
}

void TfrmMain::mnuMenu_AboutClick() {
    TfrmAbout about(this);
    about.ProductName = QStringLiteral("Ledgerly");
    about.ProductVersion = QStringLiteral(LEDGERLY_VERSION);
    ExecDialog(&about);
}

void TfrmMain::mnuMenu_ExitClick() {
    close();
}
