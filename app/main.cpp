#include "forms/ErrorReport.h"
#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/KestrelClass.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <exception>

namespace {

// The last net of the error report: an exception that escaped every handler
// is shown and the program goes on.
class TLedgerlyApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override {
        bool result = false;
        RunReported(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
        return result;
    }
};

} // namespace

int main(int argc, char *argv[]) {
    TKestrel::CheckPlatform();
    TLedgerlyApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerly"));
    QApplication::setFont(DefaultWindowFont());
    // A backup named relative to the folder the program was started from
    // is found there, not in the program's folder that becomes current.
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        arguments[1] = QFileInfo(arguments.at(1)).absoluteFilePath();
    QDir::setCurrent(TKestrel::ProgramFolder());
    TKestrel::CreateProcessMarker(QStringLiteral("Kestrel-Software-Ledgerly-AppMutex"));

    TfrmMain frmMain(nullptr, arguments);
    app.exec();
    return 0;
}
