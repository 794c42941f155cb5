#include "skin/ScreenPicture.h"

#include <QGuiApplication>
#include <QWidget>

QImage TScreenPicture::Drawing(const QString &resource, qreal ratio, int *scale) {
    if (ratio > 1.0) {
        QImage large(resource + QStringLiteral("@2x"));
        if (!large.isNull()) {
            if (scale)
                *scale = 2;
            return large;
        }
    }
    if (scale)
        *scale = 1;
    return QImage(resource);
}

QPixmap TScreenPicture::Pixmap(const QString &resource, qreal ratio, std::optional<QColor> key) {
    int scale = 1;
    QImage drawing = Drawing(resource, ratio, &scale);
    if (drawing.isNull())
        return {};
    if (key)
        drawing = Keyed(drawing, *key);
    const QSize size = drawing.size() / scale;
    const QSize device(DeviceLength(size.width(), ratio), DeviceLength(size.height(), ratio));
    if (drawing.size() != device)
        drawing = drawing.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(drawing);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

qreal TScreenPicture::RatioOf(const QWidget *widget) {
    return widget ? widget->devicePixelRatio() : qGuiApp->devicePixelRatio();
}

QImage TScreenPicture::Keyed(const QImage &image, QColor key) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb() & RGB_MASK;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((line[x] & RGB_MASK) == keyRgb)
                line[x] = 0;
        }
    }
    return img;
}

int TScreenPicture::DeviceLength(int length, qreal ratio) {
    return qRound(length * ratio);
}
