#include "paint_box_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

TPaintBox::TPaintBox(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TPaintBox::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip && !richToolTip_.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), richToolTip_, this);
        return true;
    }
    return QWidget::event(event);
}

void TPaintBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (onPaint)
        onPaint(painter);
}

void TPaintBox::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMoved(event->position().toPoint());
}

void TPaintBox::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent *) {
    emit doubleClicked();
}

void TPaintBox::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    emit resized();
}
