#include "forms/FlatButtons.h"

#include <QWidget>

namespace {

void flattenChildButtons(QObject *parent) {
    for (QObject *child : parent->children()) {
        if (!child->isWidgetType() || child->inherits("QDialog"))
            continue;
        if (child->inherits("QPushButton"))
            child->setProperty("flat", true);
        flattenChildButtons(child);
    }
}

} // namespace

void FlattenButtons(QWidget *form) {
    if (form)
        flattenChildButtons(form);
}
