#include "forms/EditorKeys.h"

#include <QKeyEvent>
#include <QPushButton>

bool HandleEditorKey(QWidget *focus, QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        if (auto *button = qobject_cast<QPushButton *>(focus); button && button->isEnabled()) {
            event->accept();
            button->click();
            return true;
        }
    }
    return false;
}
