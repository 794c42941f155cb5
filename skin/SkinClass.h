#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

class QEvent;
class QImage;
class QLabel;
class QMouseEvent;
class QWidget;

// The painted frame of the borderless main window.
//
// The window provides four edge panels, each holding one image label that
// fills it, around its content panel. The skin cuts the pieces of the frame
// image RES_FORM into those labels (for the window's size at construction),
// puts the icon, the caption and the Minimize and Close buttons on the title
// bar and lets the user move the window by dragging the title bar. A window
// with a system border, or one smaller than 251 × 189, is left alone.
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

signals:
    // Emitted when a press on the title bar hands the window to the window
    // system to be moved with the mouse.
    void WindowMoveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CloseMouseDown(QMouseEvent *event);
    void CloseMouseUp(QMouseEvent *event);
    void MinimizeMouseDown(QMouseEvent *event);
    void MinimizeMouseUp(QMouseEvent *event);
    void TitleMouseDown(QMouseEvent *event);

    void PaintEdges(QLabel *imgLeft, QLabel *imgTop, QLabel *imgRight, QLabel *imgBottom);
    QLabel *NewTitleButton(QWidget *titlePanel, const QString &toolTip);

    QPointer<QWidget> window_;
    QPointer<QLabel> imgTop_;
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
