// The Expense and Income entry panels of the main window.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/RowsModel.h"
#include "store/AmountText.h"

namespace {

// Add is possible exactly when a category is typed and the amount is a
// plain number of at least one cent.
bool addRuleHolds(const QComboBox *category, const QLineEdit *amount) {
    if (category->currentText().trimmed().isEmpty())
        return false;
    const QString text = amount->text().trimmed();
    return !text.isEmpty() && IsAcceptableAmount(text);
}

} // namespace

void TfrmMain::UpdatePendingTotal(QTreeView *list, QLabel *label) {
    double sum = 0;
    const TRowsModel *model = ListModel(list);
    for (const QStringList &row : model->Rows()) {
        double value = 0;
        if (row.size() > 3 && IsDecimalText(row.at(3).trimmed(), &value))
            sum += value;
    }
    label->setText(QStringLiteral("Total: %1").arg(FormatAmount(sum)));
}

void TfrmMain::cboOutCateChange() {
    ui->btnOutAdd->setEnabled(addRuleHolds(ui->cboOutCate, ui->edtOutAmount));
}

void TfrmMain::cboInCateChange() {
    ui->btnInAdd->setEnabled(addRuleHolds(ui->cboInCate, ui->edtInAmount));
}
