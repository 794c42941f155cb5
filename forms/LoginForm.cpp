#include "forms/LoginForm.h"
#include "ui_LoginForm.h"

#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/ErrorReport.h"
#include "forms/WindowFont.h"
#include "skin/ScreenPicture.h"
#include "store/DataFile.h"
#include "store/DbClass.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressDialog>

namespace {

// Lower-cases the letters A to Z only; every other character stays.
QString lowerAsciiLetters(QString text) {
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

bool isEnterKey(const QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TfrmLogin::TfrmLogin(TDbMan &db, QWidget *owner)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmLogin>()), FDbMan(db) {
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

    ui->cboUsername->addItems(FDbMan.GetUserNames());
    if (ui->cboUsername->count() > 0)
        ui->cboUsername->setCurrentIndex(0);
    UpdateSubmit();
}

TfrmLogin::~TfrmLogin() = default;

QString TfrmLogin::FindUser(const QString &typed) {
    if (!FOpen)
        return QString();
    const QString wanted = lowerAsciiLetters(typed);
    for (const QString &name : FDbMan.GetUserNames()) {
        if (lowerAsciiLetters(name.trimmed()) == wanted)
            return name.trimmed();
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

    if (FDbMan.UserExists(FUserName)) {
        if (FDbMan.CheckPassword(FUserName, password)) {
            MoveUserToTop(password);
            SealBook(password);
            busy.Release();
            accept();
            return;
        }
        busy.Release();
        ShowError(this, tr("ERROR"), tr("ERROR: Invalid password."));
    } else {
        busy.Release();
        if (AskQuestion(this, tr("You want to create a new Username and Password?\n\n"
                                 "- Username: %1\n- Password: %2\n\n"
                                 "Your book is encrypted under this password. A forgotten "
                                 "password cannot be recovered, and the book is lost with it.")
                                  .arg(FUserName, password))) {
            TBusyGuard adding(sender);
            FDbMan.AddUser(FUserName, password);
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
        FDbMan.ReinsertUser(FUserName, password);
    } catch (const TDbError &error) {
        if (error.Code == 0)
            throw; // not a failed write: the user or the password changed meanwhile
        FWriteProblem = error.DiskFull() ? TDataFile(FDbMan.DataFile()).DiskFullNotice()
                                         : tr("Ledgerly could not note this sign-in in its data "
                                              "file, so the list of users keeps its order. %1")
                                               .arg(QString::fromUtf8(error.what()));
    }
}

void TfrmLogin::SealBook(const QString &password) {
    // The book is sealed at the user's first sign-in with this Ledgerly (and
    // what another program wrote plain into it since, at any later one). A
    // bar shows the progress where that takes a moment.
    std::unique_ptr<QProgressDialog> bar;
    const auto progress = [&](int done, int total) {
        if (!bar && total >= kSealBarFrom) {
            bar = std::make_unique<QProgressDialog>(tr("Encrypting your book..."), QString(), 0,
                                                    total, this);
            bar->setObjectName(QStringLiteral("dlgSealProgress"));
            bar->setWindowTitle(tr("Encrypting"));
            bar->setWindowModality(Qt::WindowModal);
            bar->setMinimumDuration(0);
            bar->setAutoClose(false);
        }
        if (bar)
            bar->setValue(done);
    };
    try {
        FDbMan.SealBook(FUserName, password, progress);
    } catch (const TDbError &error) {
        if (error.Code == 0)
            throw;
        // Nothing was changed: the book stays as it was, readable as before,
        // and is sealed at a later sign-in.
        const QString why = error.DiskFull() ? TDataFile(FDbMan.DataFile()).DiskFullNotice()
                                             : QString::fromUtf8(error.what());
        FWriteProblem = tr("Ledgerly could not encrypt your book in its data file, so it is "
                           "kept as before and encrypted at a later sign-in. %1")
                            .arg(why);
    }
}

void TfrmLogin::btnCancelClick() {
    FUserName.clear();
    reject();
}

void TfrmLogin::done(int result) {
    if (result != QDialog::Accepted)
        FUserName.clear();
    FOpen = false;
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
