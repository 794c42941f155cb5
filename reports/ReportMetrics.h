#pragma once

#include <Qt>

// Lengths of the printouts. Positions are laid out in screen pixels, and n
// screen pixels stand for n / dpi inches on paper. Design lengths are given
// in pixels at 96 dpi; page lengths in millimetres. Every result is rounded
// to the nearest integer, a value exactly halfway going to the even
// neighbour. Each helper also takes an explicit dpi so that layouts can be
// computed for a resolution other than the screen's.
class TReportMetrics {
public:
    // The screen's logical pixels per inch along `axis`; 96 when there is no
    // screen to ask.
    static int ScreenDpi(Qt::Orientation axis);

    static int RoundHalfEven(double value);

    // n design pixels (96 dpi) at `dpi`.
    static int Scale(int n, int dpi);
    static int ScaleX(int n) { return Scale(n, ScreenDpi(Qt::Horizontal)); }
    static int ScaleY(int n) { return Scale(n, ScreenDpi(Qt::Vertical)); }

    // `mm` millimetres at `dpi`.
    static int MillimetresPx(double mm, int dpi);

    // A4 and its printable area inside 10 mm margins.
    static constexpr double PageWidthMm = 210;
    static constexpr double PageHeightMm = 297;
    static constexpr double MarginMm = 10;
    static constexpr double PrintWidthMm = 190;
    static constexpr double PrintHeightMm = 277;

    static int PageWidthPx(int dpi) { return MillimetresPx(PageWidthMm, dpi); }
    static int PageHeightPx(int dpi) { return MillimetresPx(PageHeightMm, dpi); }
    static int PrintWidthPx(int dpi) { return MillimetresPx(PrintWidthMm, dpi); }
    static int PrintHeightPx(int dpi) { return MillimetresPx(PrintHeightMm, dpi); }
};
