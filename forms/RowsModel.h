#pragma once

#include "store/Records.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <functional>

class QTreeView;

// One column of a report-style list after its zero-width column 0.
struct TListColumn {
    QString Caption;
    int Width = 80;
    Qt::Alignment Align = Qt::AlignLeft;
};

// The rows of a report-style list: column 0 is zero-width, empty and shows
// image 0 (a transparent 16 x 16 picture); the texts of row r (its
// "sub-items") stand in columns 1, 2, ... The rows are typed values kept by
// TTypedRowsModel; their texts are made when the list shows them.
class TRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRowsModel(const QList<TListColumn> &columns, QObject *parent = nullptr);

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    virtual int Count() const = 0;
    // Sub-item `subItem` of `row` as the list shows it; empty when there is none.
    QString Text(int row, int subItem) const;

    const QList<TListColumn> &Columns() const { return FColumns; }
    // Changes the caption of column `column` (1-based like the list's columns).
    void SetColumnCaption(int column, const QString &caption);

    // Optional colours of a row: asked for Qt::BackgroundRole and
    // Qt::ForegroundRole; an invalid QVariant keeps the list's colours.
    std::function<QVariant(int row, int role)> RowStyle;
    // Repaints every row (after the state RowStyle reads has changed).
    void RefreshStyle();

protected:
    // The text of a valid row's sub-item.
    virtual QString CellText(int row, int subItem) const = 0;

private:
    QList<TListColumn> FColumns;
};

// A list of typed rows of one kind; `Cells` makes a row's sub-item texts.
template <typename Row> class TTypedRowsModel : public TRowsModel {
public:
    using TCells = std::function<QString(const Row &row, int subItem)>;

    TTypedRowsModel(const QList<TListColumn> &columns, TCells cells, QObject *parent = nullptr)
        : TRowsModel(columns, parent), FCells(std::move(cells)) {}

    int Count() const override { return int(FRows.size()); }
    const QList<Row> &Rows() const { return FRows; }
    const Row &At(int row) const { return FRows.at(row); }

    // Replaces every row (one reset, so a long list fills as fast as the
    // rows can be handed over).
    void SetRows(QList<Row> rows) {
        beginResetModel();
        FRows = std::move(rows);
        endResetModel();
    }
    void AppendRow(const Row &row) {
        const int at = Count();
        beginInsertRows(QModelIndex(), at, at);
        FRows.append(row);
        endInsertRows();
    }
    void RemoveRow(int row) {
        if (row < 0 || row >= Count())
            return;
        beginRemoveRows(QModelIndex(), row, row);
        FRows.removeAt(row);
        endRemoveRows();
    }
    void Clear() { SetRows({}); }

protected:
    QString CellText(int row, int subItem) const override { return FCells(FRows.at(row), subItem); }

private:
    TCells FCells;
    QList<Row> FRows;
};

// Makes `view` a report-style list over `model`: zero-width column 0, the
// column widths and alignments of the model, whole-row single selection, no
// in-place editing, no clickable headers, no tab stop, uniform row heights.
void SetupListView(QTreeView *view, TRowsModel *model);

// The model of a list set up by SetupListView.
TRowsModel *ListModel(const QTreeView *view);
// The type of a record as the lists show it ("Expense", "Income"), in the
// user's language; the word stored in the data file is RecordTypeWord's.
QString RecordTypeText(TRecordType type);

// Index of the selected row, -1 when none.
int SelectedRow(const QTreeView *view);
// Selects `row` (or clears the selection when row < 0).
void SelectRow(QTreeView *view, int row);
