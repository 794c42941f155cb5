// The field codec: standard Base64 out, lenient Base64 in.
#include "store/AmountText.h"
#include "store/KestrelClass.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

class TestKestrelClass : public QObject {
    Q_OBJECT

private slots:
    void encodesKnownVectors_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("f") << "f"
                           << "Zg==";
        QTest::newRow("fo") << "fo"
                            << "Zm8=";
        QTest::newRow("foo") << "foo"
                             << "Zm9v";
        QTest::newRow("foob") << "foob"
                              << "Zm9vYg==";
        QTest::newRow("fooba") << "fooba"
                               << "Zm9vYmE=";
        QTest::newRow("foobar") << "foobar"
                                << "Zm9vYmFy";
        QTest::newRow("apostrophe") << "O'Neil's"
                                    << "TydOZWlsJ3M=";
        QTest::newRow("utf8") << QString::fromUtf8("Café €") << "Q2Fmw6kg4oKs";
        QTest::newRow("line breaks") << "a\r\nb"
                                     << "YQ0KYg==";
        // 60 bytes: more than one 76-character line of Base64, still one line.
        QTest::newRow("long") << QString(60, 'x')
                              << "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4"
                                 "eHh4eHh4eHh4eHh4";
    }
    void encodesKnownVectors() {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(TKestrel::EncodeField(text), stored);
        QCOMPARE(DecodeField(stored), text);
    }

    void decodesLeniently() {
        // Line breaks, blanks and any other stray characters are skipped.
        QCOMPARE(DecodeField("Zm9v\r\nYmFy"), QString("foobar"));
        QCOMPARE(DecodeField("  Z m 9 v Y m F y  "), QString("foobar"));
        QCOMPARE(DecodeField(QString::fromUtf8("Zm9v€YmFy!*")), QString("foobar"));
        // "=" does not end decoding: two padded values decode joined.
        QCOMPARE(DecodeField("Zg==Zm8="), QString("ffo"));
        QCOMPARE(DecodeField("Zm8=\r\nZm9vYg=="), QString("fofoob"));
        // A trailing partial group is dropped.
        QCOMPARE(DecodeField("Zm9vYmF"), QString("foo"));
        QCOMPARE(DecodeField("Z"), QString());
        QCOMPARE(DecodeField("\r\n ="), QString());
    }

    // Random byte strings: plain round trip, junk inserted anywhere, and
    // several padded values written one after the other.
    void roundTripsRandomBytes() {
        QRandomGenerator rng(20110315);
        const QString junk = QString::fromUtf8(" \r\n\t!#$%&*-.:;?@[]_{}~\x01é€");
        for (int round = 0; round < 2000; ++round) {
            QByteArray bytes(rng.bounded(0, 300), Qt::Uninitialized);
            for (char &b : bytes)
                b = char(rng.bounded(256));
            const QString stored = QString::fromLatin1(bytes.toBase64());
            QCOMPARE(DecodeFieldBytes(stored), bytes);

            QString noisy;
            for (QChar c : stored) {
                while (rng.bounded(4) == 0)
                    noisy += junk.at(rng.bounded(int(junk.size())));
                noisy += c;
            }
            QCOMPARE(DecodeFieldBytes(noisy), bytes);

            QByteArray more(rng.bounded(1, 20), 'q');
            for (char &b : more)
                b = char(rng.bounded(256));
            QCOMPARE(DecodeFieldBytes(stored + "\r\n" + QString::fromLatin1(more.toBase64())),
                     bytes + more);
        }
    }

    void roundTripsText() {
        QRandomGenerator rng(7);
        for (int round = 0; round < 500; ++round) {
            QString text;
            const int len = rng.bounded(0, 80);
            for (int i = 0; i < len; ++i) {
                // Mix of ASCII, Latin-1, other scripts and characters outside the BMP.
                switch (rng.bounded(4)) {
                case 0:
                    text += QChar(rng.bounded(0x20, 0x7f));
                    break;
                case 1:
                    text += QChar(rng.bounded(0xa0, 0x100));
                    break;
                case 2:
                    text += QChar(rng.bounded(0x400, 0xd000));
                    break;
                default:
                    text += QString::fromUcs4(U"\U0001F600");
                }
            }
            const QString stored = TKestrel::EncodeField(text);
            QVERIFY(!stored.contains('\r') && !stored.contains('\n'));
            QCOMPARE(stored.size() % 4, 0);
            QCOMPARE(DecodeField(stored), text);
        }
    }

    void wholeFilesAreReadAndWrittenByteForByte() {
        QTemporaryDir dir;
        const QString file = dir.filePath("page.html");
        QByteArray bytes;
        for (int i = 0; i < 1000; ++i)
            bytes += char(i % 256);
        TKestrel::WriteFileText(file, bytes);
        QCOMPARE(TKestrel::ReadFileText(file), bytes);
        TKestrel::WriteFileText(file, "short"); // truncates
        QCOMPARE(TKestrel::ReadFileText(file), QByteArray("short"));
        TKestrel::WriteFileText(file, QByteArray());
        QCOMPARE(TKestrel::ReadFileText(file), QByteArray());
        // Failures raise, naming the file; a failed write leaves the old file.
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 TKestrel::ReadFileText(dir.filePath("missing.html")));
        TKestrel::WriteFileText(file, "kept");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 TKestrel::WriteFileText(dir.filePath("no/such/dir/x"), "x"));
        QCOMPARE(TKestrel::ReadFileText(file), QByteArray("kept"));
    }

    void appDataFolderIsMadeUnderTheDataHome() {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
        const QString folder = TKestrel::AppDataFolder("Ledgerly");
        QCOMPARE(folder, QDir(dir.path()).filePath("Ledgerly"));
        QVERIFY(QFileInfo(folder).isDir());
        // Made private to the user: nobody else can list or open the books.
        QCOMPARE(QFileInfo(folder).permissions() &
                     (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther),
                 QFileDevice::Permissions());
        QCOMPARE(TKestrel::AppDataFolder("Ledgerly"), folder); // existing: same answer
        QCoreApplication::setApplicationName("LedgerlyTest");
        QCOMPARE(TKestrel::AppDataFolder(""), QDir(dir.path()).filePath("LedgerlyTest"));
        QVERIFY(TKestrel::ProgramPath().endsWith('/'));
        QVERIFY(!TKestrel::ProgramFolder().endsWith('/'));
        QCOMPARE(TKestrel::ProgramPath(), TKestrel::ProgramFolder() + '/');
    }

    void runProgramStartsDetached() {
        QTemporaryDir dir;
        // Quotes group words as a shell would; quotes in the file name go.
        TKestrel::RunProgram("\"/usr/bin/touch\"", "\"a b\" 'c d' e", dir.path(), 1);
        QTRY_VERIFY(QFile::exists(dir.filePath("a b")));
        QTRY_VERIFY(QFile::exists(dir.filePath("c d")));
        QTRY_VERIFY(QFile::exists(dir.filePath("e")));
        // A missing working folder: the new process starts in ours.
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        TKestrel::RunProgram("/usr/bin/touch", "here", dir.filePath("missing"), 1);
        QDir::setCurrent(old);
        QTRY_VERIFY(QFile::exists(dir.filePath("here")));
        // A program that does not exist: nothing happens, nothing is raised.
        TKestrel::RunProgram(dir.filePath("no-such-program"), "", dir.path(), 1);
        // Repeated blanks between words make no empty arguments.
        TKestrel::RunProgram("/bin/sh",
                             "-c  'printf \"[%s]\\n\" \"$@\" > args.tmp; mv args.tmp args.txt'"
                             "   sh  \"a b\"   'c d'  e  ",
                             dir.path(), 1);
        QTRY_VERIFY(QFile::exists(dir.filePath("args.txt")));
        QCOMPARE(TKestrel::ReadFileText(dir.filePath("args.txt")),
                 QByteArray("[a b]\n[c d]\n[e]\n"));
    }

    // The amounts the entry and editor windows accept: 0.01 to
    // 999,999,999,999.99, plain decimals only; cents as "%0.2f" shows them.
    void amountTextsAtTheLimits() {
        qint64 cents = 0;
        QVERIFY(IsAcceptableAmount(QString(" 0.01 "), &cents));
        QCOMPARE(cents, 1);
        QVERIFY(IsAcceptableAmount(QString("999999999999.99"), &cents));
        QCOMPARE(CentsText(cents), QString("999999999999.99"));
        for (const char *bad : {"0.009", "0", "-1", "1000000000000", "999999999999.999", "1e3",
                                "1,5", "", "inf", "0x10"})
            QVERIFY2(!IsAcceptableAmount(QString(bad), &cents), bad);
        QVERIFY(IsAcceptableAmount(QString("2.675"), &cents));
        QCOMPARE(cents, 267); // the digits "%0.2f" shows for the binary value
        QCOMPARE(CentsText(-5), QString("-0.05"));
        QCOMPARE(FormatAmount(-0.004), QString("0.00"));
    }

    void dateHelpers() {
        QCOMPARE(DayOfMonth(QDate(2011, 3, 31)), 31);
        QCOMPARE(AddDays(QDate(2011, 3, 15), 1 - DayOfMonth(QDate(2011, 3, 15))),
                 QDate(2011, 3, 1));
        QCOMPARE(AddDays(QDate(2012, 3, 1), -1), QDate(2012, 2, 29));
    }
};

QTEST_GUILESS_MAIN(TestKestrelClass)
#include "test_KestrelClass.moc"
