#include "reports/ReportShape.h"

#include "reports/RenderedPage.h"

#include <QRectF>

void TReportShape::Render(TRenderedPage &page, const QPointF &origin) const {
    if (FWidth > 0 && FHeight > 0)
        page.AddRect(QRectF(origin.x() + FLeft, origin.y() + FTop, FWidth, FHeight), BrushColor);
}
