#pragma once

#include "reports/RenderedPage.h"

#include <QScrollArea>

class TPreviewPage;

// Shows one rendered page at a time at 100 % (physical size on the screen),
// on a grey desk that scrolls in both directions.
class TReportPreview : public QScrollArea {
    Q_OBJECT
public:
    explicit TReportPreview(QWidget *parent = nullptr);

    void SetPages(const TRenderedPages &pages);
    const TRenderedPages &Pages() const { return FPages; }

    // Page numbers count from 1; 0 when there are no pages.
    int PageNumber() const { return FPageNumber; }
    int PageCount() const { return static_cast<int>(FPages.size()); }

    // Shows page `number` and scrolls back to the page's top left corner. A
    // number outside 1..PageCount() is ignored.
    void ShowPage(int number);

    int Zoom() const { return 100; }

private:
    TRenderedPages FPages;
    int FPageNumber = 0;
    TPreviewPage *FPage;
};
