#include "comparison_table_ui.h"

#include "comparison_plot_ui.h"

namespace {

QString Number(const QLocale &locale, const std::optional<double> &value, int decimals) {
    return value ? locale.toString(*value, 'f', decimals) : QString();
}

QString Integer(const QLocale &locale, const std::optional<int> &value) {
    return value ? locale.toString(*value) : QString();
}

// "–" where the summary has no value.
QString Shown(const QLocale &locale, const std::optional<double> &value, int decimals) {
    return value ? Number(locale, value, decimals) : QStringLiteral("–");
}

QString StatsSummary(const QString &period, const TComparisonStats &s, const QLocale &locale) {
    QString text = QStringLiteral("%1: %2 gemeinsame%3 Tag%4")
                       .arg(period)
                       .arg(s.days)
                       .arg(s.days == 1 ? QStringLiteral("r") : QString())
                       .arg(s.days == 1 ? QString() : QStringLiteral("e"));
    if (s.days == 0)
        return text;
    text += QStringLiteral("  ·  Ø Re %1  ·  Ø SILSO %2  ·  k = %3")
                .arg(Shown(locale, s.meanRe, 1), Shown(locale, s.meanSilso, 1), Shown(locale, s.k, 3));
    if (s.ratioMean)
        text += QStringLiteral("  ·  S/Re im Mittel %1").arg(Shown(locale, s.ratioMean, 3));
    if (s.ratioSpread)
        text += QStringLiteral(" ± %1").arg(Shown(locale, s.ratioSpread, 3));
    return text;
}

// Ø Re, Ø SILSO, k, Ø S/Re, σ S/Re (after "Tage").
QStringList StatsCells(const TComparisonStats &s, const QLocale &locale) {
    return {locale.toString(s.days), Number(locale, s.meanRe, 1),    Number(locale, s.meanSilso, 1),
            Number(locale, s.k, 3),  Number(locale, s.ratioMean, 3), Number(locale, s.ratioSpread, 3)};
}

QStringList HemisphereCells(const THemisphereComparison &h, const QLocale &locale) {
    return {Number(locale, h.ownMean, 1), Number(locale, h.silso, 1), Number(locale, h.k, 3)};
}

const QStringList kStatsHeaders = {QStringLiteral("Tage"),    QStringLiteral("Ø Re"),
                                   QStringLiteral("Ø SILSO"), QStringLiteral("k"),
                                   QStringLiteral("Ø S/Re"),  QStringLiteral("σ S/Re")};
const QStringList kStatsTips = {
    QStringLiteral("Gemeinsame Tage: beobachtet, mit Re und mit einem SILSO-Tageswert"),
    QStringLiteral("Mittel der eigenen Relativzahlen an den gemeinsamen Tagen"),
    QStringLiteral("Mittel der SILSO-Tageswerte an den gemeinsamen Tagen"),
    QStringLiteral("k = Summe SILSO / Summe Re über die gemeinsamen Tage"),
    QStringLiteral("Mittel der täglichen Verhältnisse SILSO / Re (Tage mit Re > 0)"),
    QStringLiteral("Streuung (Standardabweichung) der täglichen Verhältnisse SILSO / Re")};

} // namespace

TComparisonTable MonthTable(const TMonthComparison &month, const QLocale &locale) {
    TComparisonTable t;
    t.headers = {QStringLiteral("Tag"), QStringLiteral("Re"), QStringLiteral("SILSO"),
                 QStringLiteral("S/Re")};
    t.headerTips = {QString(), QStringLiteral("Eigene Relativzahl des Tages (leer: nicht beobachtet)"),
                    QStringLiteral("Tageswert des SILSO"),
                    QStringLiteral("Verhältnis SILSO / Re an den gemeinsamen Tagen mit Re > 0")};
    for (const TComparisonDay &d : month.days) {
        t.rows.push_back({locale.toString(d.day), Integer(locale, d.re), Integer(locale, d.silso),
                          Number(locale, d.ratio, 3)});
        t.totalRow.push_back(false);
    }
    t.summary = StatsSummary(MonthAndYear(month.year, month.month), month.stats, locale);
    if (month.north.k || month.south.k)
        t.summary += QStringLiteral("  ·  k Nord %1  ·  k Süd %2")
                         .arg(Shown(locale, month.north.k, 3), Shown(locale, month.south.k, 3));
    return t;
}

TComparisonTable YearTable(const TYearComparison &year, const QLocale &locale) {
    TComparisonTable t;
    t.headers =
        QStringList{QStringLiteral("Monat")} + kStatsHeaders +
        QStringList{QStringLiteral("Ø Re Nord"), QStringLiteral("SILSO Nord"), QStringLiteral("k Nord"),
                    QStringLiteral("Ø Re Süd"),  QStringLiteral("SILSO Süd"),  QStringLiteral("k Süd")};
    t.headerTips =
        QStringList{QString()} + kStatsTips +
        QStringList{QStringLiteral("Mittel von 10 g + f der Nordhalbkugel an den beobachteten Tagen"),
                    QStringLiteral("Monatswert des SILSO für die Nordhalbkugel"),
                    QStringLiteral("k Nord = SILSO Nord / Ø Re Nord"),
                    QStringLiteral("Mittel von 10 g + f der Südhalbkugel an den beobachteten Tagen"),
                    QStringLiteral("Monatswert des SILSO für die Südhalbkugel"),
                    QStringLiteral("k Süd = SILSO Süd / Ø Re Süd")};
    const QLocale german(QLocale::German);
    for (const TMonthComparison &m : year.months) {
        t.rows.push_back(QStringList{german.standaloneMonthName(m.month)} + StatsCells(m.stats, locale) +
                         HemisphereCells(m.north, locale) + HemisphereCells(m.south, locale));
        t.totalRow.push_back(false);
    }
    t.rows.push_back(QStringList{QStringLiteral("Jahr")} + StatsCells(year.stats, locale) +
                     QStringList{QString(), QString(), QString(), QString(), QString(), QString()});
    t.totalRow.push_back(true);
    t.summary = StatsSummary(QString::number(year.year), year.stats, locale);
    return t;
}

TComparisonTable SpanTable(const TSpanComparison &span, const QLocale &locale) {
    TComparisonTable t;
    t.headers = QStringList{QStringLiteral("Monat")} + kStatsHeaders.mid(0, 4) +
                QStringList{QStringLiteral("k 13 Monate")};
    t.headerTips =
        QStringList{QString()} + kStatsTips.mid(0, 4) +
        QStringList{QStringLiteral("Gleitendes Mittel der Monats-k über 13 Monate (sechs davor bis "
                                   "sechs danach; mindestens %1 davon mit k)")
                        .arg(kRunningMinimum)};
    for (const TSpanMonth &m : span.months) {
        t.rows.push_back({QStringLiteral("%1/%2").arg(m.month, 2, 10, QLatin1Char('0')).arg(m.year),
                          locale.toString(m.stats.days), Number(locale, m.stats.meanRe, 1),
                          Number(locale, m.stats.meanSilso, 1), Number(locale, m.stats.k, 3),
                          Number(locale, m.runningK, 3)});
        t.totalRow.push_back(false);
    }
    t.summary = StatsSummary(YearSpanText(span.firstYear, span.lastYear), span.stats, locale);
    return t;
}
