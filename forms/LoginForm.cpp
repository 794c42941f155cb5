#include "forms/LoginForm.h"
#include "ui_LoginForm.h"

#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/WindowFont.h"
#include "skin/ScreenPicture.h"
#include "store/DataFile.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <stdexcept>

namespace {

// Lower-cases the letters A to Z only; every other character stays.
QString lowerAsciiLetters(QString text) {
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

QStringList userLines(const QString &text) {
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The one line the main window shows when the disk of the data file is full.
QString diskFullNotice(const QString &dataFile) {
    return QStringLiteral("The disk that holds \"%1\" is full: free some space on it (delete files "
                          "you no longer need, empty the trash) so that Ledgerly can save your "
                          "changes and make its daily backup.")
        .arg(QDir::toNativeSeparators(QFileInfo(dataFile).absolutePath()));
}

bool isEnterKey(const QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TfrmLogin::TfrmLogin(QWidget *owner, const QStringList &arguments)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmLogin>()) {
    ui->setupUi(this);
    setObjectName("frmLogin");
    setFont(DefaultWindowFont());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(367, 205);

    const QPixmap picture =
        TScreenPicture::Pixmap(":/LOGIN_PICTURE", TScreenPicture::RatioOf(this));
    if (!picture.isNull())
        ui->imgLogin->setPixmap(picture);

    ui->cboUsername->setCompleter(nullptr);
    ui->cboUsername->lineEdit()->installEventFilter(this);
    ui->edtPassword->installEventFilter(this);
    ui->btnSubmit->installEventFilter(this);
    ui->btnCancel->installEventFilter(this);

    connect(ui->cboUsername, &QComboBox::editTextChanged, this, [this] { UpdateSubmit(); });
    connect(ui->edtPassword, &QLineEdit::textChanged, this, [this] { UpdateSubmit(); });
    connect(ui->btnSubmit, &QPushButton::clicked, this, [this] { btnSubmitClick(ui->btnSubmit); });
    connect(ui->btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    FormCreate(arguments);
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::FormCreate(const QStringList &arguments) {
    // The data file is settled before anything is read or written: made
    // private, the temporary copies of killed instances removed, copied into
    // today's automatic backup, replaced by a backup named on the command
    // line, made on the first run, brought to the current format.
    const TDataFile dataFile(TDataFile::DefaultPath());
    FDataFile = dataFile.Path();
    QString backupProblem;
    bool diskFull = false;
    {
        TBusyGuard busy; // a copy of a large book takes a moment
        dataFile.TightenPermissions();
        dataFile.RemoveLeftovers();
        backupProblem = dataFile.MakeDailyBackup(QDate::currentDate(), &diskFull);
    }
    if (diskFull)
        FWriteProblem = diskFullNotice(FDataFile);
    else if (!backupProblem.isEmpty())
        FAutoBackupProblem =
            QStringLiteral("Today's automatic backup of your data could not be made. %1\n\nYour "
                           "data file is unchanged and you can go on working; a backup is tried "
                           "again at the next start. You can also make one now with Backup in "
                           "the menu.")
                .arg(backupProblem);
    RestoreFromArgument(dataFile, arguments);
    dataFile.CreateIfMissing();

    FUserName.clear();
    QString names;
    try {
        {
            TBusyGuard busy;
            dataFile.Upgrade();
        }
        FDbMan = std::make_unique<TDbMan>(FDataFile);
        names = FDbMan->GetUserNames();
    } catch (const TFileError &) {
        throw; // says already which file and what to do
    } catch (const std::exception &error) {
        // Say which file failed and how to get the books back; a failure of
        // the database with SQLite's words, as the file is named here.
        const auto *db = dynamic_cast<const TDbError *>(&error);
        throw std::runtime_error(
            QStringLiteral("Ledgerly cannot read its data file \"%1\": %2\n\nTo go on with "
                           "a backup, start Ledgerly with the backup file's name as its "
                           "argument (the automatic backups are in \"%3\").")
                .arg(FDataFile,
                     db && !db->Reason.isEmpty() ? db->Reason : QString::fromUtf8(error.what()),
                     QFileInfo(FDataFile).dir().filePath(QStringLiteral("backups")))
                .toStdString());
    }
    ui->cboUsername->addItems(userLines(names));
    if (ui->cboUsername->count() > 0)
        ui->cboUsername->setCurrentIndex(0);
    UpdateSubmit();
    raise();
    activateWindow();
}

void TfrmLogin::RestoreFromArgument(const TDataFile &dataFile, const QStringList &arguments) {
    if (arguments.size() < 2)
        return;
    const QString backup = arguments.at(1);
    if (!QFileInfo(backup).isFile() || !TDataFile::HasBackupExtension(backup))
        return;
    // A backup opened from outside the program (a file manager, a command
    // line) replaces every user's books only after a question; one chosen in
    // the program's own Restore has been asked for already. A file that
    // cannot be restored is reported without asking.
    const bool chosen = arguments.value(2) == QLatin1String("--restore-chosen");
    if (!chosen && TDataFile::Problem(backup).isEmpty() &&
        !AskQuestion(nullptr, QStringLiteral("You want to restore the backup %1?\n\nThe accounts "
                                             "and records of every user in the current data are "
                                             "replaced by those of the backup; the current data "
                                             "is kept among the automatic backups.")
                                  .arg(QDir::toNativeSeparators(backup))))
        return;
    // A failed restore is reported and the data in use is kept; sign-in goes on.
    RunReported(nullptr, [&] {
        TBusyGuard busy;
        dataFile.Restore(backup);
    });
}

QString TfrmLogin::FindUser(const QString &typed) {
    if (!FDbMan) // the window has closed
        return QString();
    const QString wanted = lowerAsciiLetters(typed);
    const QStringList lines = userLines(FDbMan->GetUserNames());
    for (const QString &line : lines) {
        if (lowerAsciiLetters(line.trimmed()) == wanted)
            return line.trimmed();
    }
    return QString();
}

void TfrmLogin::UpdateSubmit() {
    ui->btnSubmit->setEnabled(!ui->cboUsername->currentText().trimmed().isEmpty() &&
                              !ui->edtPassword->text().trimmed().isEmpty());
}

void TfrmLogin::btnSubmitClick(QPushButton *sender) {
    if (!sender || !sender->isEnabled())
        return;
    RunReported(this, [&] { SubmitBody(sender); });
}

void TfrmLogin::SubmitBody(QPushButton *sender) {
    TBusyGuard busy(sender);

    FUserName = ui->cboUsername->currentText().trimmed();
    const QString stored = FindUser(FUserName);
    if (!stored.isEmpty())
        FUserName = stored;
    const QString password = ui->edtPassword->text().trimmed();

    if (FDbMan->UserExists(FUserName)) {
        if (FDbMan->CheckPassword(FUserName, password)) {
            MoveUserToTop(password);
            busy.Release();
            accept();
            return;
        }
        busy.Release();
        ShowError(this, QStringLiteral("ERROR"), QStringLiteral("ERROR: Invalid password."));
    } else {
        busy.Release();
        if (AskQuestion(this, QStringLiteral("You want to create a new Username and Password?\n\n"
                                             "- Username: %1\n- Password: %2")
                                  .arg(FUserName, password))) {
            TBusyGuard adding(sender);
            FDbMan->AddUser(FUserName, password);
            adding.Release();
            accept();
            return;
        }
    }
    sender->setFocus();
}

void TfrmLogin::MoveUserToTop(const QString &password) {
    // Re-inserting the row puts this user at the head of the list. That order
    // is a convenience: when it cannot be written (a full disk, a read-only
    // file, another window keeping the file busy), the user signs in all the
    // same and the main window says why.
    try {
        FDbMan->ReinsertUser(FUserName, password);
    } catch (const TDbError &error) {
        if (error.Code == 0)
            throw; // not a failed write: the user or the password changed meanwhile
        FWriteProblem = error.DiskFull()
                            ? diskFullNotice(FDataFile)
                            : QStringLiteral("Ledgerly could not note this sign-in in its data "
                                             "file, so the list of users keeps its order. %1")
                                  .arg(QString::fromUtf8(error.what()));
    }
}

void TfrmLogin::btnCancelClick() {
    FUserName.clear();
    reject();
}

void TfrmLogin::done(int result) {
    if (result != QDialog::Accepted)
        FUserName.clear();
    // The window's own database manager ends with the window.
    FDbMan.reset();
    QDialog::done(result);
}

void TfrmLogin::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!ui->cboUsername->currentText().trimmed().isEmpty())
        ui->edtPassword->setFocus();
    raise();
    activateWindow();
}

bool TfrmLogin::eventFilter(QObject *watched, QEvent *event) {
    if (isEnterKey(event)) {
        if (watched == ui->cboUsername->lineEdit()) {
            ui->edtPassword->setFocus();
            return true;
        }
        if (watched == ui->edtPassword) {
            btnSubmitClick(ui->btnSubmit);
            return true;
        }
        // Enter on a focused button presses it, as Space does.
        if (watched == ui->btnSubmit || watched == ui->btnCancel) {
            static_cast<QPushButton *>(watched)->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
