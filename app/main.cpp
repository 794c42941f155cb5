#include "forms/MainForm.h"
#include "store/KestrelClass.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[]) {
    TKestrel::CheckPlatform();
    QApplication app(argc, argv);
    QDir::setCurrent(TKestrel::ProgramFolder());
    TKestrel::CreateProcessMarker("Kestrel-Software-Ledgerly-AppMutex");
    TfrmMain frmMain;
    frmMain.show();
    app.exec();
    return 0;
}
