#include "eval_geometry.h"

#include "storage/tarvo_error.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstring>

TYearSummaries ReadArchiveYear(int year) {
    TYearSummaries summaries;
    if (!LoadYearSummaries(year, summaries))
        throw TarvoError(QStringLiteral("Das Auswertungsarchiv für %1 kann nicht gelesen werden").arg(year));
    return summaries;
}

int RoundHalfEven(double value) {
    // Values far off the box (a broken archive) must not overflow the pixel type.
    value = std::clamp(value, -1.0e7, 1.0e7);
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::nearbyint(value)); // default rounding mode: halves to even
}

int MonthStep(int timeAxisWidth, int valueAxisWidth, int years) {
    if (years <= 0)
        return 0;
    return std::max(0, (timeAxisWidth - valueAxisWidth - 1) / (years * 12));
}

bool YearTextShown(int year, int monthStep) {
    if (monthStep >= 3)
        return true;
    if (monthStep == 2)
        return year % 2 == 0;
    if (monthStep == 1)
        return year % 5 == 0;
    return false;
}

namespace {

// The records are packed: a member pointer's field may be misaligned, so it is
// copied bytewise.
template <class Record, class T> T LoadField(const Record &record, T Record::*member) {
    T value;
    std::memcpy(&value, &(record.*member), sizeof value);
    return value;
}

void SetPoint(TEvalGeometry &g, const TEvalParams &p, int k, const TMonthSummary &m) {
    const auto &curves = Curves();
    for (int c = 0; c < kCurveCount; ++c) {
        const double value = LoadField(m, curves[c].field);
        const int y = RoundHalfEven(p.curveHeight - p.factor * value * curves[c].scale - 1);
        g.points[c][k] = QPoint(k * g.monthStep, y);
        g.values[c][k] = value;
    }
}

void AddYearText(TEvalGeometry &g, int year, int x) {
    if (!YearTextShown(year, g.monthStep))
        return;
    const QString text = QString::number(year);
    g.yearTexts.push_back({x - RoundHalfEven(text.size() / 2.0) - 1, 15, text});
}

} // namespace

TEvalGeometry ComputeEvaluation(const TEvalParams &p, const TYearReader &read) {
    TEvalGeometry g;
    g.years = std::max(1, p.years);
    g.endYear = p.endYear;
    g.firstYear = p.endYear - g.years;
    const int count = g.years * 12 + 1;
    for (int c = 0; c < kCurveCount; ++c) {
        g.points[c].resize(count);
        g.values[c].resize(count);
    }
    g.monthStep = MonthStep(p.timeAxisWidth, p.valueAxisWidth, g.years);
    const int s = g.monthStep;
    const int w = p.valueAxisWidth;

    SetPoint(g, p, 0, read(g.firstYear - 1)[11]);

    int year = g.firstYear;
    bool cut = false;
    for (; year <= p.endYear - 1 && !cut; ++year) {
        const TYearSummaries summaries = read(year);
        for (int m = 1; m <= 12; ++m) {
            const int k = (year - g.firstYear) * 12 + m;
            SetPoint(g, p, k, summaries[m - 1]);
            const int x = (k - 1) * s + w - 1;
            if (m == 1) {
                g.ticks.push_back({x, 0, x, 10});
                AddYearText(g, year, x);
            } else if (s > 2) {
                g.ticks.push_back({x, 0, x, 5});
            }
            if (year == p.todayYear && m == p.todayMonth) {
                for (int c = 0; c < kCurveCount; ++c) {
                    g.points[c].resize(k + 1);
                    g.values[c].resize(k + 1);
                }
                cut = true;
                break;
            }
        }
        if (cut)
            break;
    }
    // Closing tick of the year at which the loop ended.
    const int x = (year - g.firstYear) * 12 * s + w - 1;
    g.ticks.push_back({x, 0, x, 10});
    AddYearText(g, year, x);
    return g;
}

QVector<TEvalLine> ValueAxisTicks(int width, int height, int factor) {
    QVector<TEvalLine> ticks;
    for (int i = 1; i <= 40; ++i) {
        const int y = height - 10 * i * factor;
        ticks.push_back({width - 15, y, width - 6, y});
    }
    return ticks;
}

QVector<TEvalText> ValueAxisTexts(int width, int height, int factor, int fontHeight) {
    Q_UNUSED(width);
    QVector<TEvalText> texts;
    for (int i = 10; i <= 40; i += 10) {
        const int y = height - 10 * i * factor;
        texts.push_back({0, RoundHalfEven(y - fontHeight / 2.0), QString::number(i * 10)});
    }
    return texts;
}

QString GermanMonthName(int month) {
    static const char *const names[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    return QString::fromUtf8(names[std::clamp(month, 1, 12) - 1]);
}

QString ReadOutText(const TEvalGeometry &g, int mouseX, int todayYear, int todayMonth,
                    const TCurveSwitches &shown) {
    const int s = g.monthStep;
    if (s == 0 || g.pointCount() == 0)
        return QString();
    const int firstYear = g.endYear - g.years;
    if (mouseX - 1 < 0)
        return QStringLiteral("Dezember %1").arg(firstYear - 1);
    // Whole months under the mouse, in integers: the fractional part of d/12
    // times 12 would lose a month to rounding (173/12 -> 4.999...).
    const int monthsIn = (mouseX - 1) / s;
    int year = firstYear + monthsIn / 12;
    int month = monthsIn % 12 + 1;
    if (year > todayYear || (year == todayYear && month > todayMonth))
        return QStringLiteral("Auch ich kann nicht \n in die Zukunft schauen");

    // Right of the last point the last month is shown; nothing is read past the arrays.
    int j = monthsIn + 1;
    const int last = g.pointCount() - 1;
    if (j > last) {
        j = last;
        year = g.yearOfPoint(j);
        month = g.monthOfPoint(j);
    }
    static const QLocale german(QLocale::German, QLocale::Germany);
    QStringList lines{GermanMonthName(month) + QLatin1Char(' ') + QString::number(year)};
    for (int c : ReadOutOrder()) {
        if (!shown[c])
            continue;
        lines << QString::fromUtf8(Curves()[c].readOutLabel) +
                     german.toString(g.values[c][j], 'f', 1);
    }
    return lines.join(QLatin1Char('\n'));
}
