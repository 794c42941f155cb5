#include "forms/MoreInfoForm.h"

#include "forms/Anchors.h"
#include "forms/RowsModel.h"
#include "store/AmountText.h"
#include "ui_MoreInfoForm.h"

namespace {
// Column of the amount, counted like the list's columns (0 is the image).
const int kAmountColumn = 3;

QString RecordCell(const TRecord &record, int subItem) {
    switch (subItem) {
    case 0:
        return record.Date.toString(QStringLiteral("MM/dd/yyyy"));
    case 1:
        return record.Category;
    case 2:
        return CentsText(record.Cents);
    default:
        return record.Notes;
    }
}
} // namespace

TfrmMoreInfo::TfrmMoreInfo(QWidget *owner)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmMoreInfo>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The list grows with the window.
    const Qt::Edges all = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
    TAnchors::Of(this).Pin(ui->bvlRect, all).Pin(ui->lvwRecs, all);
    FModel = new TTypedRowsModel<TRecord>({{tr("Date"), 80, Qt::AlignLeft},
                                           {tr("Category"), 180, Qt::AlignLeft},
                                           {QStringLiteral("#"), 80, Qt::AlignRight},
                                           {tr("Notes"), 220, Qt::AlignLeft}},
                                          RecordCell, this);
    SetupListView(ui->lvwRecs, FModel);
}

TfrmMoreInfo::~TfrmMoreInfo() = default;

void TfrmMoreInfo::SetCaption(const QString &caption) {
    setWindowTitle(caption);
}

void TfrmMoreInfo::SetAmountCaption(const QString &caption) {
    FModel->SetColumnCaption(kAmountColumn, caption);
}

void TfrmMoreInfo::SetRows(QList<TRecord> rows) {
    FModel->SetRows(std::move(rows));
}
