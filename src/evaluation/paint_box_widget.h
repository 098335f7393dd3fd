#pragma once

#include <QWidget>
#include <functional>

// A plain box whose picture comes from a callback, like a paint box with a
// canvas: the owner paints it and hears its mouse.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget *parent = nullptr);

    std::function<void(QPainter &)> onPaint;

signals:
    void mouseMoved(QPoint position);
    void doubleClicked();
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
