#include "reports/ReportMetrics.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

int TReportMetrics::ScreenDpi(Qt::Orientation axis) {
    if (!qGuiApp)
        return 96;
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    const double dpi =
        axis == Qt::Horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    const int rounded = static_cast<int>(std::lround(dpi));
    return rounded > 0 ? rounded : 96;
}

int TReportMetrics::RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result;
    if (fraction > 0.5)
        result = lower + 1;
    else if (fraction < 0.5)
        result = lower;
    else
        result = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    return static_cast<int>(result);
}

int TReportMetrics::Scale(int n, int dpi) {
    // The product is exact in integers; only the division is done in
    // floating point.
    const long long product = static_cast<long long>(n) * dpi;
    return RoundHalfEven(static_cast<double>(product) / 96.0);
}

int TReportMetrics::MillimetresPx(double mm, int dpi) {
    return RoundHalfEven(dpi * mm / 25.4);
}
