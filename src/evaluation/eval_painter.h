#pragma once

#include "eval_geometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

class QPainter;

// The colours of the 24 curves, index = Tag - 1.
using TCurveColours = std::array<QColor, kCurveCount>;

// The background of the three boxes.
QColor EvalBackground();

// Time axis box: ticks and year texts, black pen of width 1.
void PaintTimeAxis(QPainter &painter, const TEvalGeometry &geometry);
// Value axis box of the given size.
void PaintValueAxis(QPainter &painter, QSize box, int factor);
// Curve box: a polyline per shown curve, in Tag order, later ones on top.
void PaintCurves(QPainter &painter, const TEvalGeometry &geometry, const TCurveSwitches &shown,
                 const TCurveColours &colours);

// The three boxes together as one picture: the value axis left of the curve
// box, the time axis below both. `curveBox` is the size of the curve box.
struct TEvalPicture {
    const TEvalGeometry *geometry = nullptr;
    TCurveSwitches shown{};
    TCurveColours colours{};
    QSize curveBox;
    int valueAxisWidth = 30;
    int timeAxisHeight = 30;
    int factor = 1;
    QFont font;

    QSize size() const { return {valueAxisWidth + curveBox.width(), curveBox.height() + timeAxisHeight}; }
};
void PaintPicture(QPainter &painter, const TEvalPicture &picture);
QImage RenderPicture(const TEvalPicture &picture);

// The file name a picture is saved under: `chosen` as it is when it ends in
// ".png" or ".pdf", else with ".pdf" (when `pdf`) or ".png" added.
QString ImageFileName(const QString &chosen, bool pdf);

// Saves the picture as PNG, or as PDF when the name ends in ".pdf" (one page
// of the picture's size). Throws TarvoError when the file cannot be written.
void SavePicture(const TEvalPicture &picture, const QString &fileName);
