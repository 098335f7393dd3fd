#include "archive.h"

#include "solar/tpdate.h"
#include "file_io.h"
#include "storage_state.h"
#include "tarvo_error.h"
#include "year_file.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr qsizetype kRecordSize = sizeof(TMonthSummary);

QString ArchivePath(const QString &name) {
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return Storage().DataPath + relative;
}

// The first year of an archive name "<observer folder><first><last>.asw",
// where last = first + 49. The folder is taken off as it is written (it may
// lack the trailing separator, or be nested); the digits are then split where
// the two years fit.
int FirstYearOfName(const QString &name) {
    const QString dir = Storage().CurrentObserverDir;
    QString file = !dir.isEmpty() && name.startsWith(dir) ? name.mid(dir.size()) : name;
    file = file.mid(std::max(file.lastIndexOf(QLatin1Char('/')), file.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (file.endsWith(QLatin1String(".asw"), Qt::CaseInsensitive))
        file.chop(4);
    for (qsizetype split = 1; split < file.size(); ++split) {
        bool firstOk = false, lastOk = false;
        const int first = file.left(split).toInt(&firstOk);
        const int last = file.mid(split).toInt(&lastOk);
        if (firstOk && lastOk && last == first + kArchiveYears - 1)
            return first;
    }
    return file.left(4).toInt();
}

TMonthSummary EmptySummary(int year, int month) {
    TMonthSummary s;
    std::memset(&s, 0, sizeof s);
    s.Monat = static_cast<std::uint8_t>(month);
    s.Jahr = year;
    return s;
}

// An archive file held in memory: its whole records, and any bytes behind the
// last whole record, which are carried along unchanged.
struct ArchiveContents {
    std::vector<TMonthSummary> records;
    QByteArray tail;

    static ArchiveContents FromBytes(const QByteArray &bytes) {
        ArchiveContents a;
        const qsizetype whole = bytes.size() / kRecordSize;
        a.records.resize(whole);
        if (whole > 0) // an empty vector's data() may be null
            std::memcpy(a.records.data(), bytes.constData(), whole * kRecordSize);
        a.tail = bytes.mid(whole * kRecordSize);
        return a;
    }
    QByteArray toBytes() const {
        QByteArray bytes(reinterpret_cast<const char *>(records.data()),
                         static_cast<qsizetype>(records.size()) * kRecordSize);
        return bytes + tail;
    }
};

QByteArray NewArchiveBytes(int firstYear) {
    ArchiveContents a;
    for (int year = firstYear; year < firstYear + kArchiveYears; ++year)
        for (int month = 1; month <= 12; ++month)
            a.records.push_back(EmptySummary(year, month));
    return a.toBytes();
}

// Reads an archive; nullopt when it does not exist. Throws on a read error.
// The bytes of an archive file; nullopt when it does not exist. Throws on a
// read error. An unchanged file is served from the storage state's copy.
std::optional<QByteArray> ArchiveBytes(const QString &path) {
    StorageState &s = Storage();
    const QByteArray identity = FileIdentity(path);
    if (!identity.isEmpty() && path == s.ArchiveReadPath && identity == s.ArchiveReadIdentity)
        return s.ArchiveReadBytes;
    const FileReadResult file = ReadWholeFile(path);
    if (!file.exists)
        return std::nullopt;
    if (file.errorCode != 0)
        throw TarvoError::Io(file.errorCode);
    // The identity from before the read: a change during the read only
    // causes one more read next time.
    s.ArchiveReadPath = path;
    s.ArchiveReadIdentity = identity;
    s.ArchiveReadBytes = file.bytes;
    return file.bytes;
}

// Reads an archive; nullopt when it does not exist. Throws on a read error.
std::optional<ArchiveContents> ReadArchive(const QString &path) {
    const std::optional<QByteArray> bytes = ArchiveBytes(path);
    if (!bytes)
        return std::nullopt;
    return ArchiveContents::FromBytes(*bytes);
}

// Reads the archive of the year after refreshing it. A failed refresh
// throws (the user sees why); an archive that cannot be read gives nullopt.
std::optional<ArchiveContents> ReadRefreshedArchive(int year, QString *path) {
    *path = ArchivePath(ArchiveNameFor(year));
    try {
        return ReadArchive(*path);
    } catch (const TarvoError &) {
        return std::nullopt;
    }
}

// MeanRe of a neighbouring archive's records [from, from + count); empty when
// that archive is missing, unreadable or too short.
std::vector<double> NeighbourMeans(int anyYear, int from, int count) {
    if (!ArchiveExists(anyYear))
        return {};
    try {
        const auto neighbour = ReadArchive(ArchivePath(ArchiveFileName(anyYear)));
        if (!neighbour)
            return {};
        const int n = static_cast<int>(neighbour->records.size());
        const int start = from < 0 ? n + from : from;
        if (start < 0 || start + count > n)
            return {};
        std::vector<double> means;
        for (int i = start; i < start + count; ++i)
            means.push_back(double(neighbour->records[i].MeanRe));
        return means;
    } catch (const TarvoError &) {
        return {};
    }
}

void AggregatePass(std::vector<TMonthSummary> &records) {
    const std::size_t n = records.size();
    std::size_t pos = 0;
    while (pos < n) {
        const TMonthSummary &first = records[pos];
        const QString yearFile = YearFileName(first.Jahr);
        if (!QFileInfo::exists(yearFile)) {
            pos += 12;
            continue;
        }
        const double stamp = FileStampDays(yearFile);
        if (first.DatStamp != stamp) {
            TYearBuffer buffer;
            ReadYear(first.Jahr, buffer);
            for (std::size_t i = pos; i < pos + 12 && i < n; ++i) {
                if (records[i].Monat < 1 || records[i].Monat > 12)
                    continue; // a damaged record names no month to aggregate
                AggregateMonth(records[i].Monat, records[i].Jahr, buffer, records[i]);
                records[i].DatStamp = stamp;
            }
            pos += 12;
        } else {
            pos += first.Monat == 1 ? 12 : 1;
        }
    }
}

struct Smoothed {
    double r13, p17, p9;
};

// The three smoothed values of the centre e[8] of a 17-month window.
Smoothed SmoothCentre(const double *e) {
    long double r13 = static_cast<long double>(e[2]) + e[14];
    for (int k = 3; k <= 13; ++k)
        r13 += 2.0L * e[k];
    r13 /= 24.0L;

    auto weighted = [&](int n, int reach) {
        long double sum = 0.0L;
        long double weights = 1.0L;
        for (int i = -reach; i <= reach; ++i)
            sum += static_cast<long double>(SmoothingWeight(i, n)) * e[8 + i];
        for (int i = 1; i <= reach; ++i)
            weights += 2.0L * SmoothingWeight(i, n);
        return static_cast<double>(sum / weights);
    };
    return {static_cast<double>(r13), weighted(9, 8), weighted(5, 4)};
}

void SmoothingPass(std::vector<TMonthSummary> &records, int firstYear) {
    // The window runs over the last 8 months of the predecessor archive, this
    // archive and the first 8 months of the successor, where they exist.
    std::vector<double> series = NeighbourMeans(firstYear - 1, -8, 8);
    const int offset = static_cast<int>(series.size());
    for (const TMonthSummary &r : records)
        series.push_back(double(r.MeanRe)); // a copy: the packed field may be misaligned
    const std::vector<double> next = NeighbourMeans(firstYear + kArchiveYears, 0, 8);
    series.insert(series.end(), next.begin(), next.end());

    const int total = static_cast<int>(series.size());
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const int centre = offset + i;
        if (centre - 8 < 0 || centre + 8 >= total)
            continue; // the window would reach beyond the existing archives
        const Smoothed s = SmoothCentre(&series[centre - 8]);
        records[i].R13 = s.r13;
        records[i].P17 = s.p17;
        records[i].P9 = s.p9;
    }
}

} // namespace

double SmoothingWeight(int i, int n) {
    double x = static_cast<double>(i < 0 ? -i : i) / n;
    x = x * x;
    x = 1.0 - x;
    return x * x * x;
}

int ArchiveFirstYear(int year) { return year - year % kArchiveYears; }

QString ArchiveFileName(int year) {
    const int first = ArchiveFirstYear(year);
    return Storage().CurrentObserverDir + QString::number(first) + QString::number(first + kArchiveYears - 1) +
           QStringLiteral(".asw");
}

bool ArchiveExists(int year) { return QFileInfo::exists(ArchivePath(ArchiveFileName(year))); }

void CreateArchive(const QString &name) {
    QString error;
    if (!WriteFileAtomically(ArchivePath(name), NewArchiveBytes(FirstYearOfName(name)), &error))
        throw TarvoError(error);
}

void AggregateMonth(int month, int year, TYearBuffer &buffer, TMonthSummary &summary) {
    if (month < 1 || month > 12)
        return;
    const int days = MonthLength(month, year);
    std::memset(&buffer.Day(month, 0), 0, sizeof(TDayRecord));
    // Wide sums: 31 days of large Beck numbers must not wrap.
    std::int64_t sums[kCountedFieldCount] = {};
    std::int32_t counts[50] = {};
    for (int d = 1; d <= days; ++d) {
        const TDayRecord &day = buffer.Day(month, d);
        if (!day.observed())
            continue;
        for (int k = 0; k < kCountedFieldCount; ++k) {
            const std::int32_t value = CountedField(day, k);
            if (value != -1) {
                sums[k] += value;
                ++counts[k];
            }
        }
    }
    auto mean = [&](long double sum, int countIndex) {
        const int count = counts[countIndex];
        return count == 0 ? 0.0 : static_cast<double>(sum / count);
    };
    enum { Ruhe, Schaerfe, Qualitaet, g_n, f_n, g_s, f_s, g, f, Re, Rs, p, s, SN, CV, A, Ab, Fo, Fm, FEF, FEP, pfn, pfs };
    summary.MeanRe = mean(sums[Re], Re);
    summary.MeanReNord = mean(10.0L * sums[g_n] + sums[f_n], g_n);
    summary.MeanReSued = mean(10.0L * sums[g_s] + sums[f_s], g_s);
    summary.MeanBeck = mean(sums[Rs], Rs);
    summary.MeanSN = mean(sums[SN], SN);
    summary.MeanCV = mean(sums[CV], CV);
    summary.MeanA = mean(sums[A], A);
    summary.MeanAb = mean(sums[Ab], Ab);
    summary.MeanFo = mean(sums[Fo], Fo);
    summary.MeanFm = mean(sums[Fm], Fm);
    summary.MeanFEF = mean(sums[FEF], FEF);
    summary.MeanFEP = mean(sums[FEP], FEP);
    summary.MeanPfn = mean(sums[pfn], pfn);
    summary.MeanPfs = mean(sums[pfs], pfs);
    std::memcpy(summary.Counts, counts, sizeof counts);
}

void RefreshArchive(const QString &name) {
    const QString path = ArchivePath(name);
    std::optional<ArchiveContents> archive = ReadArchive(path);
    if (!archive) {
        CreateArchive(name);
        archive = ReadArchive(path);
        if (!archive)
            throw TarvoError::Io(2);
    }
    const int firstYear = FirstYearOfName(name);
    const QByteArray before = archive->toBytes();
    // Records lost from a short file are recreated empty.
    for (int i = static_cast<int>(archive->records.size()); i < kArchiveRecords; ++i)
        archive->records.push_back(EmptySummary(firstYear + i / 12, i % 12 + 1));

    AggregatePass(archive->records);
    SmoothingPass(archive->records, firstYear);

    const QByteArray after = archive->toBytes();
    if (after == before)
        return;
    QString error;
    if (!WriteFileAtomically(path, after, &error))
        throw TarvoError(error);
}

QString ArchiveNameFor(int year) {
    const QString name = ArchiveFileName(year);
    StorageState &s = Storage();
    if (name != s.ArchiveNameCache) {
        RefreshArchive(name);
        s.ArchiveNameCache = name.left(30);
    }
    return name;
}

bool LoadYearSummaries(int year, TYearSummaries &summaries) {
    if (year < 0) // no archive holds it (and its offset would lie before the file)
        return false;
    const QString path = ArchivePath(ArchiveNameFor(year));
    std::optional<QByteArray> bytes;
    try {
        bytes = ArchiveBytes(path);
    } catch (const TarvoError &) {
        return false;
    }
    const qsizetype first = static_cast<qsizetype>(year - ArchiveFirstYear(year)) * 12 * kRecordSize;
    if (!bytes || bytes->size() < first + 12 * kRecordSize)
        return false;
    std::memcpy(static_cast<void *>(summaries.data()), bytes->constData() + first, 12 * kRecordSize);
    return true;
}

bool SaveYearSummaries(int year, const TYearSummaries &summaries) {
    if (year < 0)
        return false;
    QString path;
    std::optional<ArchiveContents> archive = ReadRefreshedArchive(year, &path);
    const std::size_t first = static_cast<std::size_t>(year - ArchiveFirstYear(year)) * 12;
    if (!archive || archive->records.size() < first + 12)
        return false;
    std::copy(summaries.begin(), summaries.end(), archive->records.begin() + first);
    return WriteFileAtomically(path, archive->toBytes());
}
