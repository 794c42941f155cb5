#include "forms/NoAutoSelect.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QWidget>

void TNoAutoSelect::Install(QWidget *edit) {
    if (!edit || edit->findChild<TNoAutoSelect *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    edit->installEventFilter(new TNoAutoSelect(edit));
}

bool TNoAutoSelect::eventFilter(QObject *watched, QEvent *event) {
    if (FResending || event->type() != QEvent::FocusIn)
        return false;
    auto *focus = static_cast<QFocusEvent *>(event);
    const Qt::FocusReason reason = focus->reason();
    // QLineEdit selects everything for these reasons only; hand it the same
    // focus change under a neutral reason instead.
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::ShortcutFocusReason)
        return false;
    FResending = true;
    QFocusEvent neutral(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(watched, &neutral);
    FResending = false;
    return true;
}
