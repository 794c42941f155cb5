#include "forms/ImportRowsModel.h"

#include "forms/StatementImport.h"
#include "store/AmountText.h"

#include <QColor>
#include <QScopeGuard>

namespace {

QString DateText(const QDate &date) {
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString SourceText(const TImportRow &row) {
    if (row.Chosen)
        return TImportRowsModel::tr("Chosen");
    switch (row.Proposal.Source) {
    case TCategorySource::File:
        return TImportRowsModel::tr("File");
    case TCategorySource::Rule:
        return TImportRowsModel::tr("Rule");
    case TCategorySource::History:
        return TImportRowsModel::tr("History");
    case TCategorySource::None:
        break;
    }
    return TImportRowsModel::tr("None");
}

} // namespace

TImportRowsModel::TImportRowsModel(TStatementImport &import, QObject *parent)
    : TRowsModel({{QString(), 22, Qt::AlignLeft},
                  {tr("Date"), 70, Qt::AlignLeft},
                  {tr("Type"), 54, Qt::AlignLeft},
                  {tr("Category"), 110, Qt::AlignLeft},
                  {tr("From"), 52, Qt::AlignLeft},
                  {tr("Amount"), 66, Qt::AlignRight},
                  {tr("Notes"), 190, Qt::AlignLeft},
                  {tr("Status"), 150, Qt::AlignLeft}},
                 parent),
      FImport(import) {}

int TImportRowsModel::Count() const {
    return int(FImport.Rows().size());
}

QString TImportRowsModel::CellText(int row, int subItem) const {
    const TImportRow &r = FImport.Rows().at(row);
    switch (subItem) {
    case kDate:
        return DateText(r.Line.Date);
    case kType:
        // The direction of the statement line, which makes it an expense or
        // an income.
        return r.Type == TRecordType::Income ? tr("Income", "a statement line")
                                             : tr("Expense", "a statement line");
    case kCategory:
        return r.Category;
    case kSource:
        return SourceText(r);
    case kAmount:
        return CentsText(qAbs(r.Line.Cents));
    case kNotes:
        return StatementNotes(r.Line);
    case kStatus:
        switch (r.Duplicate.Kind) {
        case TDuplicateKind::KnownId:
            return tr("Duplicate: imported before");
        case TDuplicateKind::RepeatedId:
            return tr("Duplicate: repeats line %1")
                .arg(FImport.Rows().value(r.Duplicate.Line).Line.Line);
        case TDuplicateKind::Record:
            return tr("Duplicate: %1 %2 %3 %4")
                .arg(r.MatchPending ? tr("pending") : tr("stored"), DateText(r.Match.Date),
                     r.Match.Category, r.Match.Notes)
                .trimmed();
        case TDuplicateKind::None:
            break;
        }
        return r.Ticked && r.Category.trimmed().isEmpty() ? tr("Choose a category") : tr("New");
    default:
        return QString();
    }
}

QVariant TImportRowsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return QVariant();
    const TImportRow &r = FImport.Rows().at(index.row());
    const int subItem = index.column() - 1;
    if (subItem == kTick && role == Qt::CheckStateRole)
        return r.Ticked ? Qt::Checked : Qt::Unchecked;
    if (subItem == kCategory && role == Qt::EditRole)
        return r.Category;
    if (role == Qt::ForegroundRole) {
        // Lines that will not be added are grey; a ticked line that still
        // needs a category says so in maroon.
        if (r.Ticked && r.Category.trimmed().isEmpty() &&
            (subItem == kCategory || subItem == kStatus))
            return QColor(128, 0, 0);
        if (!r.Ticked)
            return QColor(128, 128, 128);
        return QVariant();
    }
    return TRowsModel::data(index, role);
}

bool TImportRowsModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.row() >= Count())
        return false;
    const int subItem = index.column() - 1;
    if (subItem == kTick && role == Qt::CheckStateRole)
        FImport.SetTicked(index.row(), value.toInt() == Qt::Checked);
    else if (subItem == kCategory && role == Qt::EditRole)
        FImport.SetCategory(index.row(), value.toString());
    else
        return false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

Qt::ItemFlags TImportRowsModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags flags = TRowsModel::flags(index);
    const int subItem = index.column() - 1;
    if (subItem == kTick)
        flags |= Qt::ItemIsUserCheckable;
    else if (subItem == kCategory)
        flags |= Qt::ItemIsEditable;
    return flags;
}

void TImportRowsModel::Reload(const std::function<void()> &change) {
    beginResetModel();
    const auto done = qScopeGuard([this] { endResetModel(); });
    change();
}

void TImportRowsModel::Refresh() {
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, columnCount() - 1));
}
