#pragma once

#include <QObject>

class QAbstractSpinBox;

// Makes Tab and Shift+Tab leave a date picker for the next or previous
// control, as in every other box of the window. (Qt's date editors use Tab
// to walk their own month, day and year sections first; the arrow keys
// still do that.)
class TPickerTabExit : public QObject {
    Q_OBJECT
public:
    // Installs the behaviour on `picker` (the helper is owned by the picker).
    static void Install(QAbstractSpinBox *picker);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TPickerTabExit(QObject *parent) : QObject(parent) {}
};
