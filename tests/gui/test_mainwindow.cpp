// The main window: title after sign-in, where its controls stand and how
// they follow a growing window, the place it opens at, mode switching, the
// account menu, the menu picture and the list-dependent buttons.
#include "app/Translations.h"
#include "forms/ErrorReport.h"
#include "forms/LoginForm.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"
#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/Sqlite.h"
#include "tests/support/MainFixture.h"
#include "tests/support/TestDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
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

    // Whether the caption of a label or button is wider than the room its
    // control gives it (a button's room is what its style leaves beside the
    // indicator and inside the frame).
    static bool Overflows(QWidget *w) {
        QString text;
        QRect room;
        if (const auto *label = qobject_cast<QLabel *>(w)) {
            text = label->text();
            room = label->contentsRect();
        } else if (const auto *button = qobject_cast<QAbstractButton *>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text = button->text();
            const QStyle::SubElement contents =
                qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonContents
                : qobject_cast<QCheckBox *>(w)  ? QStyle::SE_CheckBoxContents
                                                : QStyle::SE_PushButtonContents;
            room = w->style()->subElementRect(contents, &option, w);
        }
        text.replace("&&", "\x01").remove('&');
        return w->fontMetrics().horizontalAdvance(text) > room.width();
    }

    // Each view of the window in turn (both entry panels and the three
    // sub-panels of Transactions): per visible control, its place in the
    // window; `visit` sees each of them. Every control lies inside the window.
    QMap<QString, QRect> Views(const std::function<void(QWidget *)> &visit = {}) {
        TfrmMain *main = fixture->Main();
        QMap<QString, QRect> seen;
        for (const char *view : {"rdoExpense", "rdoIncome", "rdoTransTransactions",
                                 "rdoTransCategories", "rdoTransCharts", "rdoTransBudgets"}) {
            if (QByteArray(view).startsWith("rdoTrans"))
                find<QRadioButton>("rdoTransactions")->click();
            find<QRadioButton>(view)->click();
            for (QWidget *w : main->findChildren<QWidget *>()) {
                if (!w->isVisible() || w->isWindow())
                    continue;
                const QRect r(w->mapTo(main, QPoint(0, 0)), w->size());
                if (!main->rect().contains(r)) {
                    qWarning() << w << r << "lies outside of" << main->rect();
                    return {};
                }
                seen[w->objectName()] = r;
                if (visit)
                    visit(w);
            }
        }
        return seen;
    }

public:
    static void initMain() { UseOffscreenScreens({{1600, 1000}}); }

private slots:
    void init() {
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("alice", "pw1"));
        QVERIFY(fixture->Main()->SignedIn());
    }
    void cleanup() { fixture.reset(); }

    void windowAfterSignIn() {
        TfrmMain *main = fixture->Main();
        QCOMPARE(main->windowTitle(), QString("Ledgerly - Username: alice"));
        QCOMPARE(ApplicationTitle(), QString("Ledgerly - Username: alice"));
        QCOMPARE(main->UserName(), QString("alice"));
        QCOMPARE(main->DataFile(), fixture->DataFile());
        QVERIFY(main->isVisible());
        QCOMPARE(main->size(), QSize(700, 525));
        QVERIFY(main->windowFlags() & Qt::FramelessWindowHint);
        // In the middle of the screen.
        QCOMPARE(main->geometry().center(), main->screen()->availableGeometry().center());

        // Where the main controls stand at the default size, in their parents.
        const struct {
            const char *Name;
            QRect Place;
        } places[] = {{"pnlTop", {0, 0, 700, 36}},           {"pnlLeft", {0, 36, 2, 483}},
                      {"pnlRight", {698, 36, 2, 483}},       {"pnlBottom", {0, 519, 700, 6}},
                      {"pnlCenter", {2, 36, 696, 483}},      {"IconImage", {10, 11, 17, 13}},
                      {"MinimizeButton", {649, 8, 20, 20}},  {"CloseButton", {670, 8, 20, 20}},
                      {"pnlControl", {0, 0, 696, 38}},       {"rdoIncome", {94, 10, 76, 17}},
                      {"imgMenu", {639, 12, 43, 13}},        {"pnlExpense", {0, 38, 696, 445}},
                      {"pnlIncome", {0, 38, 696, 445}},      {"pnlTransactions", {0, 38, 696, 445}},
                      {"edtOutNotes", {293, 101, 311, 21}},  {"btnOutAdd", {610, 100, 74, 23}},
                      {"lvwInRecs", {12, 135, 672, 267}},    {"btnInSave", {610, 410, 74, 23}},
                      {"btnTransSearch", {258, 9, 74, 23}},  {"pnlTransCharts", {0, 38, 696, 407}},
                      {"Splitter1", {12, 0, 672, 364}},      {"btnTransMore", {610, 372, 74, 23}},
                      {"Splitter3", {12, 0, 672, 364}},      {"lblCatesTotal", {12, 377, 430, 14}},
                      {"chvCates", {12, 22, 318, 342}},      {"chvMonths", {336, 0, 348, 364}},
                      {"btnChartsPrint", {610, 372, 74, 23}}};
        for (const auto &[name, place] : places)
            QVERIFY2(find<QWidget>(name)->geometry() == place, name);
        QCOMPARE(find<QWidget>("edtTransFind")->geometry(), QRect(420, 8, 200, 21));

        // Start state: Expense panel, transactions sub-panel, day totals.
        QVERIFY(visible("pnlExpense"));
        QVERIFY(!find<QWidget>("pnlIncome")->isVisibleTo(main));
        QVERIFY(!find<QWidget>("pnlTransactions")->isVisibleTo(main));
        QWidget *trans = find<QWidget>("pnlTransactions");
        QVERIFY(find<QWidget>("pnlTransTransactions")->isVisibleTo(trans));
        QVERIFY(!find<QWidget>("pnlTransCategories")->isVisibleTo(trans));
        QVERIFY(find<QWidget>("lvwDayTotal")->isVisibleTo(trans));
        // The sub-panel buttons follow Search in the top row, apart from each
        // other, inside the panel, each wide enough for its caption.
        QRect before = find<QWidget>("btnTransSearch")->geometry();
        for (const char *name : {"rdoTransTransactions", "rdoTransCategories", "rdoTransCharts"}) {
            const auto *radio = find<QRadioButton>(name);
            QVERIFY(radio->x() > before.right() && radio->geometry().right() < 696);
            QVERIFY(radio->sizeHint().width() <= radio->width());
            before = radio->geometry();
        }
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
        auto *save = find<QFileDialog>("SaveDialog1");
        auto *open = find<QFileDialog>("OpenDialog1");
        int dialogButtons = 0;
        for (QFileDialog *dialog : {save, open}) {
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                QVERIFY2(!button->isFlat(), qPrintable(button->text()));
                ++dialogButtons;
            }
        }
        QVERIFY(dialogButtons >= 4);
        // They open in the home folder, not in the program's folder.
        QCOMPARE(save->directory(), QDir::home());
        QCOMPARE(open->directory(), QDir::home());
    }

    // Enlarged, the lists and charts grow and the buttons keep to their
    // edges; the next start opens at that size, or maximised, per person.
    void growsAndOpensAsLeft() {
        TDbMan(fixture->DataFile())
            .AddRecord("alice", TestRecord("01/02/2024", "Expense", "Food", "1.00"));
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 1, 31));
        const QMap<QString, QRect> before = Views();
        fixture->Main()->setGeometry(100, 100, 1200, 800);
        const QMap<QString, QRect> after = Views();
        QVERIFY(!before.isEmpty() && !after.isEmpty());
        for (const char *grows : {"lvwOutRecs", "lvwInRecs", "lvwTrans", "lvwDayTotal",
                                  "lvwInCates", "lvwOutCates", "chvCates", "chvMonths"})
            QVERIFY2(after[grows].width() > before[grows].width() &&
                         after[grows].height() > before[grows].height(),
                     grows);
        for (const char *keeps :
             {"CloseButton", "imgMenu", "btnOutAdd", "btnOutSave", "btnInSave", "rdoTransCharts",
              "btnTransMore", "btnCatesPrint", "btnChartsPrint"})
            QVERIFY2(after[keeps].size() == before[keeps].size() &&
                         after[keeps].right() - before[keeps].right() == 500 &&
                         (after[keeps].top() == before[keeps].top() ||
                          after[keeps].bottom() - before[keeps].bottom() == 275),
                     keeps);
        // The find box takes the width between Search and the sub-panel buttons.
        QCOMPARE(after["edtTransFind"], before["edtTransFind"].adjusted(0, 0, 500, 0));
        QCOMPARE(find<QLabel>("imgTop")->pixmap().deviceIndependentSize(), QSizeF(1200, 36));

        const QRect place = fixture->Main()->geometry();
        fixture->SignIn("alice", "pw1", false);
        QCOMPARE(fixture->Main()->geometry(), place);
        QCOMPARE(find<QWidget>("lvwOutRecs")->width(), after["lvwOutRecs"].width());
        fixture->Main()->showMaximized();
        QTRY_VERIFY(fixture->Main()->isMaximized());
        fixture->SignIn("alice", "pw1", false);
        QVERIFY(fixture->Main()->isMaximized());
        QCOMPARE(fixture->Main()->normalGeometry(), place);
        fixture->SignIn("bob", "pw2");
        QCOMPARE(fixture->Main()->size(), QSize(700, 525));
    }

    // On a German system the start-up installs the German texts, Qt's own
    // included; every caption of the panels fits its control at the
    // default size.
    void inGerman() {
        const TTranslations german(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(german.Installed());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        TfrmMain *main = fixture->SignIn("alice", "pw1", false);
        QCOMPARE(main->windowTitle(), QString("Ledgerly - Benutzer: alice"));
        QCOMPARE(main->findChild<QAction *>("mnuMenu_SwitchUser")->text(),
                 QString("Benutzer wechseln"));
        QCOMPARE(find<QPushButton>("btnOutAdd")->text(), QString("&Hinzufügen"));
        QCOMPARE(find<QRadioButton>("rdoTransCharts")->text(), QString("Grafiken"));
        QCOMPARE(find<QLabel>("lblTransTotal")->text(),
                 QString("Einnahmen: 0.00    Ausgaben: 0.00    Saldo: 0.00"));
        QStringList overflowing;
        QVERIFY(!Views([&](QWidget *w) {
                     if (Overflows(w))
                         overflowing << w->objectName();
                 }).isEmpty());
        overflowing.removeDuplicates();
        QVERIFY2(overflowing.isEmpty(), qPrintable(overflowing.join(u' ')));
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
        // A click on the checked one changes nothing, the charts' too, whose
        // panel holds radio buttons of its own.
        for (const char *sub : {"rdoTransCharts", "rdoTransCategories"}) {
            QTest::mouseClick(find<QRadioButton>(sub), Qt::LeftButton);
            QTest::mouseClick(find<QRadioButton>(sub), Qt::LeftButton);
            QVERIFY2(find<QRadioButton>(sub)->isChecked(), sub);
        }
        QVERIFY(find<QWidget>("pnlTransCategories")->isVisible());

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
        QMenu *menu = find<QMenu>("mnuMenu");
        QStringList names, captions;
        for (QAction *a : menu->actions()) {
            names << a->objectName();
            captions << (a->isSeparator() ? QString("-") : a->text());
        }
        QCOMPARE(names.mid(0, 3),
                 QStringList({"mnuMenu_Undo", "mnuMenu_Redo", "mnuMenu_SeparatorUndo"}));
        // Nothing to undo or redo yet.
        QCOMPARE(captions.mid(0, 2), QStringList({"Undo", "Redo"}));
        QVERIFY(!menu->actions()[0]->isEnabled() && !menu->actions()[1]->isEnabled());
        names.remove(0, 3);
        captions.remove(0, 3);
        QCOMPARE(names, QStringList({"mnuMenu_SwitchUser", "mnuMenu_Separator0", "mnuMenu_SetPwd",
                                     "mnuMenu_DeleteUser", "mnuMenu_Separator1", "mnuMenu_Import",
                                     "mnuMenu_Budgets", "mnuMenu_Backup", "mnuMenu_Restore",
                                     "mnuMenu_Recurring", "mnuMenu_Separator2", "mnuMenu_About",
                                     "mnuMenu_Separator3", "mnuMenu_Exit"}));
        QCOMPARE(captions,
                 QStringList({"Switch User", "-", "Set Password", "Delete alice", "-",
                              "Import Statement...", "Budgets...", "Backup", "Restore from Backup",
                              "Recurring Entries...", "-", "About...", "-", "Exit"}));
        QCOMPARE(menu->defaultAction()->objectName(), QString("mnuMenu_SwitchUser"));
        QVERIFY(menu->defaultAction()->font().bold());

        QStringList trans;
        for (QAction *a : find<QMenu>("mnuTransMenu")->actions())
            trans << a->objectName();
        QCOMPARE(trans, QStringList({"btnTransMore_ToXls", "btnTransMore_ToHtml", "actExportSheet",
                                     "btnTransMore_Separator", "btnTransMore_Print",
                                     "btnTransMore_Separator2", "btnTransMore_Repeat"}));
        QCOMPARE(find<QMenu>("mnuCatesExport")->actions().size(), 3);
    }

    void recurringEntriesWindow() {
        // Add through the editor: the list shows the schedule and the next
        // date; the add is one undo step.
        QList<QStringList> shown;
        TestDialogs::Dialog([&](QDialog *w) {
            QCOMPARE(w->objectName(), QString("frmRecurring"));
            TMainFixture::Find<QPushButton>(w, "btnRecurringAdd")->click();
            shown = ListTexts(TMainFixture::Find<QTreeView>(w, "lvwRecurring"));
            w->accept();
        });
        TestDialogs::Dialog([](QDialog *w) {
            TMainFixture::Find<QComboBox>(w, "cboRecurringCate")->setEditText("Rent");
            TMainFixture::Find<QLineEdit>(w, "edtRecurringAmount")->setText("700");
            TMainFixture::Find<QDateEdit>(w, "dtpRecurringFirst")->setDate({2026, 1, 31});
            TMainFixture::Find<QPushButton>(w, "btnRecurringOk")->click();
        });
        find<QAction>("mnuMenu_Recurring")->trigger();
        QCOMPARE(shown, QList<QStringList>({{"Expense", "Rent", "700.00", "",
                                             "Every month from 01/31/2026", "01/31/2026"}}));
        const auto entries = [&] {
            return SignedInStore(fixture->DataFile(), "alice", "pw1")
                .RecurringEntries("alice")
                .size();
        };
        QCOMPARE(entries(), 1);
        QCOMPARE(find<QAction>("mnuMenu_Undo")->text(),
                 QString("Undo Add of the recurring entry 700.00 Rent"));
        find<QAction>("mnuMenu_Undo")->trigger();
        QCOMPARE(entries(), 0);
    }

    void menuPicture() {
        auto *img = find<QLabel>("imgMenu");
        const QImage up = find<QLabel>("imgMenuUp")->pixmap().toImage();
        const QImage down = find<QLabel>("imgMenuDown")->pixmap().toImage();
        QVERIFY(up != down);
        QMenu *menu = find<QMenu>("mnuMenu");

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
        const auto addPending = [&](const QString &part, const QString &cate) {
            find<QComboBox>("cbo" + part + "Cate")->setEditText(cate);
            find<QLineEdit>("edt" + part + "Amount")->setText("1.00");
            QTest::mouseClick(find<QPushButton>("btn" + part + "Add"), Qt::LeftButton);
        };

        // A pending row enables Save; a selected one Edit and Delete, in
        // its own panel only.
        addPending("Out", "Food");
        QCOMPARE(enabledSet(), QStringList({"btnOutSave"}));
        SelectRow(find<QTreeView>("lvwOutRecs"), 0);
        QCOMPARE(enabledSet(), QStringList({"btnOutSave", "btnOutEdit", "btnOutDelete"}));
        QTest::mouseClick(find<QRadioButton>("rdoIncome"), Qt::LeftButton);
        addPending("In", "Pay");
        SelectRow(find<QTreeView>("lvwInRecs"), 0);
        const QStringList pending = {"btnOutSave", "btnOutEdit", "btnOutDelete",
                                     "btnInSave",  "btnInEdit",  "btnInDelete"};
        QCOMPARE(enabledSet(), pending);

        // A period with one income record: More, and Export and Print of the
        // categories (only the income list has a row); Edit and Delete with
        // a selected record, More Info with a selected category.
        TDbMan(fixture->DataFile())
            .AddRecord("alice", TestRecord("01/02/2024", "Income", "Pay", "1.00"));
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 1, 31));
        QCOMPARE(enabledSet(),
                 pending + QStringList({"btnTransMore", "btnCatesExport", "btnCatesPrint"}));
        SelectRow(find<QTreeView>("lvwTrans"), 0);
        QCOMPARE(enabledSet(),
                 pending + QStringList({"btnTransMore", "btnTransEdit", "btnTransDelete",
                                        "btnCatesExport", "btnCatesPrint"}));
        QCOMPARE(ListTexts(find<QTreeView>("lvwOutCates")).size(), 0);
        SelectRow(find<QTreeView>("lvwInCates"), 0);
        QCOMPARE(enabledSet(),
                 pending + QStringList({"btnTransMore", "btnTransEdit", "btnTransDelete",
                                        "btnMoreInfo", "btnCatesExport", "btnCatesPrint"}));
    }

    // With LEDGERLY_SCREENSHOT_DIR set (tools/screenshots.sh), saves pictures
    // of the sign-in window, each panel of the main window (also enlarged),
    // the screen, the About window and the import window, in the system's
    // language as the program shows them.
    void screenshots() {
        const QString dir = qEnvironmentVariable("LEDGERLY_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("LEDGERLY_SCREENSHOT_DIR not set");
        const TTranslations translations(QLocale::system());
        fixture->CloseMain();
        {
            // The sign-in window, with the known user pre-selected.
            TDbMan db(fixture->DataFile());
            TfrmLogin login(db);
            login.show();
            QVERIFY(QTest::qWaitForWindowExposed(&login));
            const QImage image = login.grab().toImage();
            QVERIFY(image.save(dir + "/login.png"));
        }
        {
            // The bar of a book an older Ledgerly kept, sealed at sign-in.
            TDbMan(fixture->DataFile()).AddUser("old", "pw");
            TSqlConnection(fixture->DataFile(), TSqlConnection::TMode::ReadWrite)
                .Exec(("UPDATE users SET key = ''; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                       "SELECT i + 1 FROM n WHERE i < 5000) INSERT INTO data (user, date, type, "
                       "amount) SELECT '" +
                       EncodeField("old") + "', '2020-01-01', 'Expense', 1 FROM n")
                          .toUtf8()
                          .constData());
            struct TGrab : QObject {
                QString Path;
                bool eventFilter(QObject *object, QEvent *event) override {
                    if (event->type() == QEvent::Show &&
                        object->objectName() == QLatin1String("dlgSealProgress"))
                        static_cast<QWidget *>(object)->grab().save(Path);
                    return false;
                }
            } grab;
            grab.Path = dir + "/seal.png";
            qApp->installEventFilter(&grab);
            TDbMan db(fixture->DataFile());
            TfrmLogin login(db);
            login.show();
            TMainFixture::Find<QComboBox>(&login, "cboUsername")->setCurrentText("old");
            TMainFixture::Find<QLineEdit>(&login, "edtPassword")->setText("pw");
            TMainFixture::Find<QPushButton>(&login, "btnSubmit")->click();
            qApp->removeEventFilter(&grab);
            QVERIFY(QFile::exists(grab.Path));
        }

        TfrmMain *main = fixture->SignIn("alice", "pw1", false);
        QVERIFY(main->SignedIn());
        const auto shot = [&](const QString &name) {
            QCoreApplication::processEvents();
            const QImage image = main->grab().toImage();
            QVERIFY(!image.isNull());
            QVERIFY(image.save(dir + "/" + name + ".png"));
        };
        shot("main-expense");
        // Where the window opens on the screen.
        QVERIFY(main->screen()->grabWindow(0).save(dir + "/screen.png"));
        find<QRadioButton>("rdoIncome")->click();
        shot("main-income");
        find<QRadioButton>("rdoTransactions")->click();
        shot("main-transactions");
        find<QRadioButton>("rdoTransCategories")->click();
        shot("main-categories");

        // The charts of a generated year of records, by month and by day.
        QRandomGenerator random(2024);
        const QStringList out = {"Rent",     "Food",   "Car",    "Utilities", "Health",
                                 "Clothing", "Travel", "Gifts",  "Books",     "Phone",
                                 "Garden",   "Cinema", "Stamps", "Charity"};
        QList<TRecord> records;
        for (QDate day(2024, 1, 1); day.year() == 2024; day = day.addDays(1)) {
            if (day.day() == 1) {
                records << TestRecord(day.toString("MM/dd/yyyy"), "Income", "Salary", "3200.00");
                records << TestRecord(day.toString("MM/dd/yyyy"), "Expense", "Rent", "1100.00");
            }
            if (day.day() == 15 && day.month() % 3 == 0)
                records << TestRecord(day.toString("MM/dd/yyyy"), "Income", "Interest",
                                      QString::number(40 + random.bounded(60)) + ".00");
            for (int n = random.bounded(3); n > 0; --n) {
                // Lower categories are rarer and smaller.
                const int c =
                    1 + std::min(random.bounded(out.size() - 1), random.bounded(out.size() - 1));
                const int cents = 100 + random.bounded(int(12000 / c));
                records << TestRecord(day.toString("MM/dd/yyyy"), "Expense", out.at(c),
                                      QString::asprintf("%d.%02d", cents / 100, cents % 100));
            }
        }
        TDbMan(fixture->DataFile()).AddRecords("alice", records);
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 12, 31));
        find<QRadioButton>("rdoTransCharts")->click();
        shot("main-charts");
        fixture->Search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        find<QRadioButton>("rdoChartIn")->click();
        shot("main-charts-days");
        find<QRadioButton>("rdoChartOut")->click();
        fixture->Search(QDate(2030, 1, 1), QDate(2030, 1, 31));
        shot("main-charts-empty");
        // Enlarged, and as large as the screen.
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 12, 31));
        main->resize(1200, 800);
        shot("main-large-charts");
        find<QRadioButton>("rdoTransTransactions")->click();
        shot("main-large-transactions");
        auto *findBox = find<QLineEdit>("edtTransFind");
        findBox->setText("cinema");
        QTest::keyClick(findBox, Qt::Key_Return);
        shot("main-large-find");
        main->setGeometry(main->screen()->availableGeometry());
        find<QRadioButton>("rdoExpense")->click();
        shot("main-screen-expense");
        main->resize(700, 525);
        find<QRadioButton>("rdoTransactions")->click();
        shot("main-find");
        // Budgets of the main categories: a month of them, and the year's
        // bars with the budget line.
        TDbMan(fixture->DataFile())
            .SetBudgets("alice", {},
                        {{TRecordType::Expense, "Rent", 110000},
                         {TRecordType::Expense, "Food", 60000},
                         {TRecordType::Expense, "Car", 25000},
                         {TRecordType::Expense, "Utilities", 15000},
                         {TRecordType::Expense, "Health", 6000}});
        find<QRadioButton>("rdoTransactions")->click();
        fixture->Search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        find<QRadioButton>("rdoTransBudgets")->click();
        shot("main-budgets");
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 12, 31));
        find<QRadioButton>("rdoTransCharts")->click();
        shot("main-charts-budget");

        QImage about;
        TestDialogs::Dialog([&](QDialog *w) {
            about = w->grab().toImage();
            w->accept();
        });
        main->findChild<QAction *>("mnuMenu_About")->trigger();
        QVERIFY(about.save(dir + "/about.png"));

        // The import window on a German bank's file.
        QImage import;
        TestDialogs::File(LEDGERLY_TEST_DATA_DIR "/import/de_giro.csv");
        TestDialogs::Dialog([&](QDialog *w) {
            import = w->grab().toImage();
            w->resize(w->size() + QSize(300, 200));
            w->findChild<QTabWidget *>("tabImport")->setCurrentIndex(1);
            w->grab().save(dir + "/import-large.png");
            w->reject();
        });
        main->findChild<QAction *>("mnuMenu_Import")->trigger();
        QVERIFY(import.save(dir + "/import.png"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
