#include "skin/SkinClass.h"

#include "skin/ScreenPicture.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

const QColor InsideColour(240, 240, 240);
const QColor Magenta(255, 0, 255);
const QColor White(255, 255, 255);

// Tooltips of the framed window stay while the mouse is over their control
// (Qt hides a tooltip when the mouse leaves it); an hour stands for "no limit".
constexpr int ToolTipStayMs = 60 * 60 * 1000;

constexpr int ButtonSize = 20;
constexpr int ButtonMargin = 10; // from the right edge of the window to Close
constexpr int IconLeft = 10;
constexpr int CaptionGap = 5;

// Copies the source rectangle (sx, sy, sw, sh) of `src` into the destination
// rectangle (dx, dy, dw, dh) of `dst`, scaling by nearest neighbour when the
// sizes differ (a plain copy when they are equal). Pixels outside either
// image are skipped; an empty rectangle copies nothing.
void CopyPiece(QImage &dst, int dx, int dy, int dw, int dh, const QImage &src, int sx, int sy,
               int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    for (int y = 0; y < dh; ++y) {
        const int ty = dy + y;
        const int fy = sy + static_cast<int>(static_cast<qint64>(y) * sh / dh);
        if (ty < 0 || ty >= dst.height() || fy < 0 || fy >= src.height())
            continue;
        const auto *from = reinterpret_cast<const QRgb *>(src.constScanLine(fy));
        auto *to = reinterpret_cast<QRgb *>(dst.scanLine(ty));
        for (int x = 0; x < dw; ++x) {
            const int tx = dx + x;
            const int fx = sx + static_cast<int>(static_cast<qint64>(x) * sw / dw);
            if (tx < 0 || tx >= dst.width() || fx < 0 || fx >= src.width())
                continue;
            to[tx] = from[fx];
        }
    }
}

// Copies the piece (dx, dy, dw, dh) of the window's frame, given in pixels,
// into `dst`, drawn at `ratio` device pixels per pixel, from the rectangle
// (sx, sy, sw, sh) of the frame image drawn at `scale` (1 or 2). Piece edges
// fall on rounded device pixels, so neighbouring pieces meet without a gap.
// Where the piece has as many device pixels as its source or more, the
// pixels are copied or repeated as they are; where it has fewer (a screen
// between 100 % and 200 %), the source piece is scaled down smoothly first.
void CopyPieceAt(QImage &dst, qreal ratio, int dx, int dy, int dw, int dh, const QImage &src,
                 int scale, int sx, int sy, int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const int x0 = TScreenPicture::DeviceLength(dx, ratio);
    const int y0 = TScreenPicture::DeviceLength(dy, ratio);
    const int w = TScreenPicture::DeviceLength(dx + dw, ratio) - x0;
    const int h = TScreenPicture::DeviceLength(dy + dh, ratio) - y0;
    const QRect from(sx * scale, sy * scale, sw * scale, sh * scale);
    if (w >= from.width() && h >= from.height()) {
        CopyPiece(dst, x0, y0, w, h, src, from.x(), from.y(), from.width(), from.height());
        return;
    }
    const QImage piece = src.copy(from)
                             .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    CopyPiece(dst, x0, y0, w, h, piece, 0, 0, w, h);
}

// The picture a label shows now, as an image of the label's size in device
// pixels at `ratio`.
QImage LabelCanvas(QLabel *label, qreal ratio) {
    const QSize size(TScreenPicture::DeviceLength(label->width(), ratio),
                     TScreenPicture::DeviceLength(label->height(), ratio));
    QImage canvas = label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    canvas.setDevicePixelRatio(1.0);
    if (canvas.size() != size) {
        QImage sized(size, QImage::Format_RGB32);
        sized.fill(White);
        if (!canvas.isNull()) {
            QPainter p(&sized);
            p.drawImage(0, 0, canvas);
        }
        canvas = sized;
    }
    return canvas;
}

// A picture made of device pixels, shown at `ratio` device pixels per pixel.
QPixmap ScreenPixmap(QImage image, qreal ratio) {
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

// Sets the width (or height) of the panel that holds `image`. The window
// itself is never resized: an image placed directly on the window has no
// panel of its own.
void SetPanelWidth(QLabel *image, int width) {
    QWidget *panel = image->parentWidget();
    if (panel && !panel->isWindow())
        panel->resize(width, panel->height());
}

void SetPanelHeight(QLabel *image, int height) {
    QWidget *panel = image->parentWidget();
    if (panel && !panel->isWindow())
        panel->resize(panel->width(), height);
}

// Places the panel that holds `image` at `rect` and makes the image fill it.
void PlaceEdge(QLabel *image, const QRect &rect) {
    if (!image)
        return;
    QWidget *panel = image->parentWidget();
    if (panel && !panel->isWindow())
        panel->setGeometry(rect);
    SizeImageToParent(image);
}

Qt::CursorShape GripCursor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        return edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)
                   ? Qt::SizeFDiagCursor
                   : Qt::SizeBDiagCursor;
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

void SizeImageToParent(QLabel *image) {
    if (!image || !image->parentWidget())
        return;
    const QSize size = image->parentWidget()->size();
    image->resize(size);
    const QPixmap old = image->pixmap();
    if (size.isEmpty()) {
        image->setPixmap(QPixmap());
        return;
    }
    if (old.size() == size)
        return;
    QPixmap sized(size);
    sized.fill(White);
    if (!old.isNull()) {
        QPainter p(&sized);
        p.drawPixmap(0, 0, old);
    }
    image->setPixmap(sized);
}

QPixmap KeyedPixmap(const QString &resource, QColor key) {
    const QImage img(resource);
    if (img.isNull())
        return {};
    return QPixmap::fromImage(TScreenPicture::Keyed(img, key));
}

TSkinMan::TSkinMan(QLabel *imgLeft, QLabel *imgTop, QLabel *imgRight, QLabel *imgBottom,
                   QWidget *pnlCenter) {
    if (!imgLeft || !imgTop || !imgRight || !imgBottom || !pnlCenter)
        return;
    QWidget *window = pnlCenter->window();
    const int w = window->width();
    const int h = window->height();
    // Only a borderless window of at least the minimum size is framed.
    if (!window->windowFlags().testFlag(Qt::FramelessWindowHint) || w < MinWidth || h < MinHeight)
        return;
    window_ = window;
    imgTop_ = imgTop;
    imgLeft_ = imgLeft;
    imgRight_ = imgRight;
    imgBottom_ = imgBottom;
    centre_ = pnlCenter;
    painted_ = window->size();

    SetPanelWidth(imgLeft, SideWidth);
    SetPanelHeight(imgTop, TitleHeight);
    SetPanelWidth(imgRight, SideWidth);
    SetPanelHeight(imgBottom, BottomHeight);
    for (QLabel *image : {imgLeft, imgTop, imgRight, imgBottom}) {
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setScaledContents(false);
        SizeImageToParent(image);
    }

    window->setToolTipDuration(ToolTipStayMs);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->setToolTipDuration(ToolTipStayMs);

    // The content panel paints its own background in the frame's inside colour.
    pnlCenter->setAutoFillBackground(true);
    QPalette centre = pnlCenter->palette();
    centre.setColor(QPalette::Window, InsideColour);
    pnlCenter->setPalette(centre);

    imgTop->installEventFilter(this);

    PaintEdges(imgLeft, imgTop, imgRight, imgBottom);

    QWidget *titlePanel = imgTop->parentWidget() ? imgTop->parentWidget() : window;

    auto *icon = new QLabel(titlePanel);
    icon->setObjectName("IconImage");
    icon->setPixmap(TScreenPicture::Pixmap(":/RES_ICON", TScreenPicture::RatioOf(window), White));
    icon->resize(icon->pixmap().deviceIndependentSize().toSize());
    icon->move(IconLeft, (TitleHeight - icon->height()) / 2);
    icon->show();
    icon->raise();
    IconImage = icon_ = icon;

    auto *caption = new QLabel(titlePanel);
    caption->setObjectName("CaptionLabel");
    caption->setTextFormat(Qt::PlainText);
    caption->setText(window->windowTitle());
    QFont font = window->font();
    font.setBold(true);
    caption->setFont(font);
    QPalette captionPalette = caption->palette();
    captionPalette.setColor(QPalette::WindowText, White);
    caption->setPalette(captionPalette);
    caption->setAutoFillBackground(false);
    caption->adjustSize();
    caption->move(icon->x() + icon->width() + CaptionGap, (TitleHeight - caption->height()) / 2);
    caption->show();
    caption->raise();
    CaptionLabel = caption_ = caption;

    auto *close = NewTitleButton(titlePanel, "Close");
    close->setObjectName("CloseButton");
    close->move(w - ButtonSize - ButtonMargin, (TitleHeight - ButtonSize) / 2);
    CloseButton = close_ = close;
    DrawButton(close, "close", "up");

    auto *minimize = NewTitleButton(titlePanel, "Minimize");
    minimize->setObjectName("MinimizeButton");
    minimize->move(close->x() - 1 - ButtonSize, (TitleHeight - ButtonSize) / 2);
    MinimizeButton = minimize_ = minimize;
    DrawButton(minimize, "minimize", "up");

    window->setMask(QRegion(0, 0, w, h));
    // The window tells of its new sizes and of its native window, which
    // tells of every press and move of the mouse over it, before its
    // controls see them.
    window->installEventFilter(this);
    WatchHandle();
}

TSkinMan::~TSkinMan() {
    // The guarded pointers are null for controls the window has already
    // destroyed together with its children.
    delete close_.data();
    delete minimize_.data();
    delete caption_.data();
    delete icon_.data();
    IconImage = CaptionLabel = MinimizeButton = CloseButton = nullptr;
}

QLabel *TSkinMan::NewTitleButton(QWidget *titlePanel, const QString &toolTip) {
    auto *button = new QLabel(titlePanel);
    button->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    button->resize(ButtonSize, ButtonSize);
    button->setToolTip(toolTip);
    button->setToolTipDuration(ToolTipStayMs);
    button->installEventFilter(this);
    button->show();
    button->raise();
    return button;
}

void TSkinMan::PaintEdges(QLabel *imgLeft, QLabel *imgTop, QLabel *imgRight, QLabel *imgBottom) {
    // The pieces are cut for the screen's resolution: on screens above 100 %
    // from the frame image drawn at twice the size.
    const qreal r = TScreenPicture::RatioOf(window_);
    int a = 1;
    const QImage form =
        TScreenPicture::Drawing(":/RES_FORM", r, &a).convertToFormat(QImage::Format_RGB32);
    if (form.isNull())
        return;
    const int w = window_->width();
    const int h = window_->height();
    // The fixed pieces of the title bar take 9 + 116 + 110 + 14 = 249 columns;
    // the two middle pieces share the rest, the left one the smaller half.
    const int d = (w - 249) / 2;
    const int e = (w - 249) - d;

    QImage top = LabelCanvas(imgTop, r);
    CopyPieceAt(top, r, 0, 0, 9, 36, form, a, 0, 0, 9, 36);
    CopyPieceAt(top, r, 9, 0, 116, 36, form, a, 10, 0, 116, 36);
    // A middle piece narrower than its source takes the first d columns
    // (left) or the last e columns, ending at column 316 (right).
    CopyPieceAt(top, r, 125, 0, d, 36, form, a, 127, 0, std::min(d, 63), 36);
    CopyPieceAt(top, r, 125 + d, 0, e, 36, form, a, std::max(317 - e, 191), 0, std::min(e, 126),
                36);
    CopyPieceAt(top, r, w - 124, 0, 110, 36, form, a, 318, 0, 110, 36);
    CopyPieceAt(top, r, w - 14, 0, 14, 36, form, a, 429, 0, 14, 36);

    QImage left = LabelCanvas(imgLeft, r);
    CopyPieceAt(left, r, 0, 0, 2, h - 42, form, a, 0, 37, 2, 12);
    QImage right = LabelCanvas(imgRight, r);
    CopyPieceAt(right, r, 0, 0, 2, h - 42, form, a, 441, 37, 2, 12);

    QImage bottom = LabelCanvas(imgBottom, r);
    CopyPieceAt(bottom, r, 0, 0, 126, 6, form, a, 0, 50, 126, 6);
    CopyPieceAt(bottom, r, 126, 0, w - 251, 6, form, a, 127, 50, std::min(w - 251, 190), 6);
    CopyPieceAt(bottom, r, w - 125, 0, 125, 6, form, a, 318, 50, 125, 6);

    imgTop->setPixmap(ScreenPixmap(top, r));
    imgLeft->setPixmap(ScreenPixmap(left, r));
    imgRight->setPixmap(ScreenPixmap(right, r));
    imgBottom->setPixmap(ScreenPixmap(bottom, r));
}

void TSkinMan::DrawButton(QLabel *button, const QString &name, const QString &state) {
    if (!button)
        return;
    const QString n = name.toLower();
    const QString s = state.toLower();
    int cell = -1;
    if (n == "minimize" && (s == "up" || s == "down"))
        cell = s == "down" ? 20 : 0;
    else if (n == "close" && (s == "up" || s == "down"))
        cell = s == "down" ? 80 : 60;
    if (cell < 0)
        return;
    // The cell is drawn at the screen's resolution: on screens above 100 %
    // from the buttons drawn at twice the size.
    const qreal r = TScreenPicture::RatioOf(button);
    int a = 1;
    const QImage title = TScreenPicture::Drawing(":/RES_TITLE", r, &a);
    if (title.isNull())
        return;
    const int side = TScreenPicture::DeviceLength(ButtonSize, r);
    QImage keyed =
        TScreenPicture::Keyed(title.copy(cell * a, 0, ButtonSize * a, ButtonSize * a), Magenta);
    if (keyed.width() != side)
        keyed = keyed.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    keyed.setDevicePixelRatio(1.0);

    const QSize size(TScreenPicture::DeviceLength(button->width(), r),
                     TScreenPicture::DeviceLength(button->height(), r));
    QImage picture = button->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    picture.setDevicePixelRatio(1.0);
    if (picture.size() != size) {
        picture = QImage(size, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
    }
    {
        QPainter p(&picture);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, keyed);
    }
    button->setPixmap(ScreenPixmap(picture, r));
}

void TSkinMan::WatchHandle() {
    QWindow *handle = window_ ? window_->windowHandle() : nullptr;
    if (!handle || handle == handle_.data())
        return;
    handle_ = handle;
    handle->installEventFilter(this);
}

void TSkinMan::FitFrame() {
    if (!window_ || window_->size() == painted_)
        return;
    const int w = window_->width();
    const int h = window_->height();
    painted_ = window_->size();
    PlaceEdge(imgTop_, QRect(0, 0, w, TitleHeight));
    PlaceEdge(imgLeft_, QRect(0, TitleHeight, SideWidth, h - TitleHeight - BottomHeight));
    PlaceEdge(imgRight_,
              QRect(w - SideWidth, TitleHeight, SideWidth, h - TitleHeight - BottomHeight));
    PlaceEdge(imgBottom_, QRect(0, h - BottomHeight, w, BottomHeight));
    if (centre_ && centre_->parentWidget() == window_)
        centre_->setGeometry(SideWidth, TitleHeight, w - 2 * SideWidth,
                             h - TitleHeight - BottomHeight);
    if (imgLeft_ && imgTop_ && imgRight_ && imgBottom_)
        PaintEdges(imgLeft_, imgTop_, imgRight_, imgBottom_);
    if (close_)
        close_->move(w - ButtonSize - ButtonMargin, close_->y());
    if (close_ && minimize_)
        minimize_->move(close_->x() - 1 - ButtonSize, minimize_->y());
    window_->setMask(QRegion(0, 0, w, h));
}

Qt::Edges TSkinMan::GripEdges(QPoint pos) const {
    if (!window_ || window_->isMaximized() || window_->isFullScreen() ||
        window_->minimumSize() == window_->maximumSize())
        return {};
    const int w = window_->width();
    const int h = window_->height();
    Qt::Edges edges;
    if (pos.x() < GripWidth)
        edges |= Qt::LeftEdge;
    else if (pos.x() >= w - GripWidth)
        edges |= Qt::RightEdge;
    if (pos.y() < GripWidth)
        edges |= Qt::TopEdge;
    else if (pos.y() >= h - GripWidth)
        edges |= Qt::BottomEdge;
    if (!edges)
        return edges;
    // Near a corner, along either edge, the corner is taken.
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (pos.x() < CornerLength)
            edges |= Qt::LeftEdge;
        else if (pos.x() >= w - CornerLength)
            edges |= Qt::RightEdge;
    }
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        if (pos.y() < CornerLength)
            edges |= Qt::TopEdge;
        else if (pos.y() >= h - CornerLength)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

bool TSkinMan::GripMouseDown(QMouseEvent *event, QPoint pos) {
    if (event->button() != Qt::LeftButton)
        return false;
    const Qt::Edges edges = GripEdges(pos);
    if (!edges)
        return false;
    emit WindowResizeRequested(edges);
    // The window system resizes the window with the mouse until the button
    // is released.
    if (QWindow *handle = window_->windowHandle())
        handle->startSystemResize(edges);
    return true;
}

void TSkinMan::ShowGripCursor(QPoint pos) {
    const Qt::Edges edges = GripEdges(pos);
    if (edges)
        window_->setCursor(GripCursor(edges));
    else if (window_->testAttribute(Qt::WA_SetCursor))
        window_->unsetCursor();
}

bool TSkinMan::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (watched == window_.data()) {
        if (type == QEvent::Resize)
            FitFrame();
        else if (type == QEvent::Show || type == QEvent::WinIdChange)
            WatchHandle();
        return QObject::eventFilter(watched, event);
    }
    if (watched == handle_.data() && window_) {
        // Every press and move over the window, in its coordinates: by the
        // edges they resize the window whatever control lies there.
        if (type == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            return GripMouseDown(mouse, mouse->position().toPoint());
        }
        if (type == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() == Qt::NoButton)
                ShowGripCursor(mouse->position().toPoint());
        } else if (type == QEvent::Leave && window_->testAttribute(Qt::WA_SetCursor)) {
            window_->unsetCursor();
        }
        return QObject::eventFilter(watched, event);
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    if (!press && !release)
        return QObject::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);

    if (watched == close_.data() || watched == minimize_.data()) {
        const bool isClose = watched == close_.data();
        if (press)
            isClose ? CloseMouseDown(mouse) : MinimizeMouseDown(mouse);
        else
            isClose ? CloseMouseUp(mouse) : MinimizeMouseUp(mouse);
        return true;
    }
    if (watched == imgTop_.data() && press) {
        const bool moves = mouse->button() == Qt::LeftButton && mouse->position().y() < DragRows;
        // A double-click maximises the window, or restores it.
        if (type == QEvent::MouseButtonDblClick) {
            if (moves)
                window_->isMaximized() ? window_->showNormal() : window_->showMaximized();
            return moves;
        }
        // A press that starts a move is consumed; others go on to the panel.
        TitleMouseDown(mouse);
        return moves;
    }
    return QObject::eventFilter(watched, event);
}

void TSkinMan::CloseMouseDown(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = close_;
    DrawButton(close_, "close", "down");
}

void TSkinMan::CloseMouseUp(QMouseEvent *event) {
    // Only the release of a press that began on this button counts; Qt sends
    // that release here wherever the pointer is by then.
    if (event->button() != Qt::LeftButton || pressed_ != close_.data())
        return;
    pressed_ = nullptr;
    DrawButton(close_, "close", "up");
    if (window_)
        window_->close();
}

void TSkinMan::MinimizeMouseDown(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = minimize_;
    DrawButton(minimize_, "minimize", "down");
}

void TSkinMan::MinimizeMouseUp(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || pressed_ != minimize_.data())
        return;
    pressed_ = nullptr;
    DrawButton(minimize_, "minimize", "up");
    if (window_)
        window_->showMinimized();
}

void TSkinMan::TitleMouseDown(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || event->position().y() >= DragRows || !window_)
        return;
    emit WindowMoveRequested();
    // The window system moves the window with the mouse until the button is
    // released (and takes over the mouse from the press).
    if (QWindow *handle = window_->windowHandle())
        handle->startSystemMove();
}
