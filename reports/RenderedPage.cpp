#include "reports/RenderedPage.h"

#include <QPaintDevice>
#include <QPainter>

TRenderedPage::TRenderedPage(const QSizeF &sizePx, int dpiX, int dpiY)
    : FSizePx(sizePx), FDpiX(dpiX), FDpiY(dpiY) {}

QSizeF TRenderedPage::SizeInches() const {
    return QSizeF(FSizePx.width() / FDpiX, FSizePx.height() / FDpiY);
}

void TRenderedPage::AddText(const QRectF &box, const QString &text, const QFont &font,
                            const QColor &color) {
    FItems.append(TItem{box, text, font, color, {}});
}

void TRenderedPage::AddRect(const QRectF &box, const QColor &color) {
    FItems.append(TItem{box, QString(), QFont(), color, {}});
}

void TRenderedPage::AddPicture(const QRectF &box, const TDraw &draw) {
    FItems.append(TItem{box, QString(), QFont(), QColor(), draw});
}

void TRenderedPage::Paint(QPainter &painter, const QPointF &topLeft) const {
    const QPaintDevice *device = painter.device();
    // Fonts are given in points and resolve at the device's own resolution;
    // positions are scaled from the report's pixels to the device's.
    const qreal sx = static_cast<qreal>(device->logicalDpiX()) / FDpiX;
    const qreal sy = static_cast<qreal>(device->logicalDpiY()) / FDpiY;
    auto map = [&](const QRectF &box) {
        return QRectF(topLeft.x() + box.x() * sx, topLeft.y() + box.y() * sy, box.width() * sx,
                      box.height() * sy);
    };
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const TItem &item : FItems) {
        if (item.Draw) {
            painter.save();
            item.Draw(painter, map(item.Box));
            painter.restore();
        } else if (item.Text.isEmpty()) {
            painter.fillRect(map(item.Box), item.Color);
        } else {
            painter.setFont(item.Font);
            painter.setPen(item.Color);
            painter.drawText(map(item.Box),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                             item.Text);
        }
    }
    painter.restore();
}
