// Run by tests/install/check_install.sh from the bin folder of a fresh
// install: the program's files are then only in ../share/ledgerly.
#include "forms/MainForm.h"
#include "store/ProgramFiles.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <stdexcept>

class TestInstalled : public QObject {
    Q_OBJECT

    static QString Share() { return QDir::cleanPath(ProgramFolder() + "/../share"); }

private slots:
    void filesFoundInShareOnly() {
        QVERIFY2(!QFile::exists(QDir(ProgramFolder()).filePath("db.ledgerly")),
                 "run this from an installed bin folder");
        for (const char *name :
             {"db.ledgerly", "cates.html", "trans.html", "cates.xls", "trans.xls"})
            QCOMPARE(InstalledFile(name), Share() + "/ledgerly/" + name);
        // A missing file is reported with both places looked at.
        try {
            InstalledFile("missing.html");
            QFAIL("no error for a missing file");
        } catch (const std::runtime_error &error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.contains("\"missing.html\"") && text.contains(ProgramFolder()) &&
                         text.contains(Share() + "/ledgerly"),
                     qPrintable(text));
        }
    }

    void signsInAndExports() {
        // A first start makes the book from the installed empty data file;
        // the export fills the installed template.
        TMainFixture fixture;
        QVERIFY(fixture.SignIn("Ann", "pw"));
        QVERIFY(QFile::exists(fixture.DataFile()));
        QTemporaryDir dir;
        const QString page = dir.filePath("trans.html");
        TestDialogs::File(page);
        TestDialogs::Answer(TButton::Ok);
        fixture.Main()->findChild<QAction *>("btnTransMore_ToHtml")->trigger();
        QCOMPARE(TestDialogs::LastMessage(), "SUCCESS!\r\n\r\n" + page);
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        QVERIFY(html.startsWith("<!DOCTYPE html>"));
        QVERIFY(html.contains("<h1>Transactions <span>Ann ("));
    }

    void iconsOfTheirSizes() {
        const QString hicolor = Share() + "/icons/hicolor/";
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QImage icon(hicolor +
                              QStringLiteral("%1x%1/apps/org.ledgerly.Ledgerly.png").arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
        }
        QFile svg(hicolor + "scalable/apps/org.ledgerly.Ledgerly.svg");
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&svg);
        QStringList elements;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement)
                elements << xml.name().toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(elements.value(0), QString("svg"));
        QVERIFY(elements.size() > 5);
    }
};

QTEST_MAIN(TestInstalled)
#include "test_installed.moc"
