#include "forms/AboutForm.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void layoutAndTexts();
    void longerNameStaysCentred();
    void centredOnOwner();
    void enterPressesOk();
};

void TestAbout::layoutAndTexts() {
    QWidget owner;
    TfrmAbout about(&owner);
    about.ProductName = "Ledgerly";
    about.ProductVersion = "6.22";
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    QCOMPARE(about.windowTitle(), QString("About"));
    QCOMPARE(about.size(), QSize(295, 194));
    QCOMPARE(about.findChild<QFrame *>("shpBackground")->geometry(), QRect(7, 7, 282, 147));
    QCOMPARE(about.findChild<QFrame *>("bvlBackground")->geometry(), QRect(7, 7, 282, 147));
    auto *ok = about.findChild<QPushButton *>("btnOK");
    QCOMPARE(ok->geometry(), QRect(110, 163, 74, 23));
    QCOMPARE(ok->text(), QString("OK"));
    QVERIFY(ok->isDefault());

    auto *icon = about.findChild<QLabel *>("imgIcon");
    auto *title = about.findChild<QLabel *>("lblTitle");
    auto *version = about.findChild<QLabel *>("lblVersion");
    QCOMPARE(title->text(), QString("Ledgerly"));
    QVERIFY(title->font().bold());
    QCOMPARE(version->text(), QString("Version 6.22"));
    // The name is centred and the icon stands 10 pixels to its left.
    QCOMPARE(title->x(), (295 - title->width()) / 2);
    QCOMPARE(title->y(), 27);
    QCOMPARE(icon->geometry(), QRect(title->x() - 42, 19, 32, 32));
    QCOMPARE(version->x(), (295 - version->width()) / 2);
    QCOMPARE(version->y(), 56);
    // Texts sized to themselves, the icon drawn with its clear background.
    QCOMPARE(title->width(), title->sizeHint().width());
    const QImage picture = icon->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(32, 32));
    QCOMPARE(picture.pixelColor(0, 0).alpha(), 0);

    // On screen: the white panel behind the texts, the icon without a box.
    const QImage shot = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString dir = qEnvironmentVariable("LEDGERLY_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/about.png"));
    QCOMPARE(shot.pixel(150, 120), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(icon->geometry().topLeft()), qRgb(255, 255, 255));
}

void TestAbout::longerNameStaysCentred() {
    QWidget owner;
    TfrmAbout shortName(&owner), longName(&owner);
    shortName.ProductName = "Ledgerly";
    longName.ProductName = "Ledgerly Personal Finance Book";
    shortName.show();
    longName.show();
    auto *title = longName.findChild<QLabel *>("lblTitle");
    auto *icon = longName.findChild<QLabel *>("imgIcon");
    QCOMPARE(title->x(), (295 - title->width()) / 2);
    QCOMPARE(icon->x(), title->x() - 42);
    QVERIFY(icon->x() < shortName.findChild<QLabel *>("imgIcon")->x());
    // An empty version still reads as a version line.
    QCOMPARE(longName.findChild<QLabel *>("lblVersion")->text(), QString("Version "));
}

void TestAbout::centredOnOwner() {
    QWidget owner;
    owner.setGeometry(140, 90, 700, 525);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TfrmAbout about(&owner);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint offset = about.frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 1,
             qPrintable(QString("off by %1, %2").arg(offset.x()).arg(offset.y())));
}

void TestAbout::enterPressesOk() {
    QWidget owner;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        TfrmAbout about(&owner);
        about.ProductName = "Ledgerly";
        about.ProductVersion = "6.22";
        about.show();
        QTest::keyClick(&about, key);
        QCOMPARE(about.result(), int(QDialog::Accepted));
        QVERIFY(!about.isVisible());
    }
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
