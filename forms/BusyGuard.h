#pragma once

#include <QPointer>
#include <QWidget>

// Marks a long action busy: the control that started it (if any) is
// disabled and the whole application shows the wait cursor. The destructor
// restores both, so an action that fails never leaves them behind.
class TBusyGuard {
public:
    explicit TBusyGuard(QWidget *control = nullptr);
    ~TBusyGuard();
    TBusyGuard(const TBusyGuard &) = delete;
    TBusyGuard &operator=(const TBusyGuard &) = delete;

    // Ends the busy state now (the destructor then does nothing).
    void Release();

    // The busy marking itself: the control's enabled state becomes the
    // opposite of `busy`; the cursor is the wait cursor while busy.
    static void SetBusy(bool busy, QWidget *control);

private:
    QPointer<QWidget> FControl;
    bool FActive = true;
};
