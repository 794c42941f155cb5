#pragma once

#include "forms/RowsModel.h"

#include <functional>

class TStatementImport;

// The lines of the import window's table, read from the statement import:
// a tick, date, type, category, where the category came from, amount,
// notes (payee and memo) and the line's status. The tick and the category
// can be changed in the table.
class TImportRowsModel : public TRowsModel {
    Q_OBJECT
public:
    // Sub-items (the list's columns after the image column).
    enum { kTick, kDate, kType, kCategory, kSource, kAmount, kNotes, kStatus };

    TImportRowsModel(TStatementImport &import, QObject *parent = nullptr);

    int Count() const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Runs `change`, which reads the rows again (it may throw).
    void Reload(const std::function<void()> &change);
    // Rows changed by the import itself (ticks, categories).
    void Refresh();

protected:
    QString CellText(int row, int subItem) const override;

private:
    TStatementImport &FImport;
};
