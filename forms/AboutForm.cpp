#include "forms/AboutForm.h"

#include "ui_AboutForm.h"

#include "skin/ScreenPicture.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

namespace {

// Tahoma at `points` where it is installed, else the platform's sans-serif at
// the same pixel height.
QFont WindowFont(int points, int pixels, bool bold = false) {
    QFont font;
    if (QFontDatabase::families().contains("Tahoma")) {
        font = QFont("Tahoma", points);
    } else {
        font = QFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(pixels);
    }
    font.setBold(bold);
    return font;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *owner) : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(295, 194);
    setFont(WindowFont(8, 11));
    ui->lblTitle->setFont(WindowFont(10, 13, true));

    // The white panel behind the texts.
    QPalette white = ui->shpBackground->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->shpBackground->setPalette(white);
    ui->bvlBackground->setAttribute(Qt::WA_TransparentForMouseEvents);

    ui->imgIcon->setPixmap(TScreenPicture::Pixmap(":/ABOUT_ICON", TScreenPicture::RatioOf(this)));
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmAbout::btnOKClick);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        CentreOnOwner();
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmAbout::FormShow() {
    // The name alone is centred; the icon stands 10 pixels to its left.
    ui->lblTitle->setText(ProductName);
    ui->lblTitle->adjustSize();
    ui->lblTitle->move((width() - ui->lblTitle->width()) / 2, ui->lblTitle->y());
    ui->imgIcon->move(ui->lblTitle->x() - ui->imgIcon->width() - 10, ui->imgIcon->y());

    ui->lblVersion->setText(tr("Version %1").arg(ProductVersion));
    ui->lblVersion->adjustSize();
    ui->lblVersion->move((width() - ui->lblVersion->width()) / 2, ui->lblVersion->y());
}

void TfrmAbout::btnOKClick() {
    accept();
}

void TfrmAbout::CentreOnOwner() {
    QRect area;
    if (QWidget *owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}
