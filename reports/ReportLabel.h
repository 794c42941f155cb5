#pragma once

#include "reports/ReportControl.h"

#include <QColor>
#include <QFont>
#include <QString>

// A line of text. With automatic size on, the label is exactly as wide and
// as high as its caption in its font at the report's resolution, so its size
// can be read back as soon as the caption is set. Texts are neither cut nor
// wrapped. A transparent label draws no background.
class TReportLabel : public TReportControl {
public:
    TReportLabel();

    QString Caption() const { return FCaption; }
    void SetCaption(const QString &caption);

    QFont Font() const { return FFont; }
    void SetFont(const QFont &font);
    void SetFontName(const QString &family);
    void SetFontSize(int points);
    void SetFontBold(bool bold);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);

    bool Transparent = true;
    QColor Color = Qt::white; // background, when not transparent
    QColor FontColor = Qt::black;

    void Render(TRenderedPage &page, const QPointF &origin) const override;

    // The size of `text` in `font` at the given resolution, in pixels.
    static QSize MeasureText(const QFont &font, const QString &text, int dpiX, int dpiY);

protected:
    void ParentChanged() override { UpdateSize(); }

private:
    void UpdateSize();

    QString FCaption;
    QFont FFont;
    bool FAutoSize = true;
};
