#include "forms/EditRecForm.h"

#include "forms/EditorKeys.h"
#include "forms/NoAutoSelect.h"
#include "forms/PickerTabExit.h"
#include "store/AmountText.h"
#include "ui_EditRecForm.h"

#include <QDate>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

namespace {

const int kMaxTextLength = 100;

// Puts `text` into `edit` without cutting it: the 100-character limit holds
// for typing, but a longer stored text must come back whole when the user
// only changes another box.
void SetLimitedText(QLineEdit *edit, const QString &text) {
    edit->setMaxLength(std::max(kMaxTextLength, int(text.size())));
    edit->setText(text);
}

QDate ReadDateText(const QString &text) {
    const QString t = text.trimmed();
    QDate date = QDate::fromString(t, QStringLiteral("MM/dd/yyyy"));
    if (!date.isValid())
        date = QDate::fromString(t, QStringLiteral("M/d/yyyy"));
    return date;
}

} // namespace

TfrmEditRec::TfrmEditRec(QWidget *owner) : QDialog(owner), ui(std::make_unique<Ui::TfrmEditRec>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(380, 196);
    TPickerTabExit::Install(ui->dtpDate);
    for (QLineEdit *edit : {ui->edtCate, ui->edtAmount, ui->edtNotes}) {
        TNoAutoSelect::Install(edit);
        connect(edit, &QLineEdit::textChanged, this, &TfrmEditRec::edtCateChange);
    }
    connect(ui->btnSave, &QPushButton::clicked, this, &TfrmEditRec::btnSaveClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmEditRec::btnCancelClick);
}

TfrmEditRec::~TfrmEditRec() = default;

void TfrmEditRec::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEditRec::keyPressEvent(QKeyEvent *event) {
    if (!HandleEditorKey(focusWidget(), event))
        QDialog::keyPressEvent(event);
}

void TfrmEditRec::FormShow() {
    const QDate date = ReadDateText(RecDate);
    // A date text that cannot be read leaves the picker on its current date.
    if (date.isValid())
        ui->dtpDate->setDate(date);
    SetLimitedText(ui->edtCate, RecCate);
    SetLimitedText(ui->edtAmount, RecAmount);
    SetLimitedText(ui->edtNotes, RecNotes);
    ui->btnSave->setEnabled(false);
}

void TfrmEditRec::edtCateChange() {
    ui->btnSave->setEnabled(!ui->edtCate->text().trimmed().isEmpty() &&
                            IsAcceptableAmount(ui->edtAmount->text()));
}

void TfrmEditRec::btnSaveClick() {
    double amount = 0;
    const QString category = ui->edtCate->text().trimmed();
    if (category.isEmpty() || !IsAcceptableAmount(ui->edtAmount->text(), &amount))
        return;
    RecDate = ui->dtpDate->date().toString(QStringLiteral("MM/dd/yyyy"));
    RecCate = category;
    RecAmount = FormatAmount(amount);
    RecNotes = ui->edtNotes->text().trimmed();
    done(QDialog::Accepted);
}

void TfrmEditRec::btnCancelClick() {
    done(QDialog::Rejected);
}
