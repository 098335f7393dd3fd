#include "grid_cell_painter_widget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace {

// Texts of more layouts than this are laid out anew (a grid seldom shows as many).
constexpr int kMaxLayouts = 4096;

} // namespace

const QStaticText &TGridCellPainter::layout(const QString &text, const QFont &font) const {
    if (font != font_ || layouts_.size() > kMaxLayouts) {
        layouts_.clear();
        font_ = font;
    }
    auto it = layouts_.find(text);
    if (it == layouts_.end()) {
        QStaticText staticText(text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.setPerformanceHint(QStaticText::AggressiveCaching);
        staticText.prepare(QTransform(), font);
        it = layouts_.insert(text, staticText);
    }
    return *it;
}

void TGridCellPainter::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const {
    const QWidget *view = option.widget;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active)  ? QPalette::Normal
                                                                                : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else if (const QVariant background = index.data(Qt::BackgroundRole); background.isValid()) {
        painter->fillRect(option.rect, qvariant_cast<QBrush>(background));
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        QFont font = option.font;
        if (const QVariant own = index.data(Qt::FontRole); own.isValid())
            font = qvariant_cast<QFont>(own).resolve(font);
        QColor colour = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        if (const QVariant own = index.data(Qt::ForegroundRole); own.isValid() && !selected)
            colour = qvariant_cast<QBrush>(own).color();
        const Qt::Alignment alignment =
            Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) | Qt::AlignVCenter;
        // The margin the style gives a view's item text.
        const QStyle *style = view ? view->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
        painter->save();
        painter->setFont(font);
        painter->setPen(colour);
        const QStaticText &laidOut = layout(text, font);
        const QSizeF size = laidOut.size();
        if (size.width() <= area.width() && size.height() <= option.rect.height()) {
            qreal x = area.left();
            if (alignment & Qt::AlignRight)
                x = area.right() + 1 - size.width();
            else if (alignment & Qt::AlignHCenter)
                x = area.left() + (area.width() - size.width()) / 2;
            const qreal y = option.rect.top() + (option.rect.height() - size.height()) / 2;
            painter->drawStaticText(QPointF(x, y), laidOut);
        } else {
            // Too wide for its column: cut with an ellipsis, as the style does.
            painter->setClipRect(option.rect);
            const QString shown = painter->fontMetrics().elidedText(text, option.textElideMode, area.width());
            painter->drawText(area, static_cast<int>(alignment), shown);
        }
        painter->restore();
    }

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        const QStyle *style = view ? view->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view);
    }
}
