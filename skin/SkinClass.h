#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>

class QEvent;
class QImage;
class QLabel;
class QMouseEvent;
class QWidget;
class QWindow;

// The painted frame of the borderless main window.
//
// The window provides four edge panels, each holding one image label that
// fills it, around its content panel. The skin cuts the pieces of the frame
// image RES_FORM into those labels, puts the icon, the caption and the
// Minimize and Close buttons on the title bar and lets the user move the
// window by dragging the title bar. The window can be resized by its edges
// and corners and maximised (and restored) by a double-click on the title
// bar; whenever its size changes the skin places the edge panels and the
// content panel around it again and cuts the frame anew. A window with a
// system border, or one smaller than 251 × 189, is left alone.
class TSkinMan : public QObject {
    Q_OBJECT
public:
    TSkinMan(QLabel *imgLeft, QLabel *imgTop, QLabel *imgRight, QLabel *imgBottom,
             QWidget *pnlCenter);
    ~TSkinMan() override;

    // Created (and owned) by the skin; all null when the frame is not applied.
    QLabel *IconImage = nullptr, *CaptionLabel = nullptr, *MinimizeButton = nullptr,
           *CloseButton = nullptr;

    // Paints `button` from its cell of RES_TITLE. `name` is "minimize" or
    // "close", `state` "up" or "down" (any letter case); anything else
    // leaves the picture as it is.
    void DrawButton(QLabel *button, const QString &name, const QString &state);

    // The smallest window that gets a frame.
    static constexpr int MinWidth = 251;
    static constexpr int MinHeight = 189;
    // Heights and widths of the edges; the title bar's lowest rows do not
    // move the window.
    static constexpr int TitleHeight = 36;
    static constexpr int SideWidth = 2;
    static constexpr int BottomHeight = 6;
    static constexpr int DragRows = 32;
    // A press this close to an edge of the window resizes it from that edge,
    // and this close to a corner (along either edge) from the corner.
    static constexpr int GripWidth = 4;
    static constexpr int CornerLength = 16;

    // The edges that a press at `pos` (in the window) resizes the window
    // from; none where it does not, and none while it is maximised.
    Qt::Edges GripEdges(QPoint pos) const;

signals:
    // Emitted when a press on the title bar hands the window to the window
    // system to be moved with the mouse.
    void WindowMoveRequested();
    // Emitted when a press by an edge hands the window to the window system
    // to be resized with the mouse from `edges`.
    void WindowResizeRequested(Qt::Edges edges);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CloseMouseDown(QMouseEvent *event);
    void CloseMouseUp(QMouseEvent *event);
    void MinimizeMouseDown(QMouseEvent *event);
    void MinimizeMouseUp(QMouseEvent *event);
    void TitleMouseDown(QMouseEvent *event);
    // Starts resizing from the edges at `pos` (in the window); false when
    // `pos` is not by an edge.
    bool GripMouseDown(QMouseEvent *event, QPoint pos);
    void ShowGripCursor(QPoint pos);
    // Watches the native window of the window, once it has one.
    void WatchHandle();
    // Places the edge panels and the content panel around the window's
    // present size and paints the frame for it.
    void FitFrame();

    void PaintEdges(QLabel *imgLeft, QLabel *imgTop, QLabel *imgRight, QLabel *imgBottom);
    QLabel *NewTitleButton(QWidget *titlePanel, const QString &toolTip);

    QPointer<QWidget> window_;
    QPointer<QLabel> imgTop_, imgLeft_, imgRight_, imgBottom_;
    QPointer<QWidget> centre_;
    QPointer<QWindow> handle_;
    // The window size the frame was last painted for.
    QSize painted_;
    // Guarded copies of the owned controls: the window may destroy its
    // children (ours among them) before it destroys the skin.
    QPointer<QLabel> icon_, caption_, minimize_, close_;
    // The button that received the left-button press, until its release.
    QLabel *pressed_ = nullptr;
};

// Makes `image` as large as its parent's client area and gives its picture
// the same size (the top-left part of an existing picture is kept).
void SizeImageToParent(QLabel *image);

// A picture from the program's resources with every pixel of colour `key`
// made transparent; a null pixmap when the resource cannot be read.
QPixmap KeyedPixmap(const QString &resource, QColor key);
