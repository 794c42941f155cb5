#pragma once

#include "reports/RenderedPage.h"
#include "reports/ReportControl.h"

// A drawing on the page (the charts of a period): Draw paints it into the
// control's box at print time, on the preview or on the printer, so a
// vector drawing stays sharp at the printer's resolution and its texts stay
// texts. The drawing is stretched to the box; without Draw the box is empty.
class TReportPicture : public TReportControl {
public:
    TRenderedPage::TDraw Draw;

    void Render(TRenderedPage &page, const QPointF &origin) const override;
};
