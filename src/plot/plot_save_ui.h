#pragma once

#include "plot.h"

#include <QSize>
#include <QString>

class QWidget;

// "Bild speichern…" of the windows that show a plot: asks for a file (a PNG
// at 1, 2 or 3 times the figure's size, or an A4 PDF; `defaultName` is
// offered), asks before replacing a file the dialog did not ask about, and
// writes the picture. Returns the name written, empty when the user
// cancelled; throws TarvoError when the file cannot be written.
QString SavePlotImageAs(QWidget *parent, const TPlot &plot, QSize figure, const QString &defaultName);
