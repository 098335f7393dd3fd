#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints the cells of TStringAlignGrid: background, text in the cell's
// alignment, font and colour, the selection and the focus frame. A grid
// cell holds one line of plain text, so the general item painting of the
// style (icons, check boxes, rich layout) is not needed; the text layouts
// are kept, because a month table shows the same few texts in every month.
// Switching months repaints the whole table, and this keeps it well within a
// frame.
class TGridCellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QStaticText &layout(const QString &text, const QFont &font) const;

    mutable QFont font_;
    mutable QHash<QString, QStaticText> layouts_; // of font_
};
