#pragma once

#include <QStyledItemDelegate>

// Paints the cells of the report-style lists exactly as the standard
// delegate does, laying each one-line text out once instead of three times
// (once for the item's size, once to find whether it must be elided, once
// to draw it). Texts that wrap, do not fit or sit beside an icon are left to
// the standard delegate.
class TListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
