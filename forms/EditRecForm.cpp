#include "forms/EditRecForm.h"

#include "forms/EditorKeys.h"
#include "forms/NoAutoSelect.h"
#include "forms/PickerTabExit.h"
#include "store/AmountText.h"
#include "ui_EditRecForm.h"

#include <algorithm>

#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const int kMaxTextLength = 100;

// Puts `text` into `edit` without cutting it: the 100-character limit holds
// for typing, but a longer stored text (or a longer item of a list, as
// `longest` says) must come back whole when the user only changes another
// box.
void SetLimitedText(QLineEdit *edit, const QString &text, qsizetype longest = 0) {
    edit->setMaxLength(int(std::max<qsizetype>({kMaxTextLength, text.size(), longest})));
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
    // The category box offers the list and takes any text, as the entry
    // panels' does: no completion, nothing typed added to the list.
    ui->edtCate->setCompleter(nullptr);
    TNoAutoSelect::Install(ui->edtCate);
    connect(ui->edtCate, &QComboBox::editTextChanged, this, &TfrmEditRec::edtCateChange);
    for (QLineEdit *edit : {ui->edtAmount, ui->edtNotes}) {
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
    qsizetype longest = 0;
    ui->edtCate->clear();
    for (const QString &item : std::as_const(Categories)) {
        if (item.trimmed().isEmpty())
            continue;
        ui->edtCate->addItem(item);
        longest = std::max(longest, item.size());
    }
    ui->edtCate->setCurrentIndex(-1);
    SetLimitedText(ui->edtCate->lineEdit(), RecCate, longest);
    SetLimitedText(ui->edtAmount, RecAmount);
    SetLimitedText(ui->edtNotes, RecNotes);
    ui->btnSave->setEnabled(false);
}

void TfrmEditRec::edtCateChange() {
    ui->btnSave->setEnabled(!ui->edtCate->currentText().trimmed().isEmpty() &&
                            IsAcceptableAmount(ui->edtAmount->text()));
}

void TfrmEditRec::btnSaveClick() {
    double amount = 0;
    const QString category = ui->edtCate->currentText().trimmed();
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
