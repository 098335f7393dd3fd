#include "import_report.h"

#include <QDir>
#include <QStringList>

namespace {

QString SpanText(const TMonthSpan &span) {
    if (span.first == span.last)
        return MonthText(span.first);
    return QStringLiteral("%1 bis %2").arg(MonthText(span.first), MonthText(span.last));
}

QString Months(int count) {
    return count == 1 ? QStringLiteral("1 Monat") : QStringLiteral("%1 Monate").arg(count);
}

} // namespace

TImportReport MakeImportReport(const TMonthValues &values) {
    TImportReport report;
    const int first = MonthKey(values.firstYear, 1);
    const int last = MonthKey(values.lastYear, 12);
    for (int key = first; key <= last; ++key) {
        const auto it = values.months.find(key);
        if (it == values.months.end()) {
            if (!report.notInFile.empty() && report.notInFile.back().last == key - 1)
                report.notInFile.back().last = key;
            else
                report.notInFile.push_back({key, key});
            continue;
        }
        if (it->second.empty()) {
            ++report.withoutNumber;
            continue;
        }
        ++report.monthsWritten;
        if (report.written.first < 0)
            report.written.first = key;
        report.written.last = key;
    }
    return report;
}

QString MonthText(int key) {
    return QStringLiteral("%1/%2").arg(key % 12 + 1, 2, 10, QLatin1Char('0')).arg(key / 12);
}

QString ImportReportText(const TImportReport &report) {
    QStringList lines;
    if (report.monthsWritten > 0)
        lines << QStringLiteral("Importiert: %1, %2 geschrieben.")
                     .arg(SpanText(report.written), Months(report.monthsWritten));
    if (!report.notInFile.empty()) {
        QStringList spans;
        for (const TMonthSpan &span : report.notInFile)
            spans << SpanText(span);
        lines << QStringLiteral("Nicht in der Datei enthalten, unverändert: %1.")
                     .arg(spans.join(QStringLiteral(", ")));
    }
    if (report.withoutNumber > 0)
        lines << QStringLiteral("In der Datei ohne Zahl, unverändert: %1.").arg(Months(report.withoutNumber));
    return lines.join(QLatin1Char('\n'));
}

QString NothingToImportMessage(const QString &fileName, const TMonthValues &values) {
    for (const auto &[key, numbers] : values.months)
        if (!numbers.empty())
            return {};
    const QString file = QDir::toNativeSeparators(fileName);
    const QString years = QStringLiteral("%1 bis %2").arg(values.firstYear).arg(values.lastYear);
    QString text;
    if (!values.months.empty())
        text =
            QStringLiteral("Die Datei „%1“ enthält für die Jahre %2 keine passenden Monatszeilen mit Zahlen.")
                .arg(file, years);
    else if (values.fileFirst >= 0)
        text = QStringLiteral("Die Datei „%1“ enthält keine passenden Monatszeilen für die Jahre %2; "
                              "ihre Monate reichen von %3 bis %4.")
                   .arg(file, years, MonthText(values.fileFirst), MonthText(values.fileLast));
    else
        text = QStringLiteral("Die Datei „%1“ enthält keine passenden Monatszeilen.").arg(file);
    return text + QStringLiteral("\nEs wurde nichts importiert.");
}

QString ImportDoneMessage(const QString &done, const TImportReport &report) {
    const QString lines = ImportReportText(report);
    return lines.isEmpty() ? done : done + QStringLiteral("\n\n") + lines;
}
