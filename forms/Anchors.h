#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// Controls that follow a growing window, as the anchors of classic form
// designers do.
//
// The forms place their controls for the window's default size. A control
// anchored to an edge of its parent keeps its distance to that edge as the
// parent grows or shrinks: anchored left and right it grows with the
// parent's width, anchored right only it moves with the right edge, anchored
// left only it stays (as every control that is not anchored here does);
// likewise top and bottom. A control anchored to neither side of an axis
// keeps its centre at the same share of the parent.
class TAnchors : public QObject {
    Q_OBJECT
public:
    // The anchors of the children of `parent`, made on first use. The
    // children's places are measured from the size that `measure` (the
    // parent itself when null) has at that moment, its default size: the
    // page of a tab widget, which has no size of its own before it is first
    // shown, follows the growth of its tab widget. A top-level `parent` is
    // also fitted into the screen each time it is shown.
    static TAnchors &Of(QWidget *parent, QWidget *measure = nullptr);

    // `child` keeps its distance to each edge in `edges`.
    TAnchors &Pin(QWidget *child, Qt::Edges edges);
    // `child`'s left and right edges move by these shares of the parent's
    // growth in width (0 stays, 1 follows the right edge): two controls side
    // by side share the growth. Vertically it keeps the distance to `edges`.
    TAnchors &Share(QWidget *child, qreal left, qreal right, Qt::Edges edges);

    // Places the anchored children for the present size, and their own
    // anchored children with them (hidden ones too, which get their resize
    // events only when they are shown).
    void Apply();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TAnchors(QWidget *parent, QWidget *measure);

    struct TItem {
        QPointer<QWidget> Child;
        QRect Base;
        // Shares of the growth that the left, top, right and bottom edges follow.
        qreal Left, Top, Right, Bottom;
    };
    QWidget *FParent;
    QPointer<QWidget> FMeasure;
    QSize FBase;
    QList<TItem> FItems;
};

// The window's minimum size becomes `defaultSize`, or as much of it as the
// screen holds; the window is placed at `wanted` (its frame counted) where
// the screen holding the middle of `wanted` (else the primary screen) has
// room, shrunk and moved into that screen's available area where it does
// not. A maximised window keeps its place.
void FitWindowToScreen(QWidget *window, QRect wanted, QSize defaultSize);
