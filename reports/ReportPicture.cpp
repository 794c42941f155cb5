#include "reports/ReportPicture.h"

#include <QRectF>

void TReportPicture::Render(TRenderedPage &page, const QPointF &origin) const {
    if (Draw && FWidth > 0 && FHeight > 0)
        page.AddPicture(QRectF(origin.x() + FLeft, origin.y() + FTop, FWidth, FHeight), Draw);
}
