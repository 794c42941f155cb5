// The export commands of the main window: the category totals and the
// transaction list of the last search, written as an HTML page or an Excel
// 97-2003 workbook from the templates beside the program.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "export/HtmlExport.h"
#include "export/XlsExport.h"
#include "forms/BusyGuard.h"
#include "store/KestrelClass.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

// The extension of the file-name part, from its last "." (dot included),
// lower-cased; empty when there is none.
QString LowerExtension(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

} // namespace

void TfrmMain::ConnectExportMenus() {
    const auto connectItem = [this](QMenu *menu, const char *name, void (TfrmMain::*handler)()) {
        QAction *action = menu->findChild<QAction *>(QLatin1String(name));
        if (!action)
            return;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this,
                [this, handler] { RunGuarded([&] { (this->*handler)(); }); });
    };
    connectItem(mnuCatesExport, "mnuCatesExport_ToXls", &TfrmMain::mnuCatesExport_ToXlsClick);
    connectItem(mnuCatesExport, "mnuCatesExport_ToHtml", &TfrmMain::mnuCatesExport_ToHtmlClick);
    connectItem(mnuTransMenu, "btnTransMore_ToXls", &TfrmMain::btnTransMore_ToXlsClick);
    connectItem(mnuTransMenu, "btnTransMore_ToHtml", &TfrmMain::btnTransMore_ToHtmlClick);
}

void TfrmMain::mnuCatesExport_ToHtmlClick() {
    ExportRows(TExportKind::Categories, false);
}
void TfrmMain::btnTransMore_ToHtmlClick() {
    ExportRows(TExportKind::Transactions, false);
}
void TfrmMain::mnuCatesExport_ToXlsClick() {
    ExportRows(TExportKind::Categories, true);
}
void TfrmMain::btnTransMore_ToXlsClick() {
    ExportRows(TExportKind::Transactions, true);
}

void TfrmMain::ExportRows(TExportKind kind, bool xls) {
    // The wait cursor shows from before the dialog opens; the guard takes it
    // away again whether the export succeeds, is cancelled or fails.
    TBusyGuard busy;
    const QString extension = xls ? QStringLiteral(".xls") : QStringLiteral(".html");
    const QString pattern = QLatin1Char('*') + extension;
    QString fileName = RunFileDialog(SaveDialog1, QStringLiteral("%1 (%1)").arg(pattern));
    if (fileName.isEmpty())
        return;
    if (LowerExtension(fileName) != extension) {
        fileName += extension;
        if (!MayReplace(fileName))
            return;
    }

    TStringsArray rows;
    if (kind == TExportKind::Categories) {
        CollectRows(ui->lvwInCates, rows);
        CollectRows(ui->lvwOutCates, rows);
    } else {
        CollectRows(ui->lvwTrans, rows);
    }
    TExportHead head;
    head.UserName = UserName;
    head.SearchFrom = SearchFrom;
    head.SearchTo = SearchTo;
    head.PeriodIncome = PeriodIncome;
    head.PeriodExpenses = PeriodExpenses;

    const QString templateFile = TKestrel::InstalledFile(
        (kind == TExportKind::Categories ? QStringLiteral("cates") : QStringLiteral("trans")) +
        extension);
    if (xls)
        TXlsExport::Export(kind, templateFile, fileName, head, rows);
    else
        THtmlExport::Export(kind, templateFile, fileName, head, rows);
    busy.Release();

    QMessageBox box(QMessageBox::Information, QStringLiteral("Ledgerly"),
                    QStringLiteral("SUCCESS!\r\n\r\n") + fileName, QMessageBox::Ok, this);
    box.exec();
}
