#pragma once

#include "reports/ReportControl.h"

#include <QColor>

// A filled rectangle (the rule under the page head).
class TReportShape : public TReportControl {
public:
    QColor BrushColor = Qt::white;

    void Render(TRenderedPage &page, const QPointF &origin) const override;
};
