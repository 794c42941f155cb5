#pragma once

#include <QFont>
#include <QMarginsF>
#include <QSizeF>

#include <memory>

class TReportBand;
class TRenderedPage;

// A page report: one printed page with one detail band. Its size and all
// positions on it are in pixels at the resolution it was built for (DpiX,
// DpiY); the page is laid out on A4 with 10 mm margins, and the band starts at
// the top left margin.
class TPageReport {
public:
    // `dpiX`/`dpiY`: the resolution its pixels belong to (the screen's).
    TPageReport(int dpiX, int dpiY);
    ~TPageReport();
    TPageReport(const TPageReport &) = delete;
    TPageReport &operator=(const TPageReport &) = delete;

    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width) { FWidth = width; }
    void SetHeight(int height) { FHeight = height; }

    QFont Font() const { return FFont; }
    void SetFont(const QFont &font) { FFont = font; }

    // Paper and margins in millimetres.
    QSizeF PaperSizeMm() const { return FPaperSizeMm; }
    QMarginsF MarginsMm() const { return FMarginsMm; }

    // The detail band exists while HasDetail is on.
    bool HasDetail() const { return FDetail != nullptr; }
    void SetHasDetail(bool on);
    TReportBand *Detail() const { return FDetail.get(); }

    // This page as drawn: the band's controls in the order they were placed.
    TRenderedPage Render() const;

private:
    int FDpiX;
    int FDpiY;
    int FWidth = 0;
    int FHeight = 0;
    QFont FFont;
    QSizeF FPaperSizeMm{210, 297};
    QMarginsF FMarginsMm{10, 10, 10, 10};
    std::unique_ptr<TReportBand> FDetail;
};
