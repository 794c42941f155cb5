#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmEditRec;
}

// The record editor: date, category, amount and notes of one record. The
// caller writes the four fields, runs it with ExecDialog and, when that
// returns Accepted, reads them back. The dialog never touches the data file.
class TfrmEditRec : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditRec(QWidget *owner);
    ~TfrmEditRec() override;

    // In: the record's texts (date as MM/dd/yyyy). Out after Save: the date
    // of the picker as MM/dd/yyyy, the trimmed category and notes, the amount
    // written with two decimals.
    QString RecDate;
    QString RecCate;
    QString RecAmount;
    QString RecNotes;
    // In: the category list of the record's type, which the category box
    // offers (it takes any other text too).
    QStringList Categories;

    // Fills the boxes from the fields; Save stays disabled until a text changes.
    void FormShow();
    // Save is enabled exactly when the category is not blank and the amount
    // is an acceptable amount.
    void edtCateChange();
    void btnSaveClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::TfrmEditRec> ui;
};
