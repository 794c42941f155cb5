#pragma once

#include <QObject>

class QWidget;

// Keeps a line edit (or an editable combo box, which hands its focus on to
// its line edit) from selecting its whole text when the keyboard focus
// enters it (Tab, Backtab, a shortcut): the caret goes in, the text stays
// unselected, so typing adds to the text instead of replacing it.
class TNoAutoSelect : public QObject {
    Q_OBJECT
public:
    // Installs the behaviour on `edit` (the helper is owned by the edit).
    static void Install(QWidget *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TNoAutoSelect(QObject *parent) : QObject(parent) {}
    bool FResending = false;
};
