// The Transactions panel of the main window: period, totals lists and the
// category summary.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/RowsModel.h"
#include "store/AmountText.h"

#include <QCursor>
#include <QMenu>

void TfrmMain::ShowPeriodTotals(double income, double expenses) {
    const QString text =
        QStringLiteral("Income: %1    Expenses: %2    Net Income: %3")
            .arg(FormatAmount(income), FormatAmount(expenses), FormatAmount(income - expenses));
    ui->lblTransTotal->setText(text);
    ui->lblCatesTotal->setText(text);
}

void TfrmMain::dtpTransDate1Change() {
    ui->btnTransSearch->setEnabled(ui->dtpTransDate1->date() <= ui->dtpTransDate2->date());
}

void TfrmMain::TabSet1Click() {
    ui->lvwDayTotal->hide();
    ui->lvwMonthTotal->hide();
    if (ui->TabSet1->currentIndex() == 1)
        ui->lvwMonthTotal->show();
    else
        ui->lvwDayTotal->show();
}

void TfrmMain::lvwTransSelectItem() {
    // Tag -1: the view itself is moving the selection (a chosen day).
    if (ui->lvwTrans->property("Tag").toInt() != -1)
        UpdateButtons();
}

void TfrmMain::btnTransMoreClick() {
    mnuTransMenu->popup(QCursor::pos());
}

void TfrmMain::btnCatesExportClick() {
    mnuCatesExport->popup(QCursor::pos());
}
