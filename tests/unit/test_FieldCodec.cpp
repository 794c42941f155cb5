// Stored values as texts: the field codec (standard Base64 out, lenient
// Base64 in) and the amounts the windows accept.
#include "store/AmountText.h"
#include "store/FieldCodec.h"

#include <QRandomGenerator>
#include <QtTest>

class TestFieldCodec : public QObject {
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
        QCOMPARE(EncodeField(text), stored);
        QCOMPARE(DecodeField(stored.toLatin1()), text);
    }

    void decodesLeniently() {
        // Line breaks, blanks and any other stray characters are skipped.
        QCOMPARE(DecodeField("Zm9v\r\nYmFy"), QString("foobar"));
        QCOMPARE(DecodeField("  Z m 9 v Y m F y  "), QString("foobar"));
        QCOMPARE(DecodeField("Zm9v\xe2\x82\xac"
                             "YmFy!*"),
                 QString("foobar"));
        // "=" does not end decoding: two padded values decode joined.
        QCOMPARE(DecodeField("Zg==Zm8="), QString("ffo"));
        QCOMPARE(DecodeField("Zm8=\r\nZm9vYg=="), QString("fofoob"));
        // A trailing partial group is dropped.
        QCOMPARE(DecodeField("Zm9vYmF"), QString("foo"));
        QCOMPARE(DecodeField("Z"), QString());
        QCOMPARE(DecodeField("\r\n ="), QString());
    }

    // Random texts (ASCII, Latin-1, other scripts, characters outside the
    // BMP): one line out; read back plain, with junk inserted anywhere, and
    // joined with another padded value.
    void roundTripsRandomTexts() {
        QRandomGenerator rng(7);
        const QByteArray junk = " \r\n\t!#$%&*-.:;?@[]_{}~\x01\xc3\xa9";
        const auto randomText = [&](int maxLength) {
            QString text;
            for (int i = rng.bounded(0, maxLength); i > 0; --i) {
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
            return text;
        };
        for (int round = 0; round < 1000; ++round) {
            const QString text = randomText(80);
            const QByteArray stored = EncodeField(text).toLatin1();
            QVERIFY(!stored.contains('\r') && !stored.contains('\n'));
            QCOMPARE(stored.size() % 4, 0);
            QCOMPARE(DecodeField(stored), text);

            QByteArray noisy;
            for (char c : stored) {
                while (rng.bounded(4) == 0)
                    noisy += junk.at(rng.bounded(int(junk.size())));
                noisy += c;
            }
            QCOMPARE(DecodeField(noisy), text);

            const QString more = randomText(20) + "x";
            QCOMPARE(DecodeField(stored + "\r\n" + EncodeField(more).toLatin1()), text + more);
        }
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
};

QTEST_GUILESS_MAIN(TestFieldCodec)
#include "test_FieldCodec.moc"
