#include "forms/PrintForm.h"

#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "reports/CompositeReport.h"
#include "skin/ScreenPicture.h"
#include "ui_PrintForm.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

#include <memory>

namespace {

// The user answers the print dialog with the ordinary pointer, even while
// the command that opened it shows the wait cursor.
class TNormalCursor {
public:
    TNormalCursor() : FActive(QApplication::overrideCursor() != nullptr) {
        if (FActive)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~TNormalCursor() {
        if (FActive)
            QApplication::restoreOverrideCursor();
    }
    TNormalCursor(const TNormalCursor &) = delete;
    TNormalCursor &operator=(const TNormalCursor &) = delete;

private:
    bool FActive;
};

// The print dialog over `owner`. It always offers printing to a PDF file, so
// a printout can be kept even on a machine without a printer.
bool askPrinter(QWidget *owner, QPrinter &printer, int pageCount) {
    TNormalCursor normalCursor;
    QPrintDialog dialog(&printer, owner);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, qMax(1, pageCount));
    dialog.setFromTo(1, qMax(1, pageCount));
    return ExecDialog(&dialog) == QDialog::Accepted;
}

} // namespace

TfrmPrint::TfrmPrint(QWidget *owner) : QDialog(owner), ui(new Ui::TfrmPrint) {
    ui->setupUi(this);
    setObjectName("frmPrint");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font("Tahoma");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    ui->CoolBar1->setStyleSheet("#CoolBar1 { border-top: 1px solid palette(mid); "
                                "border-bottom: 1px solid palette(mid); }");
    // Glyph and caption share the 78 pixels of a button without padding; where
    // the substitute of the window's font is too wide for a caption, that
    // button's caption is set a little smaller rather than cut short.
    ui->pnlPageButtons->setStyleSheet("QToolButton { padding: 0px; }");
    for (QToolButton *button : ui->pnlPageButtons->findChildren<QToolButton *>()) {
        QFont smaller = button->font();
        while (smaller.pointSizeF() > 6 &&
               QFontMetrics(smaller).horizontalAdvance(button->text()) + 18 + 8 > button->width())
            smaller.setPointSizeF(smaller.pointSizeF() - 0.5);
        if (smaller != button->font())
            button->setFont(smaller);
    }
    const QList<QToolButton *> pageButtons = {ui->btnFirstPage, ui->btnPrevPage, ui->btnNextPage,
                                              ui->btnLastPage};
    for (int tag = 0; tag < pageButtons.size(); ++tag) {
        QToolButton *button = pageButtons.at(tag);
        button->setProperty("tag", tag);
        connect(button, &QToolButton::clicked, this, [this, button] { btnFirstPageClick(button); });
    }
    connect(ui->btnPrint, &QToolButton::clicked, this, [this] { btnPrintClick(); });

    FStatusPanel = new QLabel("#", ui->StatusBar1);
    FStatusPanel->setObjectName("StatusBar1Panel");
    ui->StatusBar1->addWidget(FStatusPanel, 1);

    // Keys for the tool strip's commands, as in other page viewers.
    const struct {
        QKeySequence Key;
        QToolButton *Button;
    } keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Home), ui->btnFirstPage},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), ui->btnPrevPage},
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), ui->btnNextPage},
                {QKeySequence(Qt::CTRL | Qt::Key_End), ui->btnLastPage},
                {QKeySequence::Print, ui->btnPrint}};
    for (const auto &key : keys) {
        auto *shortcut = new QShortcut(key.Key, this);
        QToolButton *button = key.Button;
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
        button->setToolTip(
            QString("%1 (%2)").arg(button->text(), key.Key.toString(QKeySequence::NativeText)));
    }

    FormCreate();
}

TfrmPrint::~TfrmPrint() {
    delete ui;
}

void TfrmPrint::FormCreate() {
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        setGeometry(area);
        setFixedSize(area.size());
    }

    // The glyphs, in this order; the first one missing ends the loading and
    // leaves it and the buttons after it with their captions only.
    const struct {
        QToolButton *Button;
        const char *Resource;
    } glyphs[] = {{ui->btnFirstPage, ":/QRFIRSTPAGEBITMAP"},
                  {ui->btnPrevPage, ":/QRPREVPAGEBITMAP"},
                  {ui->btnNextPage, ":/QRNEXTPAGEBITMAP"},
                  {ui->btnLastPage, ":/QRLASTPAGEBITMAP"},
                  {ui->btnPrint, ":/QRPRINTBITMAP"}};
    for (const auto &glyph : glyphs) {
        // The glyphs are drawn on magenta, which stands for transparent; the
        // icon holds them at 100 % and 200 % and picks the one for the screen.
        const QColor magenta(255, 0, 255);
        const QPixmap pixmap = TScreenPicture::Pixmap(glyph.Resource, 1.0, magenta);
        if (pixmap.isNull())
            break;
        QIcon icon(pixmap);
        icon.addPixmap(TScreenPicture::Pixmap(glyph.Resource, 2.0, magenta));
        glyph.Button->setIconSize(QSize(18, 18));
        glyph.Button->setIcon(icon);
    }
}

void TfrmPrint::FormResize() {
    FStatusPanel->setFixedWidth(qMax(0, ui->StatusBar1->contentsRect().width()));
}

void TfrmPrint::FormShow() {
    btnFirstPageClick(nullptr);
}

void TfrmPrint::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        // The work area is for the whole window, title bar and frame
        // included; their size is known once the window is on screen.
        QTimer::singleShot(0, this, [this] { FitFrameToWorkArea(); });
    }
}

void TfrmPrint::FitFrameToWorkArea() {
    QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const QMargins border(geometry().left() - frame.left(), geometry().top() - frame.top(),
                          frame.right() - geometry().right(), frame.bottom() - geometry().bottom());
    if (border.isNull() && geometry() == area)
        return;
    const QSize client = area.size().shrunkBy(border);
    if (client.isEmpty())
        return;
    setFixedSize(client);
    move(area.topLeft());
}

void TfrmPrint::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmPrint::ShowPages() {
    if (CompositeReport)
        ui->QRPreview1->SetPages(CompositeReport->Pages());
}

QString TfrmPrint::StatusText() const {
    return FStatusPanel->text();
}

void TfrmPrint::btnFirstPageClick(QObject *sender) {
    TReportPreview *preview = ui->QRPreview1;
    if (auto *button = qobject_cast<QToolButton *>(sender)) {
        switch (button->property("tag").toInt()) {
        case 0:
            preview->ShowPage(1);
            break;
        case 1:
            preview->ShowPage(preview->PageNumber() - 1);
            break;
        case 2:
            preview->ShowPage(preview->PageNumber() + 1);
            break;
        case 3:
            preview->ShowPage(preview->PageCount());
            break;
        default:
            break;
        }
    }
    FStatusPanel->setText(
        QString("Page %1 of %2").arg(preview->PageNumber()).arg(preview->PageCount()));
}

void TfrmPrint::btnPrintClick() {
    if (!CompositeReport)
        return;
    TBusyGuard busy(ui->btnPrint);
    TCompositeReport &report = *CompositeReport;
    try {
        report.PrinterSettings.PrinterIndex = -1;
        report.PrinterSettings.PaperSize = QPageSize::A4;
        report.PrinterSettings.Orientation = QPageLayout::Portrait;
        report.Prepare();
        QPrinter printer(QPrinter::HighResolution);
        const auto ask = [this](QPrinter &p, int pageCount) {
            return askPrinter(this, p, pageCount);
        };
        if (!report.PrintSetup(printer, ask) || report.PrinterSettings.PrinterIndex < 0)
            return; // cancelled, or told that there is no printer
        // A4 portrait whatever the dialog said: the pages are laid out for it.
        report.PrinterSettings.PaperSize = QPageSize::A4;
        report.PrinterSettings.Orientation = QPageLayout::Portrait;
        report.Print(printer);
    } catch (const std::exception &error) {
        // The Print button's own report: the preview stays open and the
        // printout can be tried again.
        busy.Release();
        ShowWarning(this, QStringLiteral("Print"),
                    QStringLiteral("The printout was not printed.\n%1")
                        .arg(QString::fromUtf8(error.what())));
    }
}

void TfrmPrint::ShowReportPreview(QWidget *owner, TCompositeReport &composite) {
    std::unique_ptr<TfrmPrint> form(new TfrmPrint(owner));
    composite.Prepare();
    form->CompositeReport = &composite;
    form->ShowPages();
    ExecDialog(form.get());
}
