#include "forms/Anchors.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// Share of the growth that the near and the far edge of a control follow
// when it is anchored to these sides of one axis.
void Shares(bool nearSide, bool farSide, qreal &nearShare, qreal &farShare) {
    nearShare = nearSide ? 0.0 : farSide ? 1.0 : 0.5;
    farShare = farSide ? 1.0 : nearSide ? 0.0 : 0.5;
}

int Moved(int edge, qreal share, int growth) {
    return edge + static_cast<int>(std::lround(share * growth));
}

// The window system's frame around `window`. Before a framed window is first
// shown its frame is not known yet; a title bar and thin borders as most
// window systems draw them stand in for it.
QMargins FrameOf(const QWidget *window) {
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins known(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
    return known.isNull() ? QMargins(5, 30, 5, 5) : known;
}

} // namespace

TAnchors::TAnchors(QWidget *parent, QWidget *measure)
    : QObject(parent), FParent(parent), FMeasure(measure), FBase(measure->size()) {
    setObjectName(QStringLiteral("Anchors"));
    parent->installEventFilter(this);
    if (measure != parent)
        measure->installEventFilter(this);
}

TAnchors &TAnchors::Of(QWidget *parent, QWidget *measure) {
    if (auto *anchors = parent->findChild<TAnchors *>(QString(), Qt::FindDirectChildrenOnly))
        return *anchors;
    return *new TAnchors(parent, measure ? measure : parent);
}

TAnchors &TAnchors::Pin(QWidget *child, Qt::Edges edges) {
    qreal left, right, top, bottom;
    Shares(edges & Qt::LeftEdge, edges & Qt::RightEdge, left, right);
    Shares(edges & Qt::TopEdge, edges & Qt::BottomEdge, top, bottom);
    FItems.append({child, child->geometry(), left, top, right, bottom});
    return *this;
}

TAnchors &TAnchors::Share(QWidget *child, qreal left, qreal right, Qt::Edges edges) {
    qreal top, bottom;
    Shares(edges & Qt::TopEdge, edges & Qt::BottomEdge, top, bottom);
    FItems.append({child, child->geometry(), left, top, right, bottom});
    return *this;
}

void TAnchors::Apply() {
    if (!FMeasure)
        return;
    const int dx = FMeasure->width() - FBase.width();
    const int dy = FMeasure->height() - FBase.height();
    for (const TItem &item : std::as_const(FItems)) {
        if (!item.Child)
            continue;
        const QRect &b = item.Base;
        const int left = Moved(b.left(), item.Left, dx);
        const int top = Moved(b.top(), item.Top, dy);
        // Right and bottom counted past the last pixel, so that a control
        // anchored on both sides keeps its exact distance to both.
        const int right = Moved(b.left() + b.width(), item.Right, dx);
        const int bottom = Moved(b.top() + b.height(), item.Bottom, dy);
        item.Child->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
        if (auto *inner = item.Child->findChild<TAnchors *>(QString(), Qt::FindDirectChildrenOnly))
            inner->Apply();
    }
}

bool TAnchors::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize && watched == FMeasure.data())
        Apply();
    else if (event->type() == QEvent::Show && watched == FParent && FParent->isWindow())
        FitWindowToScreen(FParent, FParent->geometry(), FBase);
    return QObject::eventFilter(watched, event);
}

void FitWindowToScreen(QWidget *window, QRect wanted, QSize defaultSize) {
    const QMargins frame = FrameOf(window);
    QScreen *screen = QGuiApplication::screenAt(wanted.marginsAdded(frame).center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry().marginsRemoved(frame);
    window->setMinimumSize(defaultSize.boundedTo(area.size()));
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QSize size = wanted.size().boundedTo(area.size()).expandedTo(window->minimumSize());
    const int x = std::clamp(wanted.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(wanted.y(), area.top(), area.top() + area.height() - size.height());
    window->setGeometry(x, y, size.width(), size.height());
}
