#include "import_sidc.h"

#include "import_monthly.h"
#include "storage/tarvo_error.h"

#include <QFileInfo>
#include <QRegularExpression>
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

// The months of the file and their values. A file without a single sound
// month line matches nothing (it is another file, not a damaged one).
std::map<int, std::optional<double>> ParseV2File(const QList<QByteArray> &lines, bool csv) {
    std::map<int, std::optional<double>> values;
    bool anySound = false;
    std::optional<TarvoError> firstError;
    for (const QByteArray &line : lines) {
        try {
            if (const std::optional<MonthValue> mv = ParseV2Line(line, csv)) {
                values[mv->key] = mv->value;
                anySound = true;
            }
        } catch (const TarvoError &e) {
            if (anySound)
                throw;
            if (!firstError)
                firstError = e;
        }
    }
    if (firstError && anySound)
        throw *firstError;
    return anySound ? values : std::map<int, std::optional<double>>{};
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

TMonthValues SidcMonthValues(const QByteArray &bytes, TSidcFormat format, int firstYear, int lastYear) {
    if (format == TSidcFormat::OldColumns)
        return MatchMonthlySeries(bytes, firstYear, lastYear, 0,
                                  {{20, 24, &TMonthSummary::SIDC}, {28, 32, &TMonthSummary::SIDCM}});

    const bool csv = format == TSidcFormat::MonthlyCsv || format == TSidcFormat::SmoothedCsv;
    const bool smoothedFile = format == TSidcFormat::SmoothedText || format == TSidcFormat::SmoothedCsv;
    const std::map<int, std::optional<double>> file = ParseV2File(SplitTextLines(bytes), csv);

    // The smoothed mean of a month needs the monthly means of the six months
    // before and after it; SILSO publishes it with one decimal.
    auto smoothedAt = [&file](int key) -> std::optional<double> {
        double window[13];
        for (int i = -6; i <= 6; ++i) {
            const auto it = file.find(key + i);
            if (it == file.end() || !it->second)
                return std::nullopt;
            window[i + 6] = *it->second;
        }
        return std::round(SilsoSmoothed(window) * 10) / 10;
    };

    TMonthValues values;
    values.firstYear = firstYear;
    values.lastYear = lastYear;
    if (!file.empty()) {
        values.noteFileMonth(file.begin()->first);
        values.noteFileMonth(file.rbegin()->first);
    }
    const auto end = file.upper_bound(MonthKey(lastYear, 12));
    for (auto it = file.lower_bound(MonthKey(firstYear, 1)); it != end; ++it) {
        std::vector<TFieldValue> &numbers = values.months[it->first];
        if (smoothedFile) {
            if (it->second)
                numbers.push_back({&TMonthSummary::SIDCM, *it->second});
            continue;
        }
        if (it->second)
            numbers.push_back({&TMonthSummary::SIDC, *it->second});
        if (const std::optional<double> smoothed = smoothedAt(it->first))
            numbers.push_back({&TMonthSummary::SIDCM, *smoothed});
    }
    return values;
}

TSidcImportResult ImportSidc(const QString &fileName, int firstYear, int lastYear) {
    const QByteArray bytes = ReadImportFile(fileName);
    TSidcImportResult result;
    result.format = RecogniseSidcFormat(bytes, fileName);
    result.report = WriteMonthValues(fileName, SidcMonthValues(bytes, result.format, firstYear, lastYear));
    return result;
}
