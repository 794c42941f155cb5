#include "reports/ReportPreview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

// The desk under the page: the page itself with a frame and a shadow, and a
// margin of desk around it.
class TPreviewPage : public QWidget {
public:
    explicit TPreviewPage(QWidget *parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    static constexpr int Margin = 10;

    void SetPage(const TRenderedPage *page) {
        FPage = page;
        QSize size(2 * Margin, 2 * Margin);
        if (page) {
            const QSizeF inches = page->SizeInches();
            size += QSize(qRound(inches.width() * logicalDpiX()),
                          qRound(inches.height() * logicalDpiY()));
        }
        setFixedSize(size);
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(128, 128, 128));
        if (!FPage)
            return;
        const QRect paper(Margin, Margin, width() - 2 * Margin, height() - 2 * Margin);
        painter.fillRect(paper.translated(3, 3), QColor(64, 64, 64));
        painter.fillRect(paper, Qt::white);
        painter.setClipRect(paper.intersected(event->rect()));
        FPage->Paint(painter, paper.topLeft());
    }

private:
    const TRenderedPage *FPage = nullptr;
};

TReportPreview::TReportPreview(QWidget *parent) : QScrollArea(parent) {
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    FPage = new TPreviewPage(this);
    setWidget(FPage);
    FPage->SetPage(nullptr);
}

void TReportPreview::SetPages(const TRenderedPages &pages) {
    FPages = pages;
    FPageNumber = 0;
    FPage->SetPage(nullptr);
    ShowPage(1);
}

void TReportPreview::ShowPage(int number) {
    if (number < 1 || number > PageCount())
        return;
    const bool changed = number != FPageNumber;
    FPageNumber = number;
    FPage->SetPage(&FPages.at(number - 1));
    if (changed) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
        verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    }
}
