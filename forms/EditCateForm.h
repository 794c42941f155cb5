#pragma once

#include "store/Records.h"

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmEditCate;
}

// The category-list editor: one category per line, freely rewritten. The
// caller writes Categories, runs it with ExecDialog and, when that returns
// Accepted, reads Categories back. The dialog never touches the data file.
class TfrmEditCate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditCate(QWidget *owner);
    ~TfrmEditCate() override;

    // In: the list, one item per line of the text box. Out after Save: the
    // lines of the text, its leading and trailing blanks and empty lines
    // removed; empty lines and repeats inside stay as typed.
    QStringList Categories;
    // In: the type of the list's records; an empty list is offered the
    // common categories of that type (Add Common Categories).
    TRecordType Type = TRecordType::Expense;

    // The categories most books of `type` start with.
    static QStringList CommonCategories(TRecordType type);

    // Fills the text box; Save stays disabled until the text changes.
    void FormShow();
    void memTextChange();
    // Puts the common categories of Type into the empty text box, for the
    // user to change before Save.
    void btnAddCommonClick();
    void btnSaveClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::TfrmEditCate> ui;
};
