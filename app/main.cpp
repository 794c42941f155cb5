#include "forms/ErrorReport.h"
#include "forms/MainForm.h"
#include "forms/WindowFont.h"
#include "store/KestrelClass.h"

#include <QApplication>
#include <QDir>
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
    QDir::setCurrent(TKestrel::ProgramFolder());
    TKestrel::CreateProcessMarker(QStringLiteral("Kestrel-Software-Ledgerly-AppMutex"));

    TfrmMain frmMain;
    app.exec();
    return 0;
}
