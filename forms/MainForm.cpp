#include "forms/MainForm.h"

TfrmMain::TfrmMain(QWidget *parent) : QWidget(parent) {
    setObjectName("frmMain");
    setWindowTitle("Ledgerly");
    resize(700, 525);
}
