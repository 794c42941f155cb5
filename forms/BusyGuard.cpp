#include "forms/BusyGuard.h"

#include <QApplication>
#include <QCursor>

TBusyGuard::TBusyGuard(QWidget *control) : FControl(control) {
    SetBusy(true, control);
}

TBusyGuard::~TBusyGuard() {
    Release();
}

void TBusyGuard::Release() {
    if (!FActive)
        return;
    FActive = false;
    SetBusy(false, FControl);
}

void TBusyGuard::SetBusy(bool busy, QWidget *control) {
    if (control)
        control->setEnabled(!busy);
    if (busy) {
        if (QApplication::overrideCursor())
            QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}
