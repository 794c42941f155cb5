#include "export/HtmlExport.h"
#include "tests/support/CategoryPeriod.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TReportHead SampleHead() {
    return {QStringLiteral("Ann & <Bob>"), QDate(2009, 1, 5), QDate(2009, 12, 31), 10050, 11300};
}

TRecord Rec(qint64 id, const QDate &date, TRecordType type, const QString &category, qint64 cents,
            const QString &notes) {
    return {id, date, type, category, cents, notes};
}

TPeriod Records(const QList<TRecord> &records) {
    TPeriod period;
    period.Records = records;
    return period;
}

const auto Income = TRecordType::Income;
const auto Expense = TRecordType::Expense;

QString Page(TExportKind kind, const QString &templ, const TPeriod &period,
             const TReportHead &head = SampleHead()) {
    return QString::fromUtf8(THtmlExport::BuildPage(kind, templ, head, period));
}

QString ReadAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestExportHtml : public QObject {
    Q_OBJECT

private slots:
    void splitsSectionsByTheGrammar_data();
    void splitsSectionsByTheGrammar();
    void placeholdersOnlyInTheirOwnSection();
    void categoryRowsPutNbspInTheOtherMoneyColumn();
    void transactionRowsUseNbspForBlankTexts();
    void valuesAreEscapedAndNeverSearchedAgain();
    void footHasTotalsWithSignedNetIncome();
    void templateEncodings();
    void exportWritesUtf8FileOrNothing();
    void installedTemplatesAreValidPages();
};

void TestExportHtml::splitsSectionsByTheGrammar_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sections");
    const QString sep = THtmlExport::Separator;
    QTest::newRow("empty piece dropped")
        << "A" + sep + sep + "B" + sep + "C" << QStringList{"A", "B", "C"};
    QTest::newRow("joints trimmed")
        << "\r\n  head \r\n\r\n" + sep + "\r\n\trow\r\n" + sep + "\n\nfoot\n\n"
        << QStringList{"head", "row", "foot"};
    QTest::newRow("blank piece is an empty section")
        << "A" + sep + " \r\n " + sep + "C" << QStringList{"A", "", "C"};
    QTest::newRow("separator at both ends")
        << sep + "A" + sep + "B" + sep + "C" + sep << QStringList{"A", "B", "C"};
    QTest::newRow("separator case matters") << "A<!-- - -->B<!-- - -->C<!-- X --><!--  - -->"
                                            << QStringList{"A", "B", "C<!-- X --><!--  - -->"};
    QTest::newRow("non-breaking space is not trimmed")
        << QString("\u00A0A") + sep + "B" + sep + "C" << QStringList{"\u00A0A", "B", "C"};
    QTest::newRow("fourth section kept by split")
        << "A" + sep + "B" + sep + "C" + sep + "D" << QStringList{"A", "B", "C", "D"};
}

void TestExportHtml::splitsSectionsByTheGrammar() {
    QFETCH(QString, text);
    QFETCH(QStringList, sections);
    QCOMPARE(THtmlExport::SplitTemplate(text), sections);
}

void TestExportHtml::placeholdersOnlyInTheirOwnSection() {
    const QString templ = "<h1>#TOP #Top #bottom #in</h1><!-- - -->"
                          "<td>#inner|#Category|#top</td><!-- - -->"
                          "<p>#BOTTOM #top #out</p>";
    const QString page =
        Page(TExportKind::Transactions, templ,
             Records({Rec(7, QDate(2009, 1, 2), Income, "Food", 500, "n")}), TReportHead());
    QCOMPARE(page, "<h1> ( - )  ( - ) #bottom #in</h1>"
                   "<td>5.00ner|Food|#top</td>"
                   "<p>Income: 0.00&nbsp;&nbsp;Expenses: 0.00&nbsp;&nbsp;Net Income: 0.00 #top "
                   "#out</p>");
    // A fourth section and anything after it is ignored.
    QCOMPARE(Page(TExportKind::Categories, "H<!-- - -->R<!-- - -->F<!-- - -->X", {}), "HF");
}

void TestExportHtml::categoryRowsPutNbspInTheOtherMoneyColumn() {
    const QString templ = "[<!-- - -->#type|#category|#qty|#in|#out|#ratio;<!-- - -->]";
    const TPeriod rows =
        CategoryPeriod({{"Salary", 2, 200000}}, {{"Fish & Chips", 3, 1250}, {"Odd", 1, 3750}});
    QCOMPARE(Page(TExportKind::Categories, templ, rows),
             "[Income|Salary|2|2000.00|&nbsp;|100.00%;"
             "Expense|Fish &amp; Chips|3|&nbsp;|12.50|25.00%;"
             "Expense|Odd|1|&nbsp;|37.50|75.00%;]");
}

void TestExportHtml::transactionRowsUseNbspForBlankTexts() {
    const QString templ = "<!-- - -->#date|#category|#in|#out|#notes;<!-- - -->";
    // Blank text around the whole template is trimmed away first, so these
    // separators stand at the very ends and open no section.
    const QString blankEnds = "\n[" + templ + "]\n";
    const TPeriod rows = Records({Rec(1, QDate(2009, 1, 2), Income, "Pay", 500, "   "),
                                  Rec(2, QDate(2009, 1, 3), Expense, "", 725, "bus\tfare")});
    QCOMPARE(Page(TExportKind::Transactions, blankEnds, rows),
             "[01/02/2009|Pay|5.00|&nbsp;|&nbsp;;01/03/2009||&nbsp;|7.25|bus\tfare;]");
    // Two sections are not a template; neither are blanks at both ends.
    QVERIFY_THROWS_EXCEPTION(TExportError,
                             Page(TExportKind::Transactions, "A<!-- - -->#date", rows));
    QVERIFY_THROWS_EXCEPTION(TExportError,
                             Page(TExportKind::Transactions, " " + templ + " ", rows));
}

void TestExportHtml::valuesAreEscapedAndNeverSearchedAgain() {
    const QString templ = "<title>#top</title><!-- - -->"
                          "<td title=\"#notes\">#category</td><td>#in#out</td><!-- - -->end";
    const TPeriod rows =
        Records({Rec(1, QDate(2009, 1, 2), Expense, "#internet", 3000, "say \"#out\" <b>"),
                 Rec(2, QDate(2009, 1, 3), Income, "#DATE #in", 100, "a&b")});
    QCOMPARE(Page(TExportKind::Transactions, templ, rows),
             "<title>Ann &amp; &lt;Bob&gt; (01/05/2009 - 12/31/2009)</title>"
             "<td title=\"say &quot;#out&quot; &lt;b&gt;\">#internet</td><td>&nbsp;30.00</td>"
             "<td title=\"a&amp;b\">#DATE #in</td><td>1.00&nbsp;</td>end");
}

void TestExportHtml::footHasTotalsWithSignedNetIncome() {
    const QString templ = "h<!-- - -->r<!-- - -->#bottom";
    QCOMPARE(Page(TExportKind::Categories, templ, {}),
             "hIncome: 100.50&nbsp;&nbsp;Expenses: 113.00&nbsp;&nbsp;Net Income: -12.50");
}

void TestExportHtml::templateEncodings() {
    // UTF-8 text stays as it is: not converted a second time.
    const QByteArray utf8 = "\xEF\xBB\xBF<p>Caf\xC3\xA9 \xE2\x82\xAC</p>";
    QCOMPARE(THtmlExport::DecodeTemplate(utf8), QString("<p>Caf\u00E9 \u20AC</p>"));
    // An old 8-bit template (not valid UTF-8) is read as Latin-1.
    QCOMPARE(THtmlExport::DecodeTemplate("Caf\xE9"), QString("Caf\u00E9"));
    const QByteArray page = THtmlExport::BuildPage(
        TExportKind::Categories,
        THtmlExport::DecodeTemplate(utf8 + "<!-- - -->#category<!-- - -->."), TReportHead(),
        CategoryPeriod({}, {{"\u00DCbung \u65E5\u672C", 1, 100}}));
    QCOMPARE(page, QByteArray("<p>Caf\xC3\xA9 \xE2\x82\xAC</p>\xC3\x9C"
                              "bung "
                              "\xE6\x97\xA5\xE6\x9C\xAC."));
}

void TestExportHtml::exportWritesUtf8FileOrNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath("good.html");
    const QString bad = dir.filePath("bad.html");
    const QString out = dir.filePath("out.html");
    QFile f(good);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBFH\xC3\xA9<!-- - -->#category<!-- - -->F");
    f.close();
    QFile b(bad);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write("H<!-- - -->#category");
    b.close();

    const TPeriod rows = CategoryPeriod({}, {{"\u00E9", 1, 100}});
    THtmlExport::Export(TExportKind::Categories, good, out, TReportHead(), rows);
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("H\xC3\xA9\xC3\xA9"
                                           "F")); // no byte-order mark
    written.close();

    // A damaged or missing template fails with its name and writes nothing,
    // and an existing page under that name stays as it was.
    const QString fresh = dir.filePath("fresh.html");
    for (const QString &templ : {bad, dir.filePath("missing.html")}) {
        try {
            THtmlExport::Export(TExportKind::Categories, templ, fresh, TReportHead(), rows);
            QFAIL("export with a bad template succeeded");
        } catch (const TExportError &e) {
            QVERIFY2(QString::fromStdString(e.what()).contains(templ), e.what());
        }
        QVERIFY(!QFile::exists(fresh));
        QVERIFY_THROWS_EXCEPTION(TExportError, THtmlExport::Export(TExportKind::Categories, templ,
                                                                   out, TReportHead(), rows));
        QCOMPARE(ReadAll(out), QString("H\u00E9\u00E9F"));
    }
    // An unwritable place is an error, not a success.
    QVERIFY_THROWS_EXCEPTION(TExportError,
                             THtmlExport::Export(TExportKind::Categories, good,
                                                 dir.filePath("no/such/folder/x.html"),
                                                 TReportHead(), rows));
}

void TestExportHtml::installedTemplatesAreValidPages() {
    const TPeriod cates = CategoryPeriod({{"Salary", 1, 1000}}, {{"Rent <flat>", 1, 500}});
    const TPeriod trans = Records({Rec(1, QDate(2009, 1, 2), Income, "Salary", 1000, ""),
                                   Rec(2, QDate(2009, 1, 3), Expense, "Rent", 500, "Jan & Feb")});
    for (const auto &[name, kind, rows, cells] :
         {std::tuple{QString("cates.html"), TExportKind::Categories, cates, 6},
          std::tuple{QString("trans.html"), TExportKind::Transactions, trans, 5}}) {
        const QString path = QDir(LEDGERLY_SOURCE_DIR).filePath("templates/" + name);
        const QString templ = ReadAll(path);
        QVERIFY2(!templ.isEmpty(), qPrintable(path));
        const QStringList sections = THtmlExport::SplitTemplate(templ);
        QCOMPARE(sections.size(), 3);
        QVERIFY(sections[0].contains("#top"));
        QVERIFY(sections[2].contains("#bottom"));
        QCOMPARE(sections[1].count("<td"), cells);

        const QString page = Page(kind, templ, rows);
        QVERIFY(page.startsWith("<!DOCTYPE html>"));
        QVERIFY(page.endsWith("</html>"));
        QVERIFY(!page.contains('#' + QString("top")) && !page.contains("#bottom"));
        QCOMPARE(page.count("<tr>"), 2 + 2); // heading, rows, totals
        QVERIFY(page.contains("Net Income: -12.50"));
        QVERIFY(page.contains("<td>Ann &amp; &lt;Bob&gt; (01/05/2009") ||
                page.contains("<span>Ann &amp; &lt;Bob&gt; (01/05/2009"));
        // Tags balance: every opened table element is closed.
        for (const char *tag : {"table", "thead", "tbody", "tfoot", "tr", "td", "th"})
            QCOMPARE(page.count(QRegularExpression(QString("<%1[ >]").arg(tag))),
                     page.count(QString("</%1>").arg(tag)));
    }
}

QTEST_GUILESS_MAIN(TestExportHtml)
#include "test_export_html.moc"
