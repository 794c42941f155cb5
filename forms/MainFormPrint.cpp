// The two printouts of the main window: the category totals and the
// transaction list of the last search, laid out on A4 pages, previewed page
// by page and printed from the preview.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/BusyGuard.h"
#include "forms/PrintForm.h"
#include "reports/PageReport.h"
#include "reports/ReportMetrics.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

void TfrmMain::ConnectPrintCommands() {
    QRCompositeReport1.OnAddReports = [this](TCompositeReport &) {
        QRCompositeReport1AddReports();
    };
    connect(ui->btnCatesPrint, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { btnCatesPrintClick(); }); });
    if (QAction *print = mnuTransMenu->findChild<QAction *>(QStringLiteral("btnTransMore_Print"))) {
        print->setEnabled(true);
        connect(print, &QAction::triggered, this,
                [this] { RunGuarded([this] { btnTransMore_PrintClick(); }); });
    }
}

int TfrmMain::ScreenDpi(Qt::Orientation axis) const {
    return TReportMetrics::ScreenDpi(axis);
}
int TfrmMain::ScaleX(int n) const {
    return TReportMetrics::Scale(n, ScreenDpi(Qt::Horizontal));
}
int TfrmMain::ScaleY(int n) const {
    return TReportMetrics::Scale(n, ScreenDpi(Qt::Vertical));
}
int TfrmMain::PageWidthPx() const {
    return TReportMetrics::PageWidthPx(ScreenDpi(Qt::Horizontal));
}
int TfrmMain::PageHeightPx() const {
    return TReportMetrics::PageHeightPx(ScreenDpi(Qt::Vertical));
}
int TfrmMain::PrintWidthPx() const {
    return TReportMetrics::PrintWidthPx(ScreenDpi(Qt::Horizontal));
}
int TfrmMain::PrintHeightPx() const {
    return TReportMetrics::PrintHeightPx(ScreenDpi(Qt::Vertical));
}

TReportLabel *TfrmMain::NewReportLabel(TPageReport *report) {
    return Printout.NewReportLabel(report);
}

void TfrmMain::btnCatesPrintClick() {
    PrintRows(true, ui->btnCatesPrint);
}

void TfrmMain::btnTransMore_PrintClick() {
    PrintRows(false, nullptr);
}

void TfrmMain::PrintRows(bool categories, QWidget *control) {
    // The busy state and the page reports are undone on every way out, also
    // when building or previewing fails.
    TBusyGuard busy(control);
    struct TFreeOnExit {
        TfrmMain *Main;
        ~TFreeOnExit() { Main->FreeReports(); }
    } freeOnExit{this};

    TStringsArray rows;
    if (categories) {
        CollectRows(ui->lvwInCates, rows);
        CollectRows(ui->lvwOutCates, rows);
    } else {
        CollectRows(ui->lvwTrans, rows);
    }
    // Nothing to lay out: the commands are enabled only while there are rows.
    if (rows.isEmpty())
        return;

    FreeReports();
    Printout.SetDpi(ScreenDpi(Qt::Horizontal), ScreenDpi(Qt::Vertical));
    TPrintHead head;
    head.UserName = UserName;
    head.SearchFrom = SearchFrom;
    head.SearchTo = SearchTo;
    head.PeriodIncome = PeriodIncome;
    head.PeriodExpenses = PeriodExpenses;
    if (categories)
        Printout.BuildCategoriesPrintout(head, rows);
    else
        Printout.BuildTransactionsPrintout(head, rows);
    ShowReportPreview();
    FreeReports();
    busy.Release();
    if (categories && ui->btnCatesPrint->isEnabled())
        ui->btnCatesPrint->setFocus();
}

void TfrmMain::ShowReportPreview() {
    TfrmPrint::ShowReportPreview(this, QRCompositeReport1);
}

void TfrmMain::QRCompositeReport1AddReports() {
    Printout.AddReports(QRCompositeReport1);
}

void TfrmMain::FreeReports() {
    // The composite must not keep pointers to reports that are gone.
    QRCompositeReport1.Reports.clear();
    Printout.FreeReports();
}

void TfrmMain::FreeBandControls(TReportBand *band) {
    TPrintout::FreeBandControls(band);
}
