#include "string_align_grid_widget.h"

#include "grid_cell_painter_widget.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

// Item data roles that remember what a cell set for itself.
constexpr int kOwnAlignRole = Qt::UserRole + 1;
constexpr int kOwnColorRole = Qt::UserRole + 2;
constexpr int kOwnFontRole = Qt::UserRole + 3;

Qt::Alignment ToQtAlignment(TMyAlign align) {
    switch (align) {
    case TMyAlign::alRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TMyAlign::alCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TMyAlign::alLeft:
    case TMyAlign::alDefault:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

std::uint32_t ToRgb(const QColor &color) {
    return color.rgb() & 0xFFFFFFu;
}

} // namespace

TStringAlignGrid::TStringAlignGrid(QWidget *parent) : QTableWidget(parent) {
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->viewport()->installEventFilter(this);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new TGridCellPainter(this));
    setDefaultRowHeight(15);
    setDefaultColWidth(64);
}

void TStringAlignGrid::setRows(int rows) {
    setRowCount(std::max(0, rows - fixedRows_));
    refused_.resize(static_cast<size_t>(rowCount()), false);
    ensureItems();
}

void TStringAlignGrid::setCols(int cols) {
    setColumnCount(std::max(0, cols));
    columns_.resize(static_cast<size_t>(columnCount()));
    ensureItems();
}

void TStringAlignGrid::setFixedRows(int fixedRows) {
    const int total = rows();
    fixedRows_ = std::clamp(fixedRows, 0, 1);
    horizontalHeader()->setVisible(fixedRows_ == 1);
    setRows(total);
}

QTableWidgetItem *TStringAlignGrid::itemAt(int row, int col) const {
    if (col < 0 || col >= columnCount())
        return nullptr;
    if (row < fixedRows_)
        return row == 0 ? horizontalHeaderItem(col) : nullptr;
    const int r = row - fixedRows_;
    return r < rowCount() ? item(r, col) : nullptr;
}

QTableWidgetItem *TStringAlignGrid::ensureItem(int row, int col) {
    if (QTableWidgetItem *existing = itemAt(row, col))
        return existing;
    if (col < 0 || col >= columnCount() || row < 0 || row >= rows())
        return nullptr;
    auto *created = new QTableWidgetItem;
    if (row < fixedRows_) {
        setHorizontalHeaderItem(col, created);
    } else {
        setItem(row - fixedRows_, col, created);
    }
    applyLook(row, col);
    return created;
}

void TStringAlignGrid::ensureItems() {
    for (int r = 0; r < rows(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            ensureItem(r, c);
}

QString TStringAlignGrid::cellText(int row, int col) const {
    const QTableWidgetItem *it = itemAt(row, col);
    return it ? it->text() : QString();
}

void TStringAlignGrid::setCellText(int row, int col, const QString &text) {
    if (QTableWidgetItem *it = ensureItem(row, col); it && it->text() != text)
        it->setText(text);
}

void TStringAlignGrid::clearBodyTexts() {
    for (int r = fixedRows_; r < rows(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCellText(r, c, QString());
}

void TStringAlignGrid::setDefaultRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    verticalHeader()->setDefaultSectionSize(rowHeight_);
    horizontalHeader()->setFixedHeight(rowHeight_);
}

void TStringAlignGrid::setDefaultColWidth(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
}

void TStringAlignGrid::setColumnAlignment(int col, TMyAlign align) {
    if (col < 0 || col >= columnCount())
        return;
    columns_[static_cast<size_t>(col)].align = align;
    applyColumnLook(col);
}

TMyAlign TStringAlignGrid::columnAlignment(int col) const {
    return col >= 0 && col < columnCount() ? columns_[static_cast<size_t>(col)].align : TMyAlign::alDefault;
}

void TStringAlignGrid::setCellAlignment(int row, int col, TMyAlign align) {
    if (QTableWidgetItem *it = ensureItem(row, col)) {
        it->setData(kOwnAlignRole, static_cast<int>(align));
        applyLook(row, col);
    }
}

void TStringAlignGrid::clearCellAlignment(int row, int col) {
    if (QTableWidgetItem *it = itemAt(row, col)) {
        it->setData(kOwnAlignRole, QVariant());
        applyLook(row, col);
    }
}

TMyAlign TStringAlignGrid::cellAlignment(int row, int col) const {
    if (const QTableWidgetItem *it = itemAt(row, col); it && it->data(kOwnAlignRole).isValid())
        return static_cast<TMyAlign>(it->data(kOwnAlignRole).toInt());
    return columnAlignment(col);
}

void TStringAlignGrid::setColor(const QColor &color) {
    color_ = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TStringAlignGrid::setColumnColor(int col, const QColor &color) {
    if (col < 0 || col >= columnCount())
        return;
    columns_[static_cast<size_t>(col)].color = color;
    applyColumnLook(col);
}

void TStringAlignGrid::setCellColor(int row, int col, const QColor &color) {
    if (QTableWidgetItem *it = ensureItem(row, col)) {
        it->setData(kOwnColorRole, color);
        applyLook(row, col);
    }
}

QColor TStringAlignGrid::cellColor(int row, int col) const {
    if (const QTableWidgetItem *it = itemAt(row, col); it && it->data(kOwnColorRole).isValid())
        return it->data(kOwnColorRole).value<QColor>();
    if (col >= 0 && col < columnCount() && columns_[static_cast<size_t>(col)].color)
        return *columns_[static_cast<size_t>(col)].color;
    return color_;
}

void TStringAlignGrid::setColumnFont(int col, const QFont &font) {
    if (col < 0 || col >= columnCount())
        return;
    columns_[static_cast<size_t>(col)].font = font;
    applyColumnLook(col);
}

void TStringAlignGrid::setCellFont(int row, int col, const QFont &font) {
    if (QTableWidgetItem *it = ensureItem(row, col)) {
        it->setData(kOwnFontRole, font);
        applyLook(row, col);
    }
}

QFont TStringAlignGrid::cellFont(int row, int col) const {
    if (const QTableWidgetItem *it = itemAt(row, col); it && it->data(kOwnFontRole).isValid())
        return it->data(kOwnFontRole).value<QFont>();
    if (col >= 0 && col < columnCount() && columns_[static_cast<size_t>(col)].font)
        return *columns_[static_cast<size_t>(col)].font;
    return row < fixedRows_ ? horizontalHeader()->font() : font();
}

void TStringAlignGrid::setFixedFontSize(int pointSize) {
    QFont f = horizontalHeader()->font();
    f.setPointSize(pointSize);
    horizontalHeader()->setFont(f);
}

void TStringAlignGrid::setEditable(bool editable) {
    editable_ = editable;
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    for (int r = fixedRows_; r < rows(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            applyLook(r, c);
}

void TStringAlignGrid::applyLook(int row, int col) {
    QTableWidgetItem *it = itemAt(row, col);
    if (!it)
        return;
    it->setTextAlignment(ToQtAlignment(cellAlignment(row, col)));
    const ColumnLook &look = columns_[static_cast<size_t>(col)];
    if (it->data(kOwnColorRole).isValid())
        it->setBackground(it->data(kOwnColorRole).value<QColor>());
    else if (look.color)
        it->setBackground(*look.color);
    else
        it->setData(Qt::BackgroundRole, QVariant());
    if (it->data(kOwnFontRole).isValid())
        it->setFont(it->data(kOwnFontRole).value<QFont>());
    else if (look.font)
        it->setFont(*look.font);
    else
        it->setData(Qt::FontRole, QVariant());
    if (row >= fixedRows_) {
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (bodyRowAllowed(row - fixedRows_))
            flags |= Qt::ItemIsSelectable;
        if (editable_)
            flags |= Qt::ItemIsEditable;
        if (it->flags() != flags)
            it->setFlags(flags);
    }
}

void TStringAlignGrid::applyColumnLook(int col) {
    for (int r = 0; r < rows(); ++r)
        applyLook(r, col);
}

bool TStringAlignGrid::bodyRowAllowed(int qtRow) const {
    return qtRow >= 0 && qtRow < rowCount() && !refused_[static_cast<size_t>(qtRow)];
}

void TStringAlignGrid::setRowSelectable(int row, bool selectable) {
    const int r = row - fixedRows_;
    if (r < 0 || r >= rowCount() || refused_[static_cast<size_t>(r)] == !selectable)
        return;
    refused_[static_cast<size_t>(r)] = !selectable;
    for (int c = 0; c < columnCount(); ++c)
        applyLook(row, c);
    if (!selectable && currentRow() == r)
        clearSelection();
}

bool TStringAlignGrid::rowSelectable(int row) const {
    return bodyRowAllowed(row - fixedRows_);
}

void TStringAlignGrid::setSelectableRows(int first, int last) {
    for (int row = fixedRows_; row < rows(); ++row)
        setRowSelectable(row, row >= first && row <= last);
}

int TStringAlignGrid::selectedRow() const {
    const int r = currentRow();
    return r >= 0 && selectionModel() && selectionModel()->isRowSelected(r, QModelIndex()) ? r + fixedRows_
                                                                                           : -1;
}

bool TStringAlignGrid::setSelectedRow(int row) {
    const int r = row - fixedRows_;
    if (!bodyRowAllowed(r))
        return false;
    setCurrentCell(r, std::max(currentColumn(), 0),
                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

QModelIndex TStringAlignGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableWidget::moveCursor(cursorAction, modifiers);
    if (next.isValid() && !bodyRowAllowed(next.row()))
        return currentIndex();
    return next;
}

void TStringAlignGrid::mousePressEvent(QMouseEvent *event) {
    emit mouseDown(event->button(), viewport()->mapTo(this, event->position().toPoint()));
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && !bodyRowAllowed(index.row())) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void TStringAlignGrid::mouseMoveEvent(QMouseEvent *event) {
    // Dragging over refused rows must not select them either.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && !bodyRowAllowed(index.row())) {
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void TStringAlignGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || !bodyRowAllowed(index.row())) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
    emit rowDoubleClicked(index.row() + fixedRows_);
}

bool TStringAlignGrid::eventFilter(QObject *watched, QEvent *event) {
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *me = static_cast<QMouseEvent *>(event);
        emit mouseDown(me->button(), horizontalHeader()->viewport()->mapTo(this, me->position().toPoint()));
    }
    return QTableWidget::eventFilter(watched, event);
}

TGridTable TStringAlignGrid::exportTable() const {
    TGridTable table(rows(), cols());
    table.FixedRows = fixedRows_;
    table.GridColor = ToRgb(color_);
    table.Border = htmlBorder_;
    for (int r = 0; r < table.Rows; ++r) {
        for (int c = 0; c < table.Cols; ++c) {
            TExportCell &cell = table.cell(r, c);
            cell.Text = cellText(r, c);
            cell.Align = cellAlignment(r, c);
            const QTableWidgetItem *it = itemAt(r, c);
            const ColumnLook &look = columns_[static_cast<size_t>(c)];
            if ((it && it->data(kOwnColorRole).isValid()) || look.color)
                cell.Color = ToRgb(cellColor(r, c));
            if ((it && it->data(kOwnFontRole).isValid()) || look.font) {
                const QFont f = cellFont(r, c);
                TExportFont ef;
                ef.Face = f.family();
                ef.PointSize = f.pointSize();
                ef.Color = it ? ToRgb(it->foreground().color()) : 0;
                ef.Bold = f.bold();
                ef.Italic = f.italic();
                ef.StrikeOut = f.strikeOut();
                ef.Underline = f.underline();
                cell.Font = ef;
            }
        }
    }
    return table;
}

QString TStringAlignGrid::exportText(QChar separator, int firstRow, int lastRow, int firstCol,
                                     int lastCol) const {
    return ExportSeparatedText(exportTable(), separator, firstRow, lastRow, firstCol, lastCol);
}

QString TStringAlignGrid::exportText(QChar separator) const {
    return ExportSeparatedText(exportTable(), separator);
}

QString TStringAlignGrid::exportHtml(const QString &caption) const {
    return ExportHtmlTable(exportTable(), caption);
}
