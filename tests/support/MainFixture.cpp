#include "tests/support/MainFixture.h"

#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/AmountText.h"
#include "tests/support/TestDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

TMainFixture::TMainFixture() {
    FHadHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    FOldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(FHome.path()));
    QApplication::setFont(DefaultWindowFont());
    TestDialogs::Install();
}

TMainFixture::~TMainFixture() {
    CloseMain();
    TestDialogs::Clear();
    if (FHadHome)
        qputenv("XDG_DATA_HOME", FOldHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString TMainFixture::DataFile() const {
    return FHome.filePath("Ledgerly/db.ledgerly");
}

TfrmMain *TMainFixture::SignIn(const QString &user, const QString &password, bool create,
                               const QStringList &arguments) {
    CloseMain();
    AnswerSignIn(user, password);
    if (create)
        TestDialogs::Answer(TButton::Yes);
    QStringList args = arguments;
    if (args.isEmpty())
        args << QCoreApplication::applicationFilePath();
    FMain = std::make_unique<TfrmMain>(nullptr, args);
    FMain->StartNewInstance = [this](const QString &params) { Restarts << params; };
    // The window shows itself once the event loop runs.
    if (FMain->SignedIn() && !(QTest::qWaitFor([this] { return FMain->isVisible(); }) &&
                               QTest::qWaitForWindowExposed(FMain.get())))
        qWarning("TMainFixture: the main window was not shown");
    TestDialogs::Clear(); // what a test reads starts here
    return FMain.get();
}

void TMainFixture::CloseMain() {
    if (!FMain)
        return;
    FMain->close();
    FMain.reset();
}

void AnswerSignIn(const QString &user, const QString &password) {
    TestDialogs::Dialog([user, password](QDialog *w) {
        auto *name = w->findChild<QComboBox *>("cboUsername");
        auto *pwd = w->findChild<QLineEdit *>("edtPassword");
        auto *submit = w->findChild<QPushButton *>("btnSubmit");
        QVERIFY2(name && pwd && submit, "the window is not the sign-in window");
        name->setEditText(user);
        pwd->setText(password);
        submit->click();
    });
}

QObject *TMainFixture::MainObject() const {
    return FMain.get();
}

void TMainFixture::Search(const QDate &from, const QDate &to) {
    Need<QDateEdit>("dtpTransDate1")->setDate(from);
    Need<QDateEdit>("dtpTransDate2")->setDate(to);
    QTest::mouseClick(Need<QPushButton>("btnTransSearch"), Qt::LeftButton);
}

QList<QStringList> ListTexts(const QTreeView *list) {
    QList<QStringList> rows;
    const QAbstractItemModel *model = list ? list->model() : nullptr;
    if (!model)
        return rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList texts;
        for (int c = 1; c < model->columnCount(); ++c)
            texts << model->index(r, c).data(Qt::DisplayRole).toString();
        rows << texts;
    }
    return rows;
}

TRecord TestRecord(const QString &date, const QString &type, const QString &category,
                   const QString &amount, const QString &notes) {
    TRecord record;
    record.Date = QDate::fromString(date, QStringLiteral("MM/dd/yyyy"));
    record.Type = type == QLatin1String("Income") ? TRecordType::Income : TRecordType::Expense;
    record.Category = category;
    if (!record.Date.isValid() || !IsAcceptableAmount(amount, &record.Cents))
        qFatal("TestRecord: not a record: %s %s", qPrintable(date), qPrintable(amount));
    record.Notes = notes;
    return record;
}
