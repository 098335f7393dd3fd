#include "paint_box_widget.h"

#include "eval_painter.h"

#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), EvalBackground());
    if (onPaint)
        onPaint(painter);
}

void TPaintBox::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMoved(event->position().toPoint());
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent *) {
    emit doubleClicked();
}

void TPaintBox::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    emit resized();
}
