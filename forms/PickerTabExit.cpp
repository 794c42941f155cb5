#include "forms/PickerTabExit.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>

namespace {

bool TakesTabFocus(const QWidget *w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
}

// Moves the focus to the next (or previous) control of the picker's window
// that Tab visits, leaving the picker's own inner widgets out.
void LeavePicker(QWidget *picker, bool forward) {
    QWidget *w = picker;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == picker)
            return;
        if (w->window() == picker->window() && !picker->isAncestorOf(w) && TakesTabFocus(w))
            break;
    }
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

} // namespace

void TPickerTabExit::Install(QAbstractSpinBox *picker) {
    if (!picker || picker->findChild<TPickerTabExit *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    picker->installEventFilter(new TPickerTabExit(picker));
}

bool TPickerTabExit::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    const bool backward = key->key() == Qt::Key_Backtab ||
                          (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    if (!forward && !backward)
        return false;
    LeavePicker(static_cast<QWidget *>(watched), forward);
    return true;
}
