#include "comparison_csv.h"

#include <QStringList>

namespace {

QString Number(const std::optional<double> &value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QString();
}

QString Integer(const std::optional<int> &value) {
    return value ? QString::number(*value) : QString();
}

QString Row(const QStringList &fields) {
    return fields.join(QLatin1Char(',')) + QLatin1Char('\n');
}

// Tage,Re,SILSO,k,Verhaeltnis_Mittel,Verhaeltnis_Streuung
QStringList StatsFields(const TComparisonStats &s) {
    return {QString::number(s.days), Number(s.meanRe, 1),    Number(s.meanSilso, 1),
            Number(s.k, 3),          Number(s.ratioMean, 3), Number(s.ratioSpread, 3)};
}

QStringList HemisphereFields(const THemisphereComparison &h) {
    return {Number(h.ownMean, 1), Number(h.silso, 1), Number(h.k, 3)};
}

} // namespace

QString MonthComparisonCsv(const TMonthComparison &month) {
    QString csv = Row({"Tag", "Re", "SILSO", "Verhaeltnis"});
    for (const TComparisonDay &d : month.days)
        csv += Row({QString::number(d.day), Integer(d.re), Integer(d.silso), Number(d.ratio, 3)});
    return csv;
}

QString YearComparisonCsv(const TYearComparison &year) {
    QString csv = Row({"Monat", "Tage", "Re", "SILSO", "k", "Verhaeltnis_Mittel", "Verhaeltnis_Streuung",
                       "Re_Nord", "SILSO_Nord", "k_Nord", "Re_Sued", "SILSO_Sued", "k_Sued"});
    for (const TMonthComparison &m : year.months)
        csv += Row(QStringList{QString::number(m.month)} + StatsFields(m.stats) + HemisphereFields(m.north) +
                   HemisphereFields(m.south));
    csv += Row(QStringList{QStringLiteral("Jahr")} + StatsFields(year.stats) +
               QStringList{QString(), QString(), QString(), QString(), QString(), QString()});
    return csv;
}

QString SpanComparisonCsv(const TSpanComparison &span) {
    QString csv = Row({"Jahr", "Monat", "Tage", "Re", "SILSO", "k", "k_13"});
    for (const TSpanMonth &m : span.months)
        csv += Row({QString::number(m.year), QString::number(m.month), QString::number(m.stats.days),
                    Number(m.stats.meanRe, 1), Number(m.stats.meanSilso, 1), Number(m.stats.k, 3),
                    Number(m.runningK, 3)});
    return csv;
}

QString CsvWithSourceLine(const QString &csv, const QString &source) {
    QString quoted = source;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return csv + QLatin1Char('"') + quoted + QStringLiteral("\"\n");
}
