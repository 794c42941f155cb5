#include "forms/EditCateForm.h"

#include "forms/EditorKeys.h"
#include "ui_EditCateForm.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

TfrmEditCate::TfrmEditCate(QWidget *owner)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmEditCate>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(392, 273);
    connect(ui->memText, &QPlainTextEdit::textChanged, this, &TfrmEditCate::memTextChange);
    connect(ui->btnAddCommon, &QPushButton::clicked, this, &TfrmEditCate::btnAddCommonClick);
    connect(ui->btnSave, &QPushButton::clicked, this, &TfrmEditCate::btnSaveClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmEditCate::btnCancelClick);
}

TfrmEditCate::~TfrmEditCate() = default;

void TfrmEditCate::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEditCate::keyPressEvent(QKeyEvent *event) {
    if (!HandleEditorKey(focusWidget(), event))
        QDialog::keyPressEvent(event);
}

void TfrmEditCate::FormShow() {
    ui->memText->setPlainText(Categories.join(QLatin1Char('\n')));
    ui->btnSave->setEnabled(false);
    ui->btnAddCommon->setVisible(ui->memText->toPlainText().trimmed().isEmpty());
}

void TfrmEditCate::memTextChange() {
    ui->btnSave->setEnabled(true);
    // Offered only while there is no list to add them to.
    ui->btnAddCommon->setVisible(ui->memText->toPlainText().trimmed().isEmpty());
}

QStringList TfrmEditCate::CommonCategories(TRecordType type) {
    if (type == TRecordType::Income)
        return {tr("Salary"), tr("Interest"), tr("Gifts"), tr("Refunds"), tr("Other")};
    return {tr("Food"),   tr("Groceries"), tr("Rent"),          tr("Utilities"), tr("Transport"),
            tr("Health"), tr("Clothing"),  tr("Entertainment"), tr("Gifts"),     tr("Other")};
}

void TfrmEditCate::btnAddCommonClick() {
    // Through the text box's cursor, so its Undo takes them out again.
    ui->memText->selectAll();
    ui->memText->insertPlainText(CommonCategories(Type).join(QLatin1Char('\n')));
    ui->memText->setFocus();
}

void TfrmEditCate::btnSaveClick() {
    QString text = ui->memText->toPlainText();
    // The text box may hold Unicode paragraph and line separators pasted in.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text = text.trimmed();
    Categories = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    done(QDialog::Accepted);
}

void TfrmEditCate::btnCancelClick() {
    done(QDialog::Rejected);
}
