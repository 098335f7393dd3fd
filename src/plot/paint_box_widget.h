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

    // A rich-text tooltip shown instead of the plain toolTip() when the
    // mouse rests; empty: the plain one.
    void setRichToolTip(const QString &text) { richToolTip_ = text; }

signals:
    void mouseMoved(QPoint position);
    void mouseLeft();
    void doubleClicked();
    void resized();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString richToolTip_;
};
