#include "plot_axis.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

double NiceStep(double rough) {
    if (!(rough > 0) || !std::isfinite(rough))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        // A little slack so that 0.3 / 0.1 is not taken for more than 3.
        if (factor * power >= rough * (1 - 1e-9))
            return factor * power;
    }
    return 10 * power;
}

double NiceCeiling(double value, int maxIntervals) {
    if (!(value > 0) || !std::isfinite(value))
        return 0;
    const double step = NiceStep(value / std::max(1, maxIntervals));
    return std::ceil(value / step - 1e-9) * step;
}

TAxisTicks NumericTicks(double min, double max, int maxIntervals) {
    TAxisTicks ticks;
    if (!(max > min))
        return ticks;
    ticks.step = NiceStep((max - min) / std::max(1, maxIntervals));
    ticks.decimals = 0;
    while (ticks.decimals < 6 && std::abs(std::round(ticks.step * std::pow(10.0, ticks.decimals)) -
                                          ticks.step * std::pow(10.0, ticks.decimals)) > 1e-6)
        ++ticks.decimals;
    const double first = std::ceil(min / ticks.step - 1e-9);
    for (double i = first;; ++i) {
        const double value = i * ticks.step;
        if (value > max + ticks.step * 1e-9)
            break;
        ticks.values.push_back(std::abs(value) < ticks.step * 1e-9 ? 0.0 : value);
    }
    return ticks;
}

QString TickLabel(double value, int decimals) {
    static const QLocale german(QLocale::German, QLocale::Germany);
    QLocale locale = german;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString MonthAbbreviation(int month) {
    static const char *const names[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    return QString::fromUtf8(names[std::clamp(month, 1, 12) - 1]);
}

QString MonthLetter(int month) {
    return MonthAbbreviation(month).left(1);
}
