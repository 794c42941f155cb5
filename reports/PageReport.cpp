#include "reports/PageReport.h"

#include "reports/RenderedPage.h"
#include "reports/ReportBand.h"
#include "reports/ReportControl.h"

TPageReport::TPageReport(int dpiX, int dpiY) : FDpiX(dpiX), FDpiY(dpiY) {
    FFont.setFamily("Tahoma");
    FFont.setStyleHint(QFont::SansSerif);
    FFont.setPointSize(8);
}

TPageReport::~TPageReport() = default;

void TPageReport::SetHasDetail(bool on) {
    if (on && !FDetail)
        FDetail = std::make_unique<TReportBand>(this);
    else if (!on)
        FDetail.reset();
}

TRenderedPage TPageReport::Render() const {
    // The page is as large as the report says; the paper size is what it is
    // printed on, and both are A4 here.
    TRenderedPage page(QSizeF(FWidth, FHeight), FDpiX, FDpiY);
    if (FDetail) {
        const QPointF origin(FMarginsMm.left() / 25.4 * FDpiX, FMarginsMm.top() / 25.4 * FDpiY);
        for (const TReportControl *control : FDetail->Controls())
            control->Render(page, origin);
    }
    return page;
}
