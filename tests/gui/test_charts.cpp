// The Charts sub-panel through the real main window: built only while it is
// shown, a line instead of empty charts, a click on a slice or a bar leads
// to the records behind it, the saved PNG and SVG read back with Qt's
// readers, and the printed page read back from a PDF.
#include "forms/ChartsPanel.h"
#include "forms/MainForm.h"
#include "forms/PrintForm.h"
#include "forms/RowsModel.h"
#include "store/DbClass.h"
#include "tests/support/MainFixture.h"
#include "tests/support/PdfWords.h"
#include "tests/support/TestDialogs.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QImageReader>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cmath>

class TestCharts : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainFixture> fixture;
    QTemporaryDir dir;

    template <class T> T *find(const QString &name) { return fixture->Need<T>(name); }
    TChartsPanel *panel() { return find<TChartsPanel>("pnlTransCharts"); }
    QChartView *view(const QString &name) { return find<QChartView>(name); }
    void showCharts() { QTest::mouseClick(find<QRadioButton>("rdoTransCharts"), Qt::LeftButton); }

    // Clicks `view` at the point `at` of its chart.
    void clickChart(QChartView *v, const QPointF &at) {
        const QPoint pos = v->mapFromScene(v->chart()->mapToScene(at));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, pos);
    }
    // The middle of the ring of slice `index` of the donut.
    QPointF sliceCentre(QChartView *v, int index) {
        const auto *pie = qobject_cast<QPieSeries *>(v->chart()->series().constFirst());
        const QRectF area = v->chart()->plotArea();
        const qreal outer = std::min(area.width(), area.height()) / 2;
        const qreal radius = outer * (pie->pieSize() + pie->holeSize()) / 2;
        const QPieSlice *slice = pie->slices().at(index);
        const qreal angle = (slice->startAngle() + slice->angleSpan() / 2) * M_PI / 180;
        return area.center() + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
    }
    // The middle of the expense bar `index`.
    QPointF expenseBar(QChartView *v, int index) {
        auto *bars = qobject_cast<QBarSeries *>(v->chart()->series().constFirst());
        const qreal out = bars->barSets().at(1)->at(index);
        return v->chart()->mapToPosition(QPointF(index + 0.2, out / 2), bars);
    }
    // The texts written on a chart and shown (legend, hole, message).
    QStringList chartTexts(QChartView *v) {
        QStringList texts;
        for (QGraphicsItem *item : v->chart()->childItems())
            if (auto *text = dynamic_cast<QGraphicsSimpleTextItem *>(item);
                text && text->isVisible())
                texts << text->text();
        return texts;
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        fixture = std::make_unique<TMainFixture>();
        QVERIFY(fixture->SignIn("Ann", "pw"));
        // January to March 2024, nothing in February; Gifts and Books are
        // under 2 % of the expenses and make "Other".
        TDbMan(fixture->DataFile())
            .AddRecords("Ann", {TestRecord("01/01/2024", "Income", "Salary", "2000.00"),
                                TestRecord("01/05/2024", "Expense", "Rent", "1000.00"),
                                TestRecord("01/10/2024", "Expense", "Food", "300.00"),
                                TestRecord("03/02/2024", "Expense", "Food", "200.00"),
                                TestRecord("03/20/2024", "Expense", "Fuel", "150.00"),
                                TestRecord("03/20/2024", "Expense", "Food", "12.00"),
                                TestRecord("03/21/2024", "Expense", "Gifts", "20.00"),
                                TestRecord("03/22/2024", "Expense", "Books", "15.00")});
        QTest::mouseClick(find<QRadioButton>("rdoTransactions"), Qt::LeftButton);
    }
    void cleanup() { fixture.reset(); }

    void builtWhileShownAndOneLineWhenEmpty() {
        showCharts();
        auto *message = find<QLabel>("lblChartsEmpty");
        QVERIFY(message->isVisible());
        QCOMPARE(message->text(), QString("Search a period to see its charts."));
        QVERIFY(!view("chvCates")->isVisible() && !view("chvMonths")->isVisible());
        QVERIFY(!find<QPushButton>("btnChartsSave")->isEnabled());
        QVERIFY(!find<QPushButton>("btnChartsPrint")->isEnabled());

        // A search made on another sub-panel waits until the charts show.
        QTest::mouseClick(find<QRadioButton>("rdoTransCategories"), Qt::LeftButton);
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        QVERIFY(panel()->Pending());
        showCharts();
        QVERIFY(!panel()->Pending());
        QVERIFY(!message->isVisible());
        QVERIFY(view("chvCates")->isVisible() && view("chvMonths")->isVisible());
        QVERIFY(find<QPushButton>("btnChartsPrint")->isEnabled());
        QCOMPARE(chartTexts(view("chvCates")),
                 QStringList({"Rent (58.93%)", "Food (30.17%)", "Fuel (8.84%)", "Other (2.06%)",
                              "Expenses", "1697.00"}));
        // Income: one slice, its total in the hole.
        QTest::mouseClick(find<QRadioButton>("rdoChartIn"), Qt::LeftButton);
        QCOMPARE(chartTexts(view("chvCates")),
                 QStringList({"Salary (100.00%)", "Income", "2000.00"}));
        // Three months, February as zero; the amounts as the lists write them.
        auto *bars = qobject_cast<QBarSeries *>(view("chvMonths")->chart()->series().constFirst());
        QCOMPARE(bars->barSets().at(1)->count(), 3);
        QCOMPARE(bars->barSets().at(1)->at(1), 0.0);
        QCOMPARE(chartTexts(view("chvMonths")),
                 QStringList({"Income", "Expenses", "Net Income", "01/2024", "02/2024", "03/2024",
                              "-500.00", "0.00", "500.00", "1000.00", "1500.00", "2000.00"}));

        // While shown, a search charts at once; an empty period says so.
        fixture->Search(QDate(2030, 1, 1), QDate(2030, 1, 31));
        QVERIFY(!panel()->Pending());
        QVERIFY(message->isVisible());
        QCOMPARE(message->text(), QString("There are no records from 01/01/2030 to 01/31/2030."));
        QVERIFY(!view("chvMonths")->isVisible());
        QVERIFY(!find<QPushButton>("btnChartsSave")->isEnabled());

        // A search that fails is no period without records.
        QFile file(fixture->DataFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
        file.close();
        TestDialogs::Answer(TButton::Ok);
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        QTRY_COMPARE(message->text(), QString("Search a period to see its charts."));
    }

    // A donut given the values of another period looks exactly like one
    // drawn for that period from scratch.
    // The expense budget: a step line across each month and an entry in
    // the legend, both only while there is a budget; the legend stays
    // inside the chart.
    void budgetLineAndItsLegend() {
        fixture->Main()->resize(700, 525); // the chart narrower than the legend's room
        showCharts();
        TDbMan db(fixture->DataFile());
        db.SetBudgets("Ann", {}, {{TRecordType::Expense, "Food", 25000}});
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        QChart *chart = view("chvMonths")->chart();
        auto *line = qobject_cast<QLineSeries *>(chart->series().at(2));
        QVERIFY(line->isVisible() && line->count() == 6);
        QCOMPARE(line->at(5), QPointF(2.5, 250.0));
        QCOMPARE(chartTexts(view("chvMonths")).mid(0, 4),
                 QStringList({"Income", "Expenses", "Net Income", "Expense budget"}));
        // Once the chart is laid out, nothing drawn passes its edges.
        const auto inside = [chart](const QGraphicsItem *item) {
            const QRectF box = item->mapRectToParent(item->boundingRect());
            return !item->isVisible() || (box.left() >= 0 && box.right() <= chart->size().width());
        };
        QTRY_VERIFY(std::ranges::all_of(chart->childItems(), inside));
        db.SetBudgets("Ann", db.Budgets("Ann"), {});
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        QVERIFY(!line->isVisible());
        QCOMPARE(chartTexts(view("chvMonths")).mid(0, 4),
                 QStringList({"Income", "Expenses", "Net Income", "01/2024"}));
    }

    void donutGivenNewValuesAsDrawnAnew() {
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        showCharts();
        const auto picture = [this] {
            QCoreApplication::processEvents();
            return view("chvCates")->grab().toImage();
        };
        picture();
        fixture->Search(QDate(2024, 3, 1), QDate(2024, 3, 31)); // four slices again
        const QImage updated = picture();
        view("chvCates")->chart()->removeAllSeries();
        fixture->Search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        QVERIFY(updated == picture());
    }

    void sliceAndBarLeadToTheirRecords() {
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        showCharts();
        // Searched again with the charts shown, which keep their series.
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        // Slice 1 is Food: More Info lists its three records, once.
        int rows = -1;
        TestDialogs::Dialog([&](QDialog *w) {
            rows = int(ListTexts(w->findChild<QTreeView *>("lvwRecs")).size());
            w->close();
        });
        clickChart(view("chvCates"), sliceCentre(view("chvCates"), 1));
        QCOMPARE(TestDialogs::Asked().size(), 1);
        QCOMPARE(TestDialogs::Asked().first().Caption, QString("Qty: 3  Total: 512.00"));
        QCOMPARE(rows, 3);
        QVERIFY(view("chvCates")->isEnabled());
        // "Other" is no category: nothing opens.
        clickChart(view("chvCates"), sliceCentre(view("chvCates"), 3));
        QCOMPARE(TestDialogs::Asked().size(), 1);

        // The bar of March: the Transactions sub-panel, the month chosen in
        // the month totals and its records tinted.
        clickChart(view("chvMonths"), expenseBar(view("chvMonths"), 2));
        QVERIFY(find<QRadioButton>("rdoTransTransactions")->isChecked());
        QVERIFY(find<QWidget>("pnlTransTransactions")->isVisible());
        auto *months = find<QTreeView>("lvwMonthTotal");
        QVERIFY(months->isVisible());
        QCOMPARE(ListTexts(months).at(SelectedRow(months)).first(), QString("03/2024"));
        const auto tinted = [this] {
            QStringList dates;
            const TRowsModel *m = ListModel(find<QTreeView>("lvwTrans"));
            for (int r = 0; r < m->Count(); ++r)
                if (m->data(m->index(r, 2), Qt::BackgroundRole) == QVariant(QColor(224, 255, 224)))
                    dates << m->Text(r, 1);
            return dates;
        };
        QCOMPARE(tinted(), QStringList({"03/02/2024", "03/20/2024", "03/20/2024", "03/21/2024",
                                        "03/22/2024"}));

        // A month's period is charted by day: the bar of 03/20 chooses that day.
        fixture->Search(QDate(2024, 3, 1), QDate(2024, 3, 31));
        showCharts();
        clickChart(view("chvMonths"), expenseBar(view("chvMonths"), 19));
        auto *days = find<QTreeView>("lvwDayTotal");
        QVERIFY(days->isVisible());
        QCOMPARE(ListTexts(days).at(SelectedRow(days)).first(), QString("03/20/2024"));
        QCOMPARE(tinted(), QStringList({"03/20/2024", "03/20/2024"}));
    }

    void savesPngAndSvg() {
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        showCharts();
        auto *save = find<QPushButton>("btnChartsSave");
        const QSize size = TChartsPanel::PictureFileSize;
        // The PNG filter is the first; the extension of the chosen filter
        // is appended.
        TestDialogs::File(dir.filePath("charts"));
        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(TestDialogs::LastMessage(), "SUCCESS!\r\n\r\n" + dir.filePath("charts.png"));
        QImageReader png(dir.filePath("charts.png"));
        QCOMPARE(png.format(), QByteArray("png"));
        QCOMPARE(png.read().size(), size);

        TestDialogs::File(dir.filePath("charts"), "SVG drawing (*.svg)");
        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(TestDialogs::LastMessage(), "SUCCESS!\r\n\r\n" + dir.filePath("charts.svg"));
        QSvgRenderer svg(dir.filePath("charts.svg"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), size);
        QFile file(dir.filePath("charts.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray drawing = file.readAll();
        QVERIFY(drawing.contains("Ann (01/01/2024 - 03/31/2024)"));
        QVERIFY(drawing.contains("Rent: 1000.00 (58.93%)"));

        // The appended extension names an existing file: replacing it is
        // asked, and No leaves it as it was.
        TestDialogs::File(dir.filePath("charts"));
        TestDialogs::Answer(TButton::No);
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(TestDialogs::LastMessage().contains("charts.png already exists."));
        QCOMPARE(QImageReader(dir.filePath("charts.png")).size(), size);

        // A folder in the way of the file: the failure is reported, no success.
        const QString taken = dir.filePath("taken.svg");
        QVERIFY(QDir().mkdir(taken));
        TestDialogs::File(dir.filePath("taken"), "SVG drawing (*.svg)");
        TestDialogs::Answer(TButton::Yes);
        TestDialogs::Answer(TButton::Ok);
        QTest::mouseClick(save, Qt::LeftButton);
        const QString text = TestDialogs::LastMessage();
        QVERIFY2(!text.contains("SUCCESS!") && text.contains(taken), qPrintable(text));
        QVERIFY(QFileInfo(taken).isDir());
        QVERIFY(save->isEnabled());
    }

    void printsOnePageUnderThePageHead() {
        fixture->Search(QDate(2024, 1, 1), QDate(2024, 3, 31));
        showCharts();
        auto *print = find<QPushButton>("btnChartsPrint");
        const QString pdf = dir.filePath("charts.pdf");
        QString status;
        TestDialogs::Dialog([&](QDialog *w) {
            auto *form = qobject_cast<TfrmPrint *>(w);
            QVERIFY(form);
            status = form->StatusText();
            QTest::mouseClick(form->findChild<QToolButton *>("btnPrint"), Qt::LeftButton);
            w->close();
        });
        PrintToPdf(pdf);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(status, QString("Page 1 of 1"));
        QVERIFY(print->isEnabled());

        const QList<TPdfPage> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const TPdfPage &page = pages.at(0);
        for (const char *phrase :
             {"Ann", "(01/01/2024 - 03/31/2024)", "Income: 2000.00", "Expenses: 1697.00",
              "Net Income: 303.00", "Page 1", "Expenses by category", "Rent: 1000.00 (58.93%)",
              "Other: 35.00 (2.06%)", "Income and expenses by month", "02/2024"})
            QVERIFY2(page.Contains(phrase), phrase);
        // The charts lie under the page head's rule and inside the page.
        const double rule = page.Find("Net").first().Box.bottom();
        const QRectF title = page.Find("category").first().Box;
        QVERIFY(title.top() > rule);
        QVERIFY(page.Find("Page").first().Box.top() > page.Find("02/2024").first().Box.bottom());
    }
};

QTEST_MAIN(TestCharts)
#include "test_charts.moc"
