#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "store/Records.h"

namespace Ui {
class TfrmMoreInfo;
}
template <typename Row> class TTypedRowsModel;

// The records behind one category: a read-only list of date, category,
// amount and notes. The caller sets the caption, the amount column's caption
// and the rows, then runs it with ExecDialog; the user closes it with the
// close button.
class TfrmMoreInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMoreInfo(QWidget *owner);
    ~TfrmMoreInfo() override;

    void SetCaption(const QString &caption);
    // Caption of the amount column ("In" or "Out").
    void SetAmountCaption(const QString &caption);
    // Replaces the rows; each row is date, category, amount, notes.
    void SetRows(QList<TRecord> rows);

private:
    std::unique_ptr<Ui::TfrmMoreInfo> ui;
    TTypedRowsModel<TRecord> *FModel = nullptr;
};
