// The Expense and Income entry panels of the main window. Their behaviour is
// written once in TEntryPanel; the handlers here keep the panels' names.
#include "forms/MainForm.h"
#include "ui_MainForm.h"

#include "forms/EntryPanel.h"

void TfrmMain::CreateEntryPanels() {
    FOutPanel = new TEntryPanel(this, TEntryPanelKind::Expense());
    FInPanel = new TEntryPanel(this, TEntryPanelKind::Income());
}

TEntryPanel *TfrmMain::EntryPanel(const QString &listName) const {
    return listName == QLatin1String("out") ? FOutPanel : FInPanel;
}

void TfrmMain::UpdatePendingTotal(QTreeView *list, QLabel *label) {
    TEntryPanel::UpdatePendingTotal(list, label);
}

void TfrmMain::RememberCategory(const QString &listName, const QString &category) {
    EntryPanel(listName)->RememberCategory(category);
}

void TfrmMain::ShowSaveSuccess() {
    TEntryPanel::ShowSaveSuccess(this);
}

void TfrmMain::cboOutCateChange() {
    FOutPanel->CateChange();
}
void TfrmMain::cboInCateChange() {
    FInPanel->CateChange();
}
void TfrmMain::btnOutAddClick() {
    FOutPanel->AddClick(ui->btnOutAdd);
}
void TfrmMain::btnInAddClick() {
    FInPanel->AddClick(ui->btnInAdd);
}
void TfrmMain::btnOutSaveClick() {
    FOutPanel->SaveClick(ui->btnOutSave);
}
void TfrmMain::btnInSaveClick() {
    FInPanel->SaveClick(ui->btnInSave);
}
void TfrmMain::btnOutEditClick() {
    FOutPanel->EditClick();
}
void TfrmMain::btnInEditClick() {
    FInPanel->EditClick();
}
void TfrmMain::btnOutDeleteClick() {
    FOutPanel->DeleteClick();
}
void TfrmMain::btnInDeleteClick() {
    FInPanel->DeleteClick();
}
void TfrmMain::btnOutEditCatesClick() {
    FOutPanel->EditCatesClick(ui->btnOutEditCates);
}
void TfrmMain::btnInEditCatesClick() {
    FInPanel->EditCatesClick(ui->btnInEditCates);
}
void TfrmMain::btnOutCalcClick() {
    FOutPanel->CalcClick();
}
void TfrmMain::btnInCalcClick() {
    FInPanel->CalcClick();
}
void TfrmMain::btnOutHelpClick() {
    FOutPanel->HelpClick();
}
void TfrmMain::btnInHelpClick() {
    FInPanel->HelpClick();
}
