#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <functional>

#include "store/DbClass.h"

class QTreeView;

// One column of a report-style list after its zero-width column 0.
struct TListColumn {
    QString Caption;
    int Width = 80;
    Qt::Alignment Align = Qt::AlignLeft;
};

// The rows of a report-style list: column 0 is zero-width, empty and shows
// image 0 (a transparent 16 x 16 picture); the texts of row r (its
// "sub-items") stand in columns 1, 2, ... Filling the list is one model
// reset, so a list of 200,000 rows fills as fast as the rows can be moved in.
class TRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRowsModel(const QList<TListColumn> &columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Replaces every row (one reset).
    void SetRows(TStringsArray rows);
    void AppendRow(const QStringList &row);
    void RemoveRow(int row);
    void Clear();

    int Count() const { return int(FRows.size()); }
    const TStringsArray &Rows() const { return FRows; }
    const QStringList &Row(int row) const { return FRows.at(row); }
    // Sub-item `subItem` of `row`, empty when the row is shorter.
    QString Text(int row, int subItem) const;

    const QList<TListColumn> &Columns() const { return FColumns; }
    // Changes the caption of column `column` (1-based like the list's columns).
    void SetColumnCaption(int column, const QString &caption);

    // Optional colours of a row: asked for Qt::BackgroundRole and
    // Qt::ForegroundRole; an invalid QVariant keeps the list's colours.
    std::function<QVariant(int row, int role)> RowStyle;
    // Repaints every row (after the state RowStyle reads has changed).
    void RefreshStyle();

private:
    QList<TListColumn> FColumns;
    TStringsArray FRows;
};

// Makes `view` a report-style list over `model`: zero-width column 0, the
// column widths and alignments of the model, whole-row single selection, no
// in-place editing, no clickable headers, no tab stop, uniform row heights.
void SetupListView(QTreeView *view, TRowsModel *model);

// The model of a list set up by SetupListView.
TRowsModel *ListModel(const QTreeView *view);
// Index of the selected row, -1 when none.
int SelectedRow(const QTreeView *view);
// Selects `row` (or clears the selection when row < 0).
void SelectRow(QTreeView *view, int row);
