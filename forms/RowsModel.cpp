#include "forms/RowsModel.h"

#include "forms/ListDelegate.h"

#include <QHeaderView>
#include <QPixmap>
#include <QTreeView>

namespace {

// Image 0 of the lists' small-image list: transparent, 16 x 16, so every
// row is at least 16 pixels high.
const QPixmap &RowImage() {
    static const QPixmap image = [] {
        QPixmap p(16, 16);
        p.fill(Qt::transparent);
        return p;
    }();
    return image;
}

} // namespace

TRowsModel::TRowsModel(const QList<TListColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent), FColumns(columns) {}

// The list view asks for every row's index when it lays a long list out; this
// checks the bounds once instead of asking for the row and column counts.
QModelIndex TRowsModel::index(int row, int column, const QModelIndex &parent) const {
    if (parent.isValid() || row < 0 || column < 0 || row >= Count() || column > FColumns.size())
        return QModelIndex();
    return createIndex(row, column);
}

int TRowsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : Count();
}

int TRowsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FColumns.size()) + 1;
}

QString TRowsModel::Text(int row, int subItem) const {
    if (row < 0 || row >= Count() || subItem < 0 || subItem >= FColumns.size())
        return QString();
    return CellText(row, subItem);
}

QVariant TRowsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column == 0 ? QVariant() : QVariant(Text(index.row(), column - 1));
    case Qt::DecorationRole:
        return column == 0 ? QVariant(RowImage()) : QVariant();
    case Qt::TextAlignmentRole:
        if (column == 0)
            return QVariant();
        return QVariant(int(FColumns.at(column - 1).Align | Qt::AlignVCenter));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        return RowStyle ? RowStyle(index.row(), role) : QVariant();
    default:
        return QVariant();
    }
}

QVariant TRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section <= 0 || section > FColumns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return FColumns.at(section - 1).Caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant(int(FColumns.at(section - 1).Align | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags TRowsModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

void TRowsModel::SetColumnCaption(int column, const QString &caption) {
    if (column <= 0 || column > FColumns.size())
        return;
    FColumns[column - 1].Caption = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TRowsModel::RefreshStyle() {
    if (Count() == 0)
        return;
    emit dataChanged(index(0, 0), index(Count() - 1, int(FColumns.size())),
                     {Qt::BackgroundRole, Qt::ForegroundRole});
}

void SetupListView(QTreeView *view, TRowsModel *model) {
    view->setModel(model);
    view->setItemDelegate(new TListDelegate(view));
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFocusPolicy(Qt::ClickFocus); // no tab stop, but clicks and keys reach it
    view->setIconSize(QSize(16, 16));
    view->setSortingEnabled(false);
    QHeaderView *header = view->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(0, 0);
    const QList<TListColumn> &columns = model->Columns();
    for (int i = 0; i < columns.size(); ++i) {
        header->resizeSection(i + 1, columns.at(i).Width);
        if (columns.at(i).Width == 0)
            header->setSectionResizeMode(i + 1, QHeaderView::Fixed);
    }
    header->setSectionResizeMode(0, QHeaderView::Fixed);
}

QString RecordTypeText(TRecordType type) {
    return type == TRecordType::Income ? TRowsModel::tr("Income") : TRowsModel::tr("Expense");
}

TRowsModel *ListModel(const QTreeView *view) {
    return qobject_cast<TRowsModel *>(view->model());
}

int SelectedRow(const QTreeView *view) {
    const QItemSelectionModel *selection = view->selectionModel();
    if (!selection)
        return -1;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectRow(QTreeView *view, int row) {
    QItemSelectionModel *selection = view->selectionModel();
    if (!selection)
        return;
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex at = view->model()->index(row, 0);
    selection->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
