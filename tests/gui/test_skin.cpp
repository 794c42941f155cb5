#include "skin/SkinClass.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

// A borderless window laid out like the main window, for any size: four edge
// panels with one image each around the content panel.
struct FramedWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QWidget *pnlTop, *pnlLeft, *pnlRight, *pnlBottom, *pnlCenter;
    QLabel *imgTop, *imgLeft, *imgRight, *imgBottom;
    std::unique_ptr<TSkinMan> skin;

    explicit FramedWindow(int w, int h, bool frameless = true) {
        window->setWindowFlags(frameless ? Qt::Window | Qt::FramelessWindowHint : Qt::Window);
        window->setWindowTitle("Ledgerly - Username: alice");
        window->resize(w, h);
        pnlTop = Panel("pnlTop", 0, 0, w, 36);
        pnlLeft = Panel("pnlLeft", 0, 36, 2, h - 42);
        pnlRight = Panel("pnlRight", w - 2, 36, 2, h - 42);
        pnlBottom = Panel("pnlBottom", 0, h - 6, w, 6);
        pnlCenter = Panel("pnlCenter", 2, 36, w - 4, h - 42);
        imgTop = new QLabel(pnlTop);
        imgLeft = new QLabel(pnlLeft);
        imgRight = new QLabel(pnlRight);
        imgBottom = new QLabel(pnlBottom);
        skin = std::make_unique<TSkinMan>(imgLeft, imgTop, imgRight, imgBottom, pnlCenter);
    }
    ~FramedWindow() { skin.reset(); }

    QWidget *Panel(const char *name, int x, int y, int w, int h) {
        auto *panel = new QWidget(window.get());
        panel->setObjectName(name);
        panel->setGeometry(x, y, w, h);
        return panel;
    }
};

QImage Form() {
    return QImage(":/RES_FORM").convertToFormat(QImage::Format_RGB32);
}

QImage Picture(const QLabel *label) {
    return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

// True when the rectangle (dx, dy, w, h) of `dst` equals the rectangle of the
// same size at (sx, sy) of `src`, pixel for pixel.
bool SameBlock(const QImage &dst, int dx, int dy, const QImage &src, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (dst.pixel(dx + x, dy + y) != src.pixel(sx + x, sy + y))
                return false;
    return true;
}

bool SameColumn(const QImage &dst, int dx, const QImage &src, int sx, int sy) {
    return SameBlock(dst, dx, 0, src, sx, sy, 1, dst.height());
}

// The destination columns [dx, dx + dw) are a horizontal stretch of the
// source columns [sx, sx + sw): each column equals the source column at its
// proportional place (one column of rounding either way allowed).
bool StretchedColumns(const QImage &dst, int dx, int dw, const QImage &src, int sx, int sw,
                      int sy) {
    for (int x = 0; x < dw; ++x) {
        const int at = sx + x * sw / dw;
        bool found = false;
        for (int c = std::max(sx, at - 1); c <= std::min(sx + sw - 1, at + 1) && !found; ++c)
            found = SameColumn(dst, dx + x, src, c, sy);
        if (!found)
            return false;
    }
    return true;
}

// Neither guide pixels (green), markers (red) nor unpainted pixels (white)
// may show in a frame picture.
bool OnlyFramePixels(const QImage &img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & RGB_MASK;
            if (p == 0x00ff00 || p == 0xff0000 || p == 0xffffff)
                return false;
        }
    return true;
}

} // namespace

class TestSkin : public QObject {
    Q_OBJECT
private slots:
    void frameImageLayout();
    void otherPictures();
    void mainWindowSize();
    void pieceCoverageAtOtherWidths_data();
    void pieceCoverageAtOtherWidths();
    void smallestFrame();
    void noFrameBelowLimitsOrWithBorder_data();
    void noFrameBelowLimitsOrWithBorder();
    void drawButtonStates();
    void closePressReleasedElsewhereCloses();
    void rightPressOnCloseDoesNothing();
    void minimizeButton();
    void titleDragRows();
    void resizedAndMaximised();
    void windowDestroyedBeforeSkin();
    void paintedWindow();
};

void TestSkin::frameImageLayout() {
    // The asset itself: sizes, guides and outline where the cutting relies on them.
    const QImage form = Form();
    QCOMPARE(form.size(), QSize(443, 56));
    for (int x = 0; x < 443; ++x) {
        QCOMPARE(form.pixel(x, 36) & RGB_MASK, 0x00ff00u);
        QCOMPARE(form.pixel(x, 49) & RGB_MASK, 0x00ff00u);
    }
    for (int y = 0; y < 56; ++y) {
        QCOMPARE(form.pixel(126, y) & RGB_MASK, 0x00ff00u);
        QCOMPARE(form.pixel(317, y) & RGB_MASK, 0x00ff00u);
    }
    for (int x : {9, 190, 428})
        QCOMPARE(form.pixel(x, 7) & RGB_MASK, 0xff0000u);
    QCOMPARE(form.pixel(0, 40), qRgb(97, 97, 97));
    QCOMPARE(form.pixel(1, 40), qRgb(167, 167, 167));
    QCOMPARE(form.pixel(200, 40), qRgb(240, 240, 240));
    QCOMPARE(form.pixel(200, 55), qRgb(97, 97, 97));

    const QImage title = QImage(":/RES_TITLE");
    QCOMPARE(title.size(), QSize(120, 20));
    QCOMPARE(title.pixel(45, 10), qRgb(255, 0, 255)); // unused cell
    QCOMPARE(QImage(":/RES_ICON").size(), QSize(17, 13));
}

void TestSkin::otherPictures() {
    // The pictures other windows load by name: present, of their sizes, and
    // with the background their users key out.
    struct Expected {
        const char *name;
        QSize size;
    };
    const Expected pictures[] = {
        {"MENU_UP", {43, 13}},          {"MENU_DOWN", {43, 13}},
        {"LOGIN_PICTURE", {48, 48}},    {"ABOUT_ICON", {32, 32}},
        {"APP_ICON", {48, 48}},         {"QRFIRSTPAGEBITMAP", {18, 18}},
        {"QRPREVPAGEBITMAP", {18, 18}}, {"QRNEXTPAGEBITMAP", {18, 18}},
        {"QRLASTPAGEBITMAP", {18, 18}}, {"QRPRINTBITMAP", {18, 18}},
    };
    for (const Expected &e : pictures) {
        const QImage img(QString(":/") + e.name);
        QVERIFY2(!img.isNull(), e.name);
        QCOMPARE(img.size(), e.size);
        if (QByteArray(e.name).startsWith("QR")) {
            QCOMPARE(img.colorCount(), 16);
            QCOMPARE(img.pixel(0, 17) & RGB_MASK, 0xff00ffu);
            QCOMPARE(KeyedPixmap(QString(":/") + e.name, QColor(255, 0, 255))
                         .toImage()
                         .pixelColor(0, 0)
                         .alpha(),
                     0);
        }
    }
    // Blue at rest, red while pressed, on white.
    const QImage up(":/MENU_UP"), down(":/MENU_DOWN");
    QCOMPARE(up.pixel(0, 0), qRgb(255, 255, 255));
    QColor ink = up.pixelColor(2, 9);
    QVERIFY(ink.blue() > 150 && ink.red() < 60);
    ink = down.pixelColor(2, 9);
    QVERIFY(ink.red() > 150 && ink.blue() < 60);
    QVERIFY(QImage(":/APP_ICON").hasAlphaChannel());
}

void TestSkin::mainWindowSize() {
    FramedWindow f(700, 525);
    const QImage form = Form();

    // The edge pictures, each of its edge's size.
    const QImage top = Picture(f.imgTop);
    const QImage left = Picture(f.imgLeft);
    const QImage right = Picture(f.imgRight);
    const QImage bottom = Picture(f.imgBottom);
    QCOMPARE(top.size(), QSize(700, 36));
    QCOMPARE(left.size(), QSize(2, 483));
    QCOMPARE(bottom.size(), QSize(700, 6));

    // Title bar: fixed pieces copied, the middle split d = 225, e = 226.
    QVERIFY(SameBlock(top, 0, 0, form, 0, 0, 9, 36));
    QVERIFY(SameBlock(top, 9, 0, form, 10, 0, 116, 36));
    QVERIFY(StretchedColumns(top, 125, 225, form, 127, 63, 0));
    QVERIFY(StretchedColumns(top, 350, 226, form, 191, 126, 0));
    QVERIFY(SameBlock(top, 576, 0, form, 318, 0, 110, 36));
    QVERIFY(SameBlock(top, 686, 0, form, 429, 0, 14, 36));

    // Side edges: the 12 rows of the side band stretched to 483.
    for (int y = 0; y < 483; ++y) {
        const int from = 37 + y * 12 / 483;
        QVERIFY(SameBlock(left, 0, y, form, 0, from, 2, 1));
        QVERIFY(SameBlock(right, 0, y, form, 441, from, 2, 1));
    }

    // Bottom edge: the middle piece is 449 columns wide.
    QVERIFY(SameBlock(bottom, 0, 0, form, 0, 50, 126, 6));
    QVERIFY(StretchedColumns(bottom, 126, 449, form, 127, 190, 50));
    QVERIFY(SameBlock(bottom, 575, 0, form, 318, 50, 125, 6));
    for (const QImage *img : {&top, &left, &right, &bottom})
        QVERIFY(OnlyFramePixels(*img));

    // Title-bar controls.
    TSkinMan &s = *f.skin;
    QVERIFY(s.IconImage && s.CaptionLabel && s.MinimizeButton && s.CloseButton);
    QCOMPARE(s.IconImage->parentWidget(), f.pnlTop);
    QCOMPARE(s.IconImage->pixmap().toImage().pixelColor(0, 0).alpha(), 0); // white is clear
    QCOMPARE(s.CaptionLabel->text(), QString("Ledgerly - Username: alice"));
    QCOMPARE(s.CaptionLabel->x(), 32);
    QCOMPARE(s.CaptionLabel->y(), (36 - s.CaptionLabel->height()) / 2);
    QVERIFY(s.CaptionLabel->font().bold());
    QCOMPARE(s.CaptionLabel->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(s.CloseButton->toolTip(), QString("Close"));
    QCOMPARE(s.MinimizeButton->toolTip(), QString("Minimize"));
    QVERIFY(s.CloseButton->toolTipDuration() > 60 * 1000);

    // A later caption change is not followed.
    f.window->setWindowTitle("Other");
    QCOMPARE(s.CaptionLabel->text(), QString("Ledgerly - Username: alice"));

    QCOMPARE(f.window->mask(), QRegion(0, 0, 700, 525));
    QVERIFY(f.pnlCenter->autoFillBackground());
    QCOMPARE(f.pnlCenter->palette().color(QPalette::Window), QColor(240, 240, 240));
}

void TestSkin::pieceCoverageAtOtherWidths_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("even rest") << 300; // d = e = 25
    QTest::newRow("left piece full") << 375;
    QTest::newRow("right piece full") << 600;
    QTest::newRow("wide") << 1200; // both middle pieces wider than their sources
}

void TestSkin::pieceCoverageAtOtherWidths() {
    // Every column of every edge is painted from the frame, never from a guide.
    QFETCH(int, width);
    FramedWindow f(width, 300);
    const QImage form = Form();
    const QImage top = Picture(f.imgTop);
    const QImage bottom = Picture(f.imgBottom);
    QCOMPARE(top.width(), width);
    QVERIFY(OnlyFramePixels(top));
    QVERIFY(OnlyFramePixels(bottom));
    QVERIFY(OnlyFramePixels(Picture(f.imgLeft)));
    QVERIFY(OnlyFramePixels(Picture(f.imgRight)));
    QVERIFY(SameBlock(top, width - 14, 0, form, 429, 0, 14, 36));
    QVERIFY(SameBlock(bottom, width - 125, 0, form, 318, 50, 125, 6));
    QCOMPARE(f.skin->CloseButton->x(), width - 30);
}

void TestSkin::smallestFrame() {
    FramedWindow f(251, 189);
    const QImage form = Form();
    const QImage top = Picture(f.imgTop);
    // One-column middle pieces, from source columns 127 and 316.
    QVERIFY(SameColumn(top, 125, form, 127, 0));
    QVERIFY(SameColumn(top, 126, form, 316, 0));
    QVERIFY(SameBlock(top, 127, 0, form, 318, 0, 110, 36));
    QVERIFY(OnlyFramePixels(top));
    // The bottom middle piece is empty: the two ends meet.
    const QImage bottom = Picture(f.imgBottom);
    QVERIFY(SameBlock(bottom, 0, 0, form, 0, 50, 126, 6));
    QVERIFY(SameBlock(bottom, 126, 0, form, 318, 50, 125, 6));
    QCOMPARE(Picture(f.imgLeft).height(), 147);
    QVERIFY(f.skin->CloseButton != nullptr);
    QCOMPARE(f.window->mask(), QRegion(0, 0, 251, 189));
}

void TestSkin::noFrameBelowLimitsOrWithBorder_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("frameless");
    QTest::newRow("too narrow") << 250 << 189 << true;
    QTest::newRow("too low") << 251 << 188 << true;
    QTest::newRow("system border") << 700 << 525 << false;
}

void TestSkin::noFrameBelowLimitsOrWithBorder() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, frameless);
    FramedWindow f(width, height, frameless);
    const TSkinMan &s = *f.skin;
    QVERIFY(!s.IconImage && !s.CaptionLabel && !s.MinimizeButton && !s.CloseButton);
    QVERIFY(f.imgTop->pixmap().isNull());
    QVERIFY(f.imgLeft->pixmap().isNull());
    QVERIFY(f.window->mask().isEmpty());
    QVERIFY(!f.pnlCenter->autoFillBackground());
    QCOMPARE(f.window->findChildren<QLabel *>().size(), 4);
}

void TestSkin::drawButtonStates() {
    FramedWindow f(700, 525);
    TSkinMan &s = *f.skin;
    const QImage title = QImage(":/RES_TITLE").convertToFormat(QImage::Format_ARGB32);
    // The picture shows the cell of the state, with the magenta background clear.
    auto shows = [&](QLabel *button, int cell) {
        const QImage img = button->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const QRgb src = title.pixel(cell + x, y);
                const QRgb got = img.pixel(x, y);
                if ((src & RGB_MASK) == 0xff00ff ? qAlpha(got) != 0 : got != src)
                    return false;
            }
        return true;
    };
    QVERIFY(shows(s.CloseButton, 60));
    QVERIFY(shows(s.MinimizeButton, 0));
    s.DrawButton(s.CloseButton, "CLOSE", "Down");
    QVERIFY(shows(s.CloseButton, 80));
    s.DrawButton(s.MinimizeButton, "Minimize", "DOWN");
    QVERIFY(shows(s.MinimizeButton, 20));
    // Unknown names and states leave the picture alone; no button, no effect.
    s.DrawButton(s.CloseButton, "close", "hover");
    s.DrawButton(s.CloseButton, "maximize", "up");
    s.DrawButton(nullptr, "close", "up");
    QVERIFY(shows(s.CloseButton, 80));
}

void TestSkin::closePressReleasedElsewhereCloses() {
    FramedWindow f(700, 525);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QWindow *handle = f.window->windowHandle();
    const QPoint onClose = f.skin->CloseButton->mapTo(f.window.get(), QPoint(10, 10));
    const QImage up = f.skin->CloseButton->pixmap().toImage();

    QTest::mousePress(handle, Qt::LeftButton, {}, onClose);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.skin->CloseButton->pixmap().toImage() != up); // drawn pressed
    // Released far from the button: the button that got the press still gets it.
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(300, 300));
    QTRY_VERIFY(!f.window->isVisible());
    QCOMPARE(f.skin->CloseButton->pixmap().toImage(), up);
}

void TestSkin::rightPressOnCloseDoesNothing() {
    FramedWindow f(700, 525);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QWindow *handle = f.window->windowHandle();
    const QPoint onClose = f.skin->CloseButton->mapTo(f.window.get(), QPoint(10, 10));
    const QImage up = f.skin->CloseButton->pixmap().toImage();

    QTest::mousePress(handle, Qt::RightButton, {}, onClose);
    QCOMPARE(f.skin->CloseButton->pixmap().toImage(), up);
    QTest::mouseRelease(handle, Qt::RightButton, {}, onClose);
    QCoreApplication::processEvents();
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.skin->CloseButton->pixmap().toImage(), up);

    // A left release whose press was elsewhere does not close either.
    QTest::mouseRelease(f.skin->CloseButton, Qt::LeftButton, {}, QPoint(10, 10));
    QCoreApplication::processEvents();
    QVERIFY(f.window->isVisible());
}

void TestSkin::minimizeButton() {
    FramedWindow f(700, 525);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTest::mouseClick(f.skin->MinimizeButton, Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_VERIFY(f.window->windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(f.window->isVisible()); // minimised, not closed
}

void TestSkin::titleDragRows() {
    FramedWindow f(700, 525);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QSignalSpy moves(f.skin.get(), &TSkinMan::WindowMoveRequested);

    QTest::mousePress(f.imgTop, Qt::LeftButton, {}, QPoint(300, 31));
    QTest::mouseRelease(f.imgTop, Qt::LeftButton, {}, QPoint(300, 31));
    QCOMPARE(moves.count(), 1);
    QTest::mousePress(f.imgTop, Qt::LeftButton, {}, QPoint(300, 32));
    QTest::mouseRelease(f.imgTop, Qt::LeftButton, {}, QPoint(300, 32));
    QTest::mousePress(f.imgTop, Qt::RightButton, {}, QPoint(300, 10));
    QTest::mouseRelease(f.imgTop, Qt::RightButton, {}, QPoint(300, 10));
    QCOMPARE(moves.count(), 1);

    // The caption and the buttons lie in front of the title image: pressing
    // them does not move the window.
    QWindow *handle = f.window->windowHandle();
    const QPoint onCaption = f.skin->CaptionLabel->geometry().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, onCaption);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, onCaption);
    QCOMPARE(moves.count(), 1);
    // Through the window system, a press on the bare title bar does.
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(400, 5));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(400, 5));
    QCOMPARE(moves.count(), 2);
}

void TestSkin::resizedAndMaximised() {
    // Resized, the frame is placed and cut as for a window made at the size.
    FramedWindow f(700, 525), made(1200, 800);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->resize(1200, 800);
    QCOMPARE(f.pnlCenter->geometry(), QRect(2, 36, 1196, 758));
    QCOMPARE(f.pnlBottom->geometry(), made.pnlBottom->geometry());
    for (const auto &[resized, new_] : {std::pair(f.imgTop, made.imgTop),
                                        {f.imgLeft, made.imgLeft},
                                        {f.imgRight, made.imgRight},
                                        {f.imgBottom, made.imgBottom}})
        QCOMPARE(Picture(resized), Picture(new_));
    QCOMPARE(f.skin->MinimizeButton->geometry(), QRect(1149, 8, 20, 20));
    QCOMPARE(f.window->mask(), QRegion(0, 0, 1200, 800));

    // A press by an edge resizes the window from that edge, by a corner
    // from the corner; the mouse over them shows which way.
    QSignalSpy resizes(f.skin.get(), &TSkinMan::WindowResizeRequested);
    QWindow *handle = f.window->windowHandle();
    const struct {
        QPoint At;
        Qt::Edges Edges;
        Qt::CursorShape Cursor;
    } grips[] = {{{1199, 799}, Qt::RightEdge | Qt::BottomEdge, Qt::SizeFDiagCursor},
                 {{600, 797}, Qt::BottomEdge, Qt::SizeVerCursor},
                 {{1, 400}, Qt::LeftEdge, Qt::SizeHorCursor},
                 {{600, 1}, Qt::TopEdge, Qt::SizeVerCursor},
                 {{1197, 5}, Qt::RightEdge | Qt::TopEdge, Qt::SizeBDiagCursor},
                 {{600, 300}, {}, Qt::ArrowCursor},
                 {{600, 10}, {}, Qt::ArrowCursor}};
    for (const auto &[at, edges, cursor] : grips) {
        QTest::mouseMove(handle, at);
        QCOMPARE(f.window->cursor().shape(), cursor);
        resizes.clear();
        QTest::mousePress(handle, Qt::LeftButton, {}, at);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, at);
        QCOMPARE(resizes.isEmpty() ? Qt::Edges() : resizes.at(0).at(0).value<Qt::Edges>(), edges);
    }

    // A double-click on the title bar maximises the window, another one
    // restores it; a maximised window has no edges to pull.
    QTest::mouseDClick(f.imgTop, Qt::LeftButton, {}, QPoint(600, 10));
    QTRY_VERIFY(f.window->isMaximized());
    QTRY_COMPARE(Picture(f.imgTop).width(), f.window->width());
    QCOMPARE(f.skin->GripEdges(QPoint(f.window->width() - 1, f.window->height() - 1)), Qt::Edges());
    QTest::mouseDClick(f.imgTop, Qt::LeftButton, {}, QPoint(300, 10));
    QTRY_COMPARE(f.window->size(), QSize(1200, 800));
}

void TestSkin::windowDestroyedBeforeSkin() {
    // The window takes the skin's controls down with it; the skin must not
    // touch them again when it goes.
    FramedWindow f(700, 525);
    QVERIFY(f.skin->CloseButton);
    f.window.reset();
    f.skin.reset();

    // The other way round, the skin removes its controls from the window.
    FramedWindow g(700, 525);
    g.skin.reset();
    QVERIFY(!g.window->findChild<QLabel *>("CloseButton"));
    QVERIFY(!g.window->findChild<QLabel *>("CaptionLabel"));
    QCOMPARE(g.window->findChildren<QLabel *>().size(), 4);
}

void TestSkin::paintedWindow() {
    // What the screen shows: the frame, the buttons over it, the caption in
    // white. LEDGERLY_SCREENSHOT_DIR keeps a copy to look at.
    FramedWindow f(700, 525);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const QImage shot = f.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString dir = qEnvironmentVariable("LEDGERLY_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/skinned-window.png"));
    QCOMPARE(shot.size(), QSize(700, 525));
    QCOMPARE(shot.pixel(0, 0), qRgb(97, 97, 97));
    QCOMPARE(shot.pixel(699, 524), qRgb(97, 97, 97));
    QCOMPARE(shot.pixel(300, 300), qRgb(240, 240, 240));
    const QColor close = shot.pixelColor(f.skin->CloseButton->geometry().topLeft() + QPoint(4, 4));
    QVERIFY(close.red() > 150 && close.green() < 120);
    // The magenta corner of the button cell shows the title bar behind it.
    QCOMPARE(shot.pixel(f.skin->CloseButton->geometry().topLeft()),
             Picture(f.imgTop).pixel(f.skin->CloseButton->geometry().topLeft()));
    bool whiteText = false;
    const QRect caption = f.skin->CaptionLabel->geometry();
    for (int y = caption.top(); y <= caption.bottom() && !whiteText; ++y)
        for (int x = caption.left(); x <= caption.right() && !whiteText; ++x)
            whiteText = qGray(shot.pixel(x, y)) > 200;
    QVERIFY(whiteText);
}

QTEST_MAIN(TestSkin)
#include "test_skin.moc"
