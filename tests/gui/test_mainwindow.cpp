// The main window: title after sign-in, mode switching, the account menu,
// the menu picture, the list-dependent buttons and the shared helpers.
#include "forms/ErrorReport.h"
#include "forms/LoginForm.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"
#include "tests/support/MainFixture.h"
#include "tests/support/ModalAnswer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

class TestMainWindow : public QObject {
    Q_OBJECT

    template <class T> T *find(const QString &name) {
        T *w = TMainFixture::Find<T>(fixture->Main(), name);
        if (!w)
            qWarning("no %s", qPrintable(name));
        return w;
    }
    bool visible(const QString &name) { return find<QWidget>(name)->isVisible(); }
    bool enabled(const QString &name) { return find<QWidget>(name)->isEnabled(); }

    std::unique_ptr<TMainFixture> fixture;

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("alice", "pw1"));
        QVERIFY(fixture->Main()->SignedIn());
        QVERIFY(ModalAnswer::AllUsed());
    }
    void cleanup() { fixture.reset(); }

    void windowAfterSignIn() {
        TfrmMain *main = fixture->Main();
        QCOMPARE(main->windowTitle(), QString("Ledgerly - Username: alice"));
        QCOMPARE(ApplicationTitle(), QString("Ledgerly - Username: alice"));
        QCOMPARE(main->UserName, QString("alice"));
        QCOMPARE(main->DataFile, fixture->DataFile());
        QVERIFY(main->isVisible());
        QCOMPARE(main->size(), QSize(700, 525));
        QVERIFY(main->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(main->MarkedDate.isEmpty());
        QVERIFY(main->CurrentCatesList == nullptr);

        // Geometry of the frame and centre (relative to the parent).
        QCOMPARE(find<QWidget>("pnlTop")->geometry(), QRect(0, 0, 700, 36));
        QCOMPARE(find<QWidget>("pnlLeft")->geometry(), QRect(0, 36, 2, 483));
        QCOMPARE(find<QWidget>("pnlRight")->geometry(), QRect(698, 36, 2, 483));
        QCOMPARE(find<QWidget>("pnlBottom")->geometry(), QRect(0, 519, 700, 6));
        QCOMPARE(find<QWidget>("pnlCenter")->geometry(), QRect(2, 36, 696, 483));
        QCOMPARE(find<QWidget>("rdoIncome")->geometry(), QRect(94, 10, 64, 17));
        QCOMPARE(find<QWidget>("imgMenu")->geometry(), QRect(639, 12, 43, 13));
        QCOMPARE(find<QWidget>("btnOutAdd")->geometry(), QRect(610, 100, 74, 23));
        QCOMPARE(find<QWidget>("lvwInRecs")->geometry(), QRect(12, 135, 672, 267));
        for (const char *panel : {"pnlExpense", "pnlIncome", "pnlTransactions"})
            QCOMPARE(find<QWidget>(panel)->geometry(), QRect(0, 38, 696, 445));

        // Start state: Expense panel, transactions sub-panel, day totals.
        QVERIFY(visible("pnlExpense"));
        QVERIFY(!find<QWidget>("pnlIncome")->isVisibleTo(main));
        QVERIFY(!find<QWidget>("pnlTransactions")->isVisibleTo(main));
        QWidget *trans = find<QWidget>("pnlTransactions");
        QVERIFY(find<QWidget>("pnlTransTransactions")->isVisibleTo(trans));
        QVERIFY(!find<QWidget>("pnlTransCategories")->isVisibleTo(trans));
        QVERIFY(find<QWidget>("lvwDayTotal")->isVisibleTo(trans));
        QVERIFY(!find<QWidget>("lvwMonthTotal")->isVisibleTo(trans));

        const QDate today = QDate::currentDate();
        QCOMPARE(find<QDateEdit>("dtpOutDate")->date(), today);
        QCOMPARE(find<QDateEdit>("dtpInDate")->date(), today);
        QCOMPARE(find<QDateEdit>("dtpTransDate1")->date(), QDate(today.year(), today.month(), 1));
        QCOMPARE(find<QDateEdit>("dtpTransDate2")->date(), today);
        QCOMPARE(find<QDateEdit>("dtpTransDate1")->displayFormat(), QString("MM/dd/yyyy"));

        QCOMPARE(find<QLabel>("lblOutTotal")->text(), QString("Total: 0.00"));
        QCOMPARE(find<QLabel>("lblInTotal")->text(), QString("Total: 0.00"));
        const QString zero("Income: 0.00    Expenses: 0.00    Net Income: 0.00");
        QCOMPARE(find<QLabel>("lblTransTotal")->text(), zero);
        QCOMPARE(find<QLabel>("lblCatesTotal")->text(), zero);
        QVERIFY(enabled("btnTransSearch"));
        QVERIFY(!enabled("btnOutAdd"));
        QVERIFY(!enabled("btnInAdd"));
        // The menu picture shows the "up" picture.
        QCOMPARE(find<QLabel>("imgMenu")->pixmap().toImage(),
                 find<QLabel>("imgMenuUp")->pixmap().toImage());

        // The window's own push buttons are flat; the buttons of the file
        // dialogs it owns keep the ordinary look.
        QVERIFY(find<QPushButton>("btnOutAdd")->isFlat());
        QVERIFY(find<QPushButton>("btnTransSearch")->isFlat());
        int dialogButtons = 0;
        for (QWidget *dialog : {static_cast<QWidget *>(main->SaveDialog1),
                                static_cast<QWidget *>(main->OpenDialog1)}) {
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                QVERIFY2(!button->isFlat(), qPrintable(button->text()));
                ++dialogButtons;
            }
        }
        QVERIFY(dialogButtons >= 4);
        // They open in the home folder, not in the program's folder.
        QCOMPARE(main->SaveDialog1->directory(), QDir::home());
        QCOMPARE(main->OpenDialog1->directory(), QDir::home());
    }

    void modeSwitching() {
        TfrmMain *main = fixture->Main();
        QTest::mouseClick(find<QRadioButton>("rdoIncome"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlIncome")->isVisible());
        QVERIFY(!find<QWidget>("pnlExpense")->isVisible());
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlTransactions")->isVisible());
        QVERIFY(!find<QWidget>("pnlIncome")->isVisible());
        QVERIFY(find<QRadioButton>("rdoExpense")->isChecked() == false);
        // Clicking the checked button again changes nothing.
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlTransactions")->isVisible());

        // The sub-panel radio buttons are a group of their own.
        QTest::mouseClick(find<QRadioButton>("rdoTransCategories"), Qt::LeftButton);
        QVERIFY(find<QWidget>("pnlTransCategories")->isVisible());
        QVERIFY(!find<QWidget>("pnlTransTransactions")->isVisible());
        QVERIFY(find<QRadioButton>("rdoTransactions")->isChecked());

        // The tab strip chooses the totals list; a hidden panel keeps its state.
        QTest::mouseClick(find<QRadioButton>("rdoTransTransactions"), Qt::LeftButton);
        find<QTabBar>("TabSet1")->setCurrentIndex(1);
        QVERIFY(find<QWidget>("lvwMonthTotal")->isVisible());
        QVERIFY(!find<QWidget>("lvwDayTotal")->isVisible());
        find<QLineEdit>("edtOutNotes")->setText("kept");
        QTest::mouseClick(find<QRadioButton>("rdoExpense"), Qt::LeftButton);
        QCOMPARE(find<QLineEdit>("edtOutNotes")->text(), QString("kept"));
        QVERIFY(!find<QWidget>("pnlTransactions")->isVisibleTo(main));
    }

    // Tab visits only the date, category, amount and notes boxes and Add.
    void entryTabOrder() {
        for (const QString &p : {QString("Out"), QString("In")}) {
            QWidget *panel = find<QWidget>(p == "Out" ? "pnlExpense" : "pnlIncome");
            QWidget *start = find<QWidget>("dtp" + p + "Date");
            QStringList order;
            QWidget *w = start;
            do {
                if (w->parentWidget() == panel && (w->focusPolicy() & Qt::TabFocus))
                    order << w->objectName();
                w = w->nextInFocusChain();
            } while (w != start && order.size() < 10);
            QCOMPARE(order,
                     QStringList({"dtp" + p + "Date", "cbo" + p + "Cate", "edt" + p + "Amount",
                                  "edt" + p + "Notes", "btn" + p + "Add"}));
        }
    }

    void accountMenuItems() {
        QMenu *menu = fixture->Main()->mnuMenu;
        QCOMPARE(menu->objectName(), QString("mnuMenu"));
        QStringList names, captions;
        for (QAction *a : menu->actions()) {
            names << a->objectName();
            captions << (a->isSeparator() ? QString("-") : a->text());
        }
        QCOMPARE(names, QStringList({"mnuMenu_SwitchUser", "mnuMenu_Separator0", "mnuMenu_SetPwd",
                                     "mnuMenu_DeleteUser", "mnuMenu_Separator1", "mnuMenu_Backup",
                                     "mnuMenu_Restore", "mnuMenu_Separator2", "mnuMenu_About",
                                     "mnuMenu_Separator3", "mnuMenu_Exit"}));
        QCOMPARE(captions,
                 QStringList({"Switch User", "-", "Set Password", "Delete alice", "-", "Backup",
                              "Restore from Backup", "-", "About...", "-", "Exit"}));
        QCOMPARE(menu->defaultAction()->objectName(), QString("mnuMenu_SwitchUser"));
        QVERIFY(menu->defaultAction()->font().bold());

        QStringList trans;
        for (QAction *a : fixture->Main()->mnuTransMenu->actions())
            trans << a->objectName();
        QCOMPARE(trans, QStringList({"btnTransMore_ToXls", "btnTransMore_ToHtml",
                                     "btnTransMore_Separator", "btnTransMore_Print"}));
        QCOMPARE(fixture->Main()->mnuCatesExport->actions().size(), 2);
    }

    void menuPicture() {
        auto *img = find<QLabel>("imgMenu");
        const QImage up = find<QLabel>("imgMenuUp")->pixmap().toImage();
        const QImage down = find<QLabel>("imgMenuDown")->pixmap().toImage();
        QVERIFY(up != down);
        QMenu *menu = fixture->Main()->mnuMenu;

        // A right click neither changes the picture nor opens the menu.
        QTest::mousePress(img, Qt::RightButton);
        QCOMPARE(img->pixmap().toImage(), up);
        QTest::mouseRelease(img, Qt::RightButton);
        QVERIFY(!menu->isVisible());

        QTest::mousePress(img, Qt::LeftButton);
        QCOMPARE(img->pixmap().toImage(), down);
        QTest::mouseRelease(img, Qt::LeftButton);
        QCOMPARE(img->pixmap().toImage(), up);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }

    void buttonRules() {
        TfrmMain *main = fixture->Main();
        const QStringList all = {"btnOutSave",   "btnOutEdit",     "btnOutDelete",
                                 "btnInSave",    "btnInEdit",      "btnInDelete",
                                 "btnTransMore", "btnTransEdit",   "btnTransDelete",
                                 "btnMoreInfo",  "btnCatesExport", "btnCatesPrint"};
        const auto enabledSet = [&] {
            QStringList on;
            for (const QString &b : all)
                if (enabled(b))
                    on << b;
            return on;
        };
        QCOMPARE(enabledSet(), QStringList());

        auto *out = find<QTreeView>("lvwOutRecs");
        ListModel(out)->AppendRow({"01/02/2024", "Expense", "Food", "1.00", ""});
        QCOMPARE(enabledSet(), QStringList({"btnOutSave"}));
        SelectRow(out, 0);
        QCOMPARE(enabledSet(), QStringList({"btnOutSave", "btnOutEdit", "btnOutDelete"}));
        ListModel(out)->Clear();

        auto *in = find<QTreeView>("lvwInRecs");
        ListModel(in)->AppendRow({"01/02/2024", "Income", "Pay", "1.00", ""});
        SelectRow(in, 0);
        QCOMPARE(enabledSet(), QStringList({"btnInSave", "btnInEdit", "btnInDelete"}));
        ListModel(in)->Clear();

        auto *trans = find<QTreeView>("lvwTrans");
        ListModel(trans)->AppendRow({"7", "01/02/2024", "Pay", "1.00", "", ""});
        QCOMPARE(enabledSet(), QStringList({"btnTransMore"}));
        SelectRow(trans, 0);
        QCOMPARE(enabledSet(), QStringList({"btnTransMore", "btnTransEdit", "btnTransDelete"}));
        ListModel(trans)->Clear();

        // Only the income category list has rows: Export and Print are enabled.
        ListModel(find<QTreeView>("lvwInCates"))
            ->AppendRow({"Income", "Pay", "1", "1.00", "100.00%"});
        QCOMPARE(enabledSet(), QStringList({"btnCatesExport", "btnCatesPrint"}));
        main->CurrentCatesList = find<QTreeView>("lvwInCates");
        main->UpdateButtons();
        QCOMPARE(enabledSet(), QStringList({"btnMoreInfo", "btnCatesExport", "btnCatesPrint"}));
    }

    void helpers() {
        TfrmMain *main = fixture->Main();
        auto *out = find<QTreeView>("lvwOutRecs");
        for (int i = 1; i <= 3; ++i)
            ListModel(out)->AppendRow({"01/0" + QString::number(i) + "/2024", "Expense", "F",
                                       QString::number(i) + ".25", ""});
        TStringsArray rows = {{"a"}, {"b"}};
        main->CollectRows(out, rows);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.at(2).at(0), QString("01/01/2024"));
        QCOMPARE(rows.at(4).at(3), QString("3.25"));
        main->UpdatePendingTotal(out, find<QLabel>("lblOutTotal"));
        QCOMPARE(find<QLabel>("lblOutTotal")->text(), QString("Total: 6.75"));

        main->ShowPeriodTotals(10, 22.5);
        QCOMPARE(find<QLabel>("lblCatesTotal")->text(),
                 QString("Income: 10.00    Expenses: 22.50    Net Income: -12.50"));

        // A reversed period disables Search; the same day enables it.
        find<QDateEdit>("dtpTransDate1")->setDate(QDate(2024, 3, 2));
        find<QDateEdit>("dtpTransDate2")->setDate(QDate(2024, 3, 1));
        QVERIFY(!enabled("btnTransSearch"));
        find<QDateEdit>("dtpTransDate2")->setDate(QDate(2024, 3, 2));
        QVERIFY(enabled("btnTransSearch"));

        // Add rule: a category and an amount of at least one cent.
        find<QComboBox>("cboOutCate")->setEditText(" Food ");
        for (const char *bad : {"0.009", "0", "-5", "abc", ""}) {
            find<QLineEdit>("edtOutAmount")->setText(bad);
            QVERIFY2(!enabled("btnOutAdd"), bad);
        }
        find<QLineEdit>("edtOutAmount")->setText("0.01");
        QVERIFY(enabled("btnOutAdd"));
        find<QComboBox>("cboOutCate")->setEditText("  ");
        QVERIFY(!enabled("btnOutAdd"));
    }

    // With LEDGERLY_SCREENSHOT_DIR set (tools/screenshots.sh), saves pictures
    // of the sign-in window, each panel of the main window and the About window.
    void screenshots() {
        const QString dir = qEnvironmentVariable("LEDGERLY_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("LEDGERLY_SCREENSHOT_DIR not set");
        fixture->CloseMain();
        {
            // The sign-in window, with the known user pre-selected.
            TfrmLogin login(nullptr, {QCoreApplication::applicationFilePath()});
            login.show();
            QVERIFY(QTest::qWaitForWindowExposed(&login));
            QTest::qWait(200);
            const QImage image = login.grab().toImage();
            QVERIFY(image.save(dir + "/login.png"));
        }

        TfrmMain *main = fixture->SignIn("alice", "pw1", false);
        QVERIFY(main->SignedIn());
        const auto shot = [&](const QString &name) {
            QTest::qWait(100);
            const QImage image = main->grab().toImage();
            QVERIFY(!image.isNull());
            QVERIFY(image.save(dir + "/" + name + ".png"));
        };
        shot("main-expense");
        find<QRadioButton>("rdoIncome")->click();
        shot("main-income");
        find<QRadioButton>("rdoTransactions")->click();
        shot("main-transactions");
        find<QRadioButton>("rdoTransCategories")->click();
        shot("main-categories");

        QImage about;
        ModalAnswer::Next([&](QWidget *w) {
            QTest::qWait(200);
            about = w->grab().toImage();
            QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
        });
        main->findChild<QAction *>("mnuMenu_About")->trigger();
        QVERIFY(ModalAnswer::AllUsed());
        QVERIFY(about.save(dir + "/about.png"));
    }

    void errorReportRestoresBusyState() {
        TfrmMain *main = fixture->Main();
        auto *button = find<QPushButton>("btnOutSave");
        button->setEnabled(true);
        QString text, caption;
        ModalAnswer::MessageBox(QMessageBox::Ok, &text, &caption);
        main->RunGuarded([&] {
            main->SetBusy(true, button);
            struct Restore {
                TfrmMain *m;
                QWidget *b;
                ~Restore() { m->SetBusy(false, b); }
            } restore{main, button};
            throw std::runtime_error("disk on fire");
        });
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("disk on fire"));
        QCOMPARE(caption, QString("Ledgerly - Username: alice"));
        QVERIFY(button->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // A message quoting a file name is shown as it is, never as markup.
        Qt::TextFormat format = Qt::AutoText;
        ModalAnswer::Next([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            text = box->text();
            format = box->textFormat();
            box->accept();
        });
        main->RunGuarded([] { throw std::runtime_error("Could not write \"/tmp/<b>x</b>\""); });
        QVERIFY(ModalAnswer::AllUsed());
        QCOMPARE(text, QString("Could not write \"/tmp/<b>x</b>\""));
        QCOMPARE(format, Qt::PlainText);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
