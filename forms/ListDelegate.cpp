#include "forms/ListDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

void TListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    constexpr auto kOtherParts = QStyleOptionViewItem::HasDecoration |
                                 QStyleOptionViewItem::HasCheckIndicator |
                                 QStyleOptionViewItem::WrapText;
    // The style gives the text the whole cell only when the selection covers
    // it; otherwise its place depends on its size, and the standard way is kept.
    if (opt.text.isEmpty() || (opt.features & kOtherParts) || !opt.showDecorationSelected ||
        opt.textElideMode == Qt::ElideNone) {
        QStyledItemDelegate::paint(painter, opt, index);
        return;
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The text's place and layout as the style works them out for a one-line
    // text: the cell less the focus frame's margins, aligned in it.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(opt.direction);
    textOption.setAlignment(QStyle::visualAlignment(opt.direction, opt.displayAlignment));
    QTextLayout layout(opt.text, opt.font);
    layout.setTextOption(textOption);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(textRect.width());
    line.setPosition(QPointF(0, 0));
    const bool oneLine = !layout.createLine().isValid();
    layout.endLayout();
    // Two lines (a line break in a note) or a text to elide: the standard way.
    if (!oneLine || line.naturalTextWidth() > textRect.width()) {
        QStyledItemDelegate::paint(painter, opt, index);
        return;
    }

    // Background, selection and focus as the style draws them, without the text.
    opt.text.clear();
    opt.features &= ~QStyleOptionViewItem::HasDisplay;
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect layoutRect = QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment,
                                                 layout.boundingRect().size().toSize(), textRect);
    QPalette::ColorGroup group =
        opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->save();
    painter->setClipRect(opt.rect, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter->setPen(opt.palette.color(
        group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(painter, QPointF(textRect.x(), layoutRect.top()));
    painter->restore();
}
