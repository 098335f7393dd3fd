#include "silso_import.h"

#include "reference_store.h"
#include "silso_files.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// SILSO's whole daily file is about 3 MB; anything far larger is no SILSO file.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

QString FileText(const QString &fileName) {
    return QDir::toNativeSeparators(fileName);
}

QByteArray ReadSilsoFile(const QString &fileName) {
    const QFileInfo info(fileName);
    if (info.exists() && info.isFile() && info.size() > kLargestFile)
        throw TarvoError(QStringLiteral("Die Datei „%1“ ist zu groß für eine SILSO-Datei.\n"
                                        "Es wurde nichts importiert.")
                             .arg(FileText(fileName)));
    const FileReadResult read = ReadWholeFile(fileName);
    if (!read.exists)
        throw TarvoError(QStringLiteral("Die Datei „%1“ gibt es nicht.\nEs wurde nichts importiert.")
                             .arg(FileText(fileName)));
    if (!read.ok())
        throw TarvoError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden (E/A-Fehler %2).\n"
                                        "Es wurde nichts importiert.")
                             .arg(FileText(fileName))
                             .arg(read.errorCode));
    return read.bytes;
}

// What the entries hold: their span, the values and the provisional ones.
// Throws when not one entry has a value (`what` names the values).
template <class Entry, class DateOf>
TSilsoImportSummary Summarise(const std::vector<Entry> &entries, TSilsoSeries series, const QString &fileName,
                              const QString &what, DateOf dateOf) {
    TSilsoImportSummary summary;
    summary.series = series;
    for (const Entry &e : entries) {
        if (e.hasValue()) {
            ++summary.values;
            summary.provisional += e.provisional ? 1 : 0;
        } else {
            ++summary.withoutValue;
        }
    }
    if (summary.values == 0)
        throw TarvoError(QStringLiteral("Die Datei „%1“ enthält keine %2, nur Zeilen ohne Zahl (-1).\n"
                                        "Es wurde nichts importiert.")
                             .arg(FileText(fileName), what));
    const auto [first, last] = std::minmax_element(
        entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.key() < b.key(); });
    summary.first = dateOf(first->key());
    summary.last = dateOf(last->key());
    return summary;
}

QString Count(int n, const char *one, const char *many) {
    return n == 1 ? QStringLiteral("1 %1").arg(QString::fromUtf8(one))
                  : QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(many));
}

} // namespace

TSilsoImportSummary ImportSilsoDaily(const QString &fileName) {
    std::vector<TSilsoDay> days = ParseSilsoDailyFile(ReadSilsoFile(fileName), fileName);
    const TSilsoImportSummary summary =
        Summarise(days, TSilsoSeries::Daily, fileName, QStringLiteral("Tageswerte"),
                  [](int day) { return QDate::fromJulianDay(day); });
    StoreSilsoDays(std::move(days));
    return summary;
}

TSilsoImportSummary ImportSilsoHemispheric(const QString &fileName) {
    std::vector<TSilsoHemMonth> months = ParseSilsoHemFile(ReadSilsoFile(fileName), fileName);
    const TSilsoImportSummary summary =
        Summarise(months, TSilsoSeries::Hemispheric, fileName, QStringLiteral("Halbkugelwerte"),
                  [](int month) { return QDate(SilsoKeyYear(month), SilsoKeyMonth(month), 1); });
    StoreSilsoHemMonths(std::move(months));
    return summary;
}

QString SilsoImportDoneMessage(const TSilsoImportSummary &summary) {
    const bool daily = summary.series == TSilsoSeries::Daily;
    const QString format = daily ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/yyyy");
    QStringList lines;
    lines << (daily ? QStringLiteral("Die SILSO-Tageszahlen sind jetzt gespeichert.")
                    : QStringLiteral("Die SILSO-Halbkugelzahlen sind jetzt gespeichert."))
          << QString();
    lines << QStringLiteral("Importiert: %1 bis %2, %3.")
                 .arg(summary.first.toString(format), summary.last.toString(format),
                      daily ? Count(summary.values, "Tageswert", "Tageswerte")
                            : Count(summary.values, "Monatswert", "Monatswerte"));
    if (summary.withoutValue > 0)
        lines << QStringLiteral("Ohne Zahl in der Datei: %1.")
                     .arg(daily ? Count(summary.withoutValue, "Tag", "Tage")
                                : Count(summary.withoutValue, "Monat", "Monate"));
    if (summary.provisional > 0)
        lines << QStringLiteral("Davon vorläufig: %1.")
                     .arg(daily ? Count(summary.provisional, "Tageswert", "Tageswerte")
                                : Count(summary.provisional, "Monatswert", "Monatswerte"));
    return lines.join(QLatin1Char('\n'));
}
