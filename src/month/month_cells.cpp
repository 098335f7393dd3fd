#include "month_cells.h"

#include <cmath>

int CountedFieldOfKind(int kind) {
    return kind >= 3 && kind < kColumnKindCount ? kind - 3 : -1;
}

QString DayNumberText(int row, int daysInMonth) {
    if (row < 1 || row > daysInMonth)
        return {};
    return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

QString DayCellText(const TDayRecord &day, int kind, bool observed) {
    if (kind == kKindBemerkung)
        return day.Bemerkung.text();
    if (!observed)
        return {};
    if (kind == kKindUT)
        return day.Zeit.text();
    const int field = CountedFieldOfKind(kind);
    if (field < 0)
        return {};
    const std::int32_t value = CountedField(day, field);
    return value == -1 ? QString() : QString::number(value);
}

TSummaryTexts SummaryTexts(const TMonthTotals &totals, int kind, const QLocale &locale) {
    TSummaryTexts texts;
    const int field = CountedFieldOfKind(kind);
    if (field < 0 || !totals.hasValues(field))
        return texts;
    const std::int64_t sum = totals.Sums[static_cast<size_t>(field)];
    const bool seeing = field <= 2; // R, S and Q
    if (!seeing || sum > 0)
        texts.sum = QString::number(sum);
    texts.count = QString::number(totals.Counts[static_cast<size_t>(field)]);
    texts.mean = FormatFixed(totals.mean(field), kind == kKindRb ? 5 : 4, 1, locale);
    return texts;
}

QString FormatFixed(double value, int precision, int digits, const QLocale &locale) {
    QLocale loc = locale;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    if (!std::isfinite(value))
        return loc.toString(value);
    precision = std::max(precision, 1);
    int exponent = 0;
    if (value != 0.0) {
        exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        // Round to the significant digits first: 9999.96 becomes 10000.
        const double scale = std::pow(10.0, exponent - precision + 1);
        const double rounded = std::round(value / scale) * scale;
        if (rounded != 0.0)
            exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    }
    const int integerDigits = std::max(exponent + 1, 1);
    if (integerDigits > precision) {
        const double mantissa = value / std::pow(10.0, exponent);
        QString text = loc.toString(mantissa, 'f', precision - 1);
        return text + QStringLiteral("E%1%2")
                          .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                          .arg(std::abs(exponent), 3, 10, QLatin1Char('0'));
    }
    const int shown = std::clamp(precision - integerDigits, 0, digits);
    QString text = loc.toString(value, 'f', shown);
    if (shown < digits) {
        if (shown == 0 && digits > 0)
            text += loc.decimalPoint();
        text += QString(digits - shown, QLatin1Char('0'));
    }
    return text;
}
