#include "tests/support/MainFixture.h"

#include "app/Startup.h"
#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/AmountText.h"
#include "store/DbClass.h"
#include "tests/support/TestDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryFile>
#include <QTest>
#include <QTreeView>

#include <map>

TMainFixture::TMainFixture() {
    FHadHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    FOldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(FHome.path()));
    // The settings folder is looked up once per process, so it is also set
    // directly; the variable is for the programs the checks start.
    FHadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    FOldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(FConfig.path()));
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, FConfig.path());
    QApplication::setFont(DefaultWindowFont());
    TestDialogs::Install();
}

TMainFixture::~TMainFixture() {
    CloseMain();
    TestDialogs::Clear();
    const auto restore = [](const char *name, bool had, const QByteArray &old) {
        had ? qputenv(name, old) : qunsetenv(name);
    };
    restore("XDG_DATA_HOME", FHadHome, FOldHome);
    restore("XDG_CONFIG_HOME", FHadConfig, FOldConfig);
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
    for (const TButton answer : AnswersAtStart)
        TestDialogs::Answer(answer);
    QStringList args = arguments;
    if (args.isEmpty())
        args << QCoreApplication::applicationFilePath();
    const qsizetype askedBefore = TestDialogs::Asked().size();
    FStartup = std::make_unique<TStartup>();
    FStartup->Today = Today;
    if (FStartup->ReadCommandLine(args) || !FStartup->Run())
        return nullptr;
    Main()->StartNewInstance = [this](const QString &params) { Restarts << params; };
    if (!QTest::qWaitForWindowExposed(Main()))
        qWarning("TMainFixture: the main window was not shown");
    SignInMessages.clear();
    for (const TestDialogs::TAsked &asked : TestDialogs::Asked().mid(askedBefore))
        if (asked.Kind == TestDialogs::TAsked::MessageBox)
            SignInMessages << asked.Text;
    TestDialogs::Clear(); // what a test reads starts here
    return Main();
}

TfrmMain *TMainFixture::Main() const {
    return FStartup ? FStartup->MainWindow() : nullptr;
}

void TMainFixture::CloseMain() {
    if (Main()) {
        // Rows a test left in a pending list go: closing asks about them.
        if (Main()->HasPending())
            TestDialogs::Answer(TButton::Discard);
        Main()->close();
    }
    FStartup.reset();
}

void UseOffscreenScreens(const QList<QSize> &sizes) {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return;
    QJsonArray screens;
    int x = 0;
    for (const QSize &size : sizes) {
        screens.append(QJsonObject{{"name", QStringLiteral("Screen%1").arg(screens.size())},
                                   {"x", x},
                                   {"y", 0},
                                   {"width", size.width()},
                                   {"height", size.height()},
                                   {"logicalDpi", 96},
                                   {"logicalBaseDpi", 96},
                                   {"dpr", 1}});
        x += size.width();
    }
    // The platform reads the file when the application object is made; it
    // goes when the process ends.
    static QTemporaryFile config(QDir::temp().filePath("ledgerly-screens-XXXXXX.json"));
    if (!config.open() ||
        config.write(QJsonDocument(QJsonObject{{"screens", screens}}).toJson()) < 0 ||
        !config.flush())
        qFatal("UseOffscreenScreens: cannot write %s", qPrintable(config.fileName()));
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
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
    return Main();
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

TDbMan &SignedInStore(const QString &file, const QString &user, const QString &password) {
    static std::map<QString, std::unique_ptr<TDbMan>> stores;
    std::unique_ptr<TDbMan> &store = stores[file + QLatin1Char('\n') + user];
    if (!store)
        store = std::make_unique<TDbMan>(file);
    if (!store->HasKey(user) && store->UserExists(user) && !store->CheckPassword(user, password))
        qFatal("%s cannot sign in with that password", qPrintable(user));
    return *store;
}
