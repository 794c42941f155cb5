#pragma once

#include "store/DbClass.h"

#include <QString>
#include <memory>

class QFileDialog;
class TUndoSteps;

// What every panel of the main window works with: the signed-in user and
// the data store of the run. The main window owns it for its whole life.
struct TSession {
    QString UserName;
    QString DataFile;
    std::unique_ptr<TDbMan> DbMan;
    // The save dialog shared by the backup and every export: it keeps the
    // file name last chosen in it during the run.
    QFileDialog *SaveDialog1 = nullptr;
    // The changes of the book that can be taken back and made again; every
    // panel that changes the book adds its step there.
    TUndoSteps *Steps = nullptr;
};
