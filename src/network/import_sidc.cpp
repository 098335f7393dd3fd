#include "import_sidc.h"

#include "import_monthly.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cmath>
#include <map>

namespace {

bool IsCsv(const QByteArray &line) {
    return line.contains(';');
}

bool IsV2Text(const QByteArray &line) {
    static const QRegularExpression pattern(QStringLiteral("^\\d{4} [ \\d]\\d +\\d{4}\\.\\d+ "));
    return pattern.match(QString::fromLatin1(line)).hasMatch();
}

struct MonthValue {
    int key;                     // year * 12 + month - 1
    std::optional<double> value; // nullopt: no value (-1) or unreadable
};

// Year, month and value of one line of a V2.0 file. Throws for a year or
// month that is not an integer.
std::optional<MonthValue> ParseV2Line(const QByteArray &line, bool csv) {
    if (line.trimmed().isEmpty())
        return std::nullopt;
    QByteArray yearText, monthText, valueText;
    if (csv) {
        const QList<QByteArray> fields = line.split(';');
        yearText = fields.value(0);
        monthText = fields.value(1);
        valueText = fields.value(3);
    } else {
        yearText = LineColumns(line, 1, 4);
        monthText = LineColumns(line, 6, 7);
        valueText = LineColumns(line, 19, 23);
    }
    const std::optional<int> year = ParseColumnInt(yearText);
    if (!year || *year < 0 || *year > 9999) // a CSV field can hold any number; year * 12 must not overflow
        throw TarvoError::NotAnInteger(QString::fromLatin1(yearText));
    const std::optional<int> month = ParseColumnInt(monthText);
    if (!month || *month < 1 || *month > 12)
        throw TarvoError::NotAnInteger(QString::fromLatin1(monthText));
    std::optional<double> value = ParseColumnReal(valueText);
    if (value && *value < 0) // -1.0: SILSO has no number for this month
        value.reset();
    return MonthValue{*year * 12 + *month - 1, value};
}

std::map<int, std::optional<double>> ParseV2File(const QList<QByteArray> &lines, bool csv) {
    std::map<int, std::optional<double>> values;
    for (const QByteArray &line : lines)
        if (const std::optional<MonthValue> mv = ParseV2Line(line, csv))
            values[mv->key] = mv->value;
    return values;
}

// A smoothed series changes little from month to month; a monthly one
// jumps by a good part of its level. Returns nullopt when there are too few
// consecutive values to tell.
std::optional<bool> LooksSmoothed(const QList<QByteArray> &lines, bool csv) {
    std::vector<double> v;
    for (const QByteArray &line : lines) {
        try {
            const std::optional<MonthValue> mv = ParseV2Line(line, csv);
            v.push_back(mv && mv->value ? *mv->value : -1.0);
        } catch (const TarvoError &) {
            v.push_back(-1.0);
        }
    }
    double roughness = 0, level = 0;
    int n = 0;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i - 1] < 0 || v[i] < 0 || v[i + 1] < 0)
            continue;
        roughness += std::fabs(v[i] - (v[i - 1] + v[i + 1]) / 2);
        level += v[i];
        ++n;
    }
    if (n < 3)
        return std::nullopt;
    return roughness / n < 0.04 * (level / n) + 0.5;
}

QByteArray ReadFileOrThrow(const QString &fileName) {
    const FileReadResult read = ReadWholeFile(fileName);
    if (!read.exists)
        throw TarvoError::Io(ENOENT);
    if (!read.ok())
        throw TarvoError::Io(read.errorCode);
    return read.bytes;
}

} // namespace

double SilsoSmoothed(const double *window) {
    long double sum = 0.5L * window[0] + 0.5L * window[12];
    for (int i = 1; i < 12; ++i)
        sum += window[i];
    return static_cast<double>(sum / 12);
}

TSidcFormat RecogniseSidcFormat(const QByteArray &bytes, const QString &fileName) {
    const QList<QByteArray> lines = SplitTextLines(bytes);
    QByteArray first;
    for (const QByteArray &line : lines)
        if (!line.trimmed().isEmpty()) {
            first = line;
            break;
        }
    const bool csv = IsCsv(first);
    if (!csv && !IsV2Text(first))
        return TSidcFormat::OldColumns;
    bool smoothed = false;
    if (const std::optional<bool> looks = LooksSmoothed(lines, csv))
        smoothed = *looks;
    else
        smoothed = QFileInfo(fileName).fileName().contains(QLatin1String("_ms_"), Qt::CaseInsensitive);
    if (csv)
        return smoothed ? TSidcFormat::SmoothedCsv : TSidcFormat::MonthlyCsv;
    return smoothed ? TSidcFormat::SmoothedText : TSidcFormat::MonthlyText;
}

bool IsOldSidcScale(TSidcFormat format) {
    return format == TSidcFormat::OldColumns;
}

TSidcImportResult ImportSidc(const QString &fileName, int firstYear, int lastYear) {
    const QByteArray bytes = ReadFileOrThrow(fileName);
    TSidcImportResult result;
    result.format = RecogniseSidcFormat(bytes, fileName);
    if (result.format == TSidcFormat::OldColumns) {
        result.monthsFound =
            ImportMonthlySeries(fileName, firstYear, lastYear, 0,
                                {{20, 24, &TMonthSummary::SIDC}, {28, 32, &TMonthSummary::SIDCM}});
        return result;
    }

    const bool csv = result.format == TSidcFormat::MonthlyCsv || result.format == TSidcFormat::SmoothedCsv;
    const bool smoothedFile =
        result.format == TSidcFormat::SmoothedText || result.format == TSidcFormat::SmoothedCsv;
    const std::map<int, std::optional<double>> values = ParseV2File(SplitTextLines(bytes), csv);

    // The smoothed mean of a month needs the monthly means of the six months
    // before and after it; SILSO publishes it with one decimal.
    auto smoothedAt = [&values](int key) -> std::optional<double> {
        double window[13];
        for (int i = -6; i <= 6; ++i) {
            const auto it = values.find(key + i);
            if (it == values.end() || !it->second)
                return std::nullopt;
            window[i + 6] = *it->second;
        }
        return std::round(SilsoSmoothed(window) * 10) / 10;
    };

    UpdateArchiveYears(firstYear, lastYear, [&](int year, int month, TMonthSummary &summary) {
        const int key = year * 12 + month - 1;
        const auto it = values.find(key);
        if (it == values.end()) {
            if (!smoothedFile)
                summary.SIDC = 0.0;
            summary.SIDCM = 0.0;
            return;
        }
        ++result.monthsFound;
        if (smoothedFile) {
            if (it->second)
                summary.SIDCM = *it->second;
            return;
        }
        if (it->second)
            summary.SIDC = *it->second;
        if (const std::optional<double> smoothed = smoothedAt(key))
            summary.SIDCM = *smoothed;
    });
    return result;
}
