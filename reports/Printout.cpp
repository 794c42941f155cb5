#include "reports/Printout.h"

#include "reports/CompositeReport.h"
#include "reports/PageReport.h"
#include "reports/ReportBand.h"
#include "reports/ReportLabel.h"
#include "reports/ReportMetrics.h"
#include "reports/ReportPicture.h"
#include "reports/ReportShape.h"
#include "store/AmountText.h"

TPrintout::TPrintout()
    : TPrintout(TReportMetrics::ScreenDpi(Qt::Horizontal),
                TReportMetrics::ScreenDpi(Qt::Vertical)) {}

TPrintout::TPrintout(int dpiX, int dpiY) : FDpiX(dpiX), FDpiY(dpiY) {}

TPrintout::~TPrintout() {
    FreeReports();
}

int TPrintout::ScaleX(int n) const {
    return TReportMetrics::Scale(n, FDpiX);
}
int TPrintout::ScaleY(int n) const {
    return TReportMetrics::Scale(n, FDpiY);
}
int TPrintout::PageWidthPx() const {
    return TReportMetrics::PageWidthPx(FDpiX);
}
int TPrintout::PageHeightPx() const {
    return TReportMetrics::PageHeightPx(FDpiY);
}
int TPrintout::PrintWidthPx() const {
    return TReportMetrics::PrintWidthPx(FDpiX);
}
int TPrintout::PrintHeightPx() const {
    return TReportMetrics::PrintHeightPx(FDpiY);
}

TReportLabel *TPrintout::NewReportLabel(TPageReport *report) const {
    auto *label = new TReportLabel;
    label->SetParent(report->Detail());
    label->SetAutoSize(true);
    label->Transparent = true;
    QFont font("Tahoma");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    label->SetFont(font);
    label->SetCaption(QString());
    return label;
}

void TPrintout::PlaceLabel(TReportLabel *label, const QString &caption, TPlace place, int x,
                           int top) const {
    label->SetCaption(caption);
    label->SetLeft(place == TPlace::Left ? x : x - label->Width());
    label->SetTop(top);
}

TPageReport *TPrintout::StartPage(const TReportHead &head, const QList<TColumn> &columns) {
    auto *report = new TPageReport(FDpiX, FDpiY);
    Reports.append(report);
    report->SetWidth(PageWidthPx());
    report->SetHeight(PageHeightPx());
    QFont font("Tahoma");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    report->SetFont(font);
    report->SetHasDetail(true);
    TReportBand *band = report->Detail();
    band->ForceNewPage = true;
    band->ForceNewColumn = false;
    band->SetWidth(PrintWidthPx());
    band->SetHeight(PrintHeightPx());

    const int headWidth = ScaleX(578);
    auto centred = [](TReportLabel *label, int width) {
        // Integer division truncating toward zero: a text wider than the
        // space starts left of it.
        label->SetLeft((width - label->Width()) / 2);
    };

    TReportLabel *title = NewReportLabel(report);
    title->SetFontBold(true);
    title->SetFontSize(14);
    title->SetCaption(head.UserName);
    centred(title, headWidth);
    title->SetTop(0);

    TReportLabel *period = NewReportLabel(report);
    period->SetCaption(
        QString("(%1 - %2)")
            .arg(head.SearchFrom.toString("MM/dd/yyyy"), head.SearchTo.toString("MM/dd/yyyy")));
    centred(period, headWidth);
    period->SetTop(ScaleY(36));

    const struct {
        const char *Caption;
        qint64 Amount;
        int Top;
    } totals[] = {{"Income:", head.IncomeCents, 0},
                  {"Expenses:", head.ExpenseCents, ScaleY(18)},
                  {"Net Income:", head.IncomeCents - head.ExpenseCents, ScaleY(36)}};
    for (const auto &total : totals) {
        PlaceLabel(NewReportLabel(report), total.Caption, TPlace::Left, headWidth, total.Top);
        PlaceLabel(NewReportLabel(report), CentsText(total.Amount), TPlace::Right, PrintWidthPx(),
                   total.Top);
    }

    auto *rule = new TReportShape;
    rule->SetParent(band);
    rule->BrushColor = Qt::black;
    rule->SetLeft(0);
    rule->SetTop(ScaleY(58));
    rule->SetWidth(PrintWidthPx());
    rule->SetHeight(ScaleY(1));

    for (const TColumn &column : columns)
        PlaceLabel(NewReportLabel(report), column.Heading, column.Place, column.X, ScaleY(68));

    TReportLabel *number = NewReportLabel(report);
    number->SetCaption(QString("Page %1").arg(Reports.size()));
    centred(number, PrintWidthPx());
    number->SetTop(PrintHeightPx() - number->Height());
    return report;
}

template <typename Cells>
void TPrintout::Build(const TReportHead &head, qsizetype count, const QList<TColumn> &columns,
                      Cells cells) {
    FreeReports();
    TPageReport *page = nullptr;
    for (qsizetype i = 0; i < count; ++i) {
        const int slot = static_cast<int>(i % RowsPerPage);
        if (slot == 0)
            page = StartPage(head, columns);
        const int top = ScaleY(slot * 18 + 86);
        const auto texts = cells(i);
        for (qsizetype c = 0; c < columns.size(); ++c)
            PlaceLabel(NewReportLabel(page), texts[c], columns.at(c).Place, columns.at(c).X, top);
    }
}

void TPrintout::BuildCategoriesPrintout(const TReportHead &head, const TPeriod &period) {
    const QList<TColumn> columns = {
        {"Type", TPlace::Left, 0},           {"Category", TPlace::Left, ScaleX(78)},
        {"Qty", TPlace::Right, ScaleX(418)}, {"In", TPlace::Right, ScaleX(510)},
        {"Out", TPlace::Right, ScaleX(602)}, {"0 - 100%", TPlace::Right, PrintWidthPx()}};
    const QList<TCategoryTexts> rows = CategoryRowTexts(period);
    Build(head, rows.size(), columns, [&rows](qsizetype i) { return rows.at(i); });
}

void TPrintout::BuildTransactionsPrintout(const TReportHead &head, const TPeriod &period) {
    const QList<TColumn> columns = {{"Date", TPlace::Left, 0},
                                    {"Category", TPlace::Left, ScaleX(78)},
                                    {"In", TPlace::Right, ScaleX(394)},
                                    {"Out", TPlace::Right, ScaleX(486)},
                                    {"Notes", TPlace::Left, ScaleX(494)}};
    Build(head, period.Records.size(), columns,
          [&period](qsizetype i) { return RecordRowTexts(period.Records.at(i)); });
}

QRect TPrintout::PictureBox() const {
    // From the place of the column headings down to a row's height above
    // the page number.
    const int top = ScaleY(68);
    return QRect(0, top, PrintWidthPx(), PrintHeightPx() - ScaleY(18) - top);
}

void TPrintout::BuildPicturePrintout(const TReportHead &head, const TRenderedPage::TDraw &draw) {
    FreeReports();
    TPageReport *page = StartPage(head, {});
    auto *picture = new TReportPicture;
    picture->SetParent(page->Detail());
    picture->Draw = draw;
    const QRect box = PictureBox();
    picture->SetLeft(box.left());
    picture->SetTop(box.top());
    picture->SetWidth(box.width());
    picture->SetHeight(box.height());
}

void TPrintout::AddReports(TCompositeReport &composite) const {
    composite.Reports = Reports;
}

void TPrintout::FreeReports() {
    while (!Reports.isEmpty()) {
        TPageReport *report = Reports.last();
        if (report)
            FreeBandControls(report->Detail());
        delete report;
        Reports.removeLast();
    }
}

void TPrintout::FreeBandControls(TReportBand *band) {
    if (!band)
        return;
    for (int i = band->ControlCount() - 1; i >= 0; --i)
        delete band->Control(i);
}
