#include "archive.h"

#include "file_io.h"
#include "folder_lock.h"
#include "month_totals.h"
#include "storage_state.h"
#include "tarvo_error.h"
#include "year_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr qsizetype kRecordSize = sizeof(TMonthSummary);
constexpr qsizetype kArchiveFileSize = kArchiveRecords * kRecordSize;

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

// The archive file read last, kept while its file is unchanged: the
// evaluation reads all years of an archive one after the other.
struct ArchiveReadCache {
    QString path;
    QByteArray identity;
    QByteArray bytes;
};

ArchiveReadCache &ReadCache() {
    static ArchiveReadCache cache;
    return cache;
}

// The bytes of an archive file (at most its 600 records); nullopt when it
// does not exist. Throws on a read error and for a damaged archive. An
// unchanged file is served from the read cache.
std::optional<QByteArray> ArchiveFileBytes(const QString &path) {
    ArchiveReadCache &cache = ReadCache();
    const QByteArray identity = FileIdentity(path);
    if (!identity.isEmpty() && path == cache.path && identity == cache.identity)
        return cache.bytes;
    const FileReadResult file = ReadFileHead(path, kArchiveFileSize);
    if (!file.exists)
        return std::nullopt;
    if (file.errorCode != 0)
        throw TarvoError::Io(file.errorCode);
    CheckArchiveSize(file.fileSize, path);
    // The identity from before the read: a change during the read only
    // causes one more read next time.
    cache = ArchiveReadCache{path, identity, file.bytes};
    return file.bytes;
}

// Reads an archive; nullopt when it does not exist. Throws on a read error
// and for a damaged archive.
std::optional<TArchiveRecords> ReadArchive(const QString &path) {
    const std::optional<QByteArray> bytes = ArchiveFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return ArchiveRecordsFromBytes(*bytes, bytes->size(), path);
}

// MeanRe of a neighbouring archive's records [from, from + count); empty when
// that archive is missing, unreadable or too short.
std::vector<double> NeighbourMeans(int anyYear, int from, int count) {
    if (!ArchiveExists(anyYear))
        return {};
    try {
        const auto neighbour = ReadArchive(ArchivePath(ArchiveFileName(anyYear)));
        return neighbour ? ArchiveMeans(*neighbour, from, count) : std::vector<double>{};
    } catch (const TarvoError &) {
        return {};
    }
}

// The year files of the current observer as the aggregation reads them.
TArchiveYearSource ObserverYears() {
    TArchiveYearSource years;
    years.stamp = [](int year) -> std::optional<double> {
        const QString path = YearFileName(year);
        if (const double stamp = FileStampDays(path); stamp != 0.0)
            return stamp; // one look at the file in the usual case
        if (!YearDataExists(year))
            return std::nullopt;
        TYearBuffer converted; // only the legacy copy is there: the read converts it
        ReadYear(year, converted);
        return FileStampDays(path);
    };
    years.read = [](int year, TYearBuffer &buffer) { ReadYear(year, buffer); };
    return years;
}

struct Smoothed {
    double r13, p17, p9;
};

// The weights w(i, n) of a weighted mean reaching `reach` months to either
// side of the centre (w[8 + i] for i = -reach..reach, zero beyond), and their
// sum over the whole window; made once.
struct WindowWeights {
    double w[17];
    long double total;
    WindowWeights(int n, int reach) : w{}, total(1.0L) {
        for (int i = -reach; i <= reach; ++i)
            w[8 + i] = SmoothingWeight(i, n);
        for (int i = 1; i <= reach; ++i)
            total += 2.0L * w[8 + i];
    }
};

// The three smoothed values of the centre e[8] of a 17-month window.
Smoothed SmoothCentre(const double *e) {
    static const WindowWeights p17(9, 8);
    static const WindowWeights p9(5, 4);
    long double r13 = static_cast<long double>(e[2]) + e[14];
    for (int k = 3; k <= 13; ++k)
        r13 += 2.0L * e[k];
    r13 /= 24.0L;

    auto weighted = [&](const WindowWeights &weights, int reach) {
        long double sum = 0.0L;
        for (int k = 8 - reach; k <= 8 + reach; ++k)
            sum += static_cast<long double>(weights.w[k]) * e[k];
        return static_cast<double>(sum / weights.total);
    };
    return {static_cast<double>(r13), weighted(p17, 8), weighted(p9, 4)};
}

QString CannotReadMessage(int year) {
    return QStringLiteral("Das Auswertungsarchiv für %1 kann nicht gelesen werden").arg(year);
}

} // namespace

void ForgetArchiveCache() {
    Storage().ArchiveNameCache.clear();
    ReadCache() = ArchiveReadCache{};
}

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

void CheckArchiveSize(qint64 size, const QString &fileName) {
    if (size % kRecordSize != 0)
        throw TarvoError(
            QStringLiteral("Das Auswertungsarchiv %1 ist beschädigt: seine Größe von %2 Bytes ist "
                           "kein Vielfaches der Satzlänge von %3 Bytes.")
                .arg(QDir::toNativeSeparators(fileName))
                .arg(size)
                .arg(kRecordSize));
}

void ReadArchiveRecords(const QByteArray &bytes, qint64 fileSize, const QString &fileName,
                        TArchiveRecords &records) {
    CheckArchiveSize(fileSize, fileName);
    const qsizetype whole = std::min<qsizetype>(bytes.size() / kRecordSize, kArchiveRecords);
    records.reserve(kArchiveRecords); // room for the records a short archive lacks
    records.resize(static_cast<std::size_t>(whole));
    if (whole > 0) // an empty vector's data() may be null
        std::memcpy(static_cast<void *>(records.data()), bytes.constData(), whole * kRecordSize);
}

TArchiveRecords ArchiveRecordsFromBytes(const QByteArray &bytes, qint64 fileSize, const QString &fileName) {
    TArchiveRecords records;
    ReadArchiveRecords(bytes, fileSize, fileName, records);
    return records;
}

QByteArray ArchiveBytes(const TArchiveRecords &records) {
    return QByteArray(reinterpret_cast<const char *>(records.data()),
                      static_cast<qsizetype>(records.size()) * kRecordSize);
}

bool CompleteArchive(TArchiveRecords &records, int firstYear) {
    const int had = static_cast<int>(records.size());
    records.reserve(kArchiveRecords);
    for (int i = had; i < kArchiveRecords; ++i)
        records.push_back(EmptySummary(firstYear + i / 12, i % 12 + 1));
    return had < kArchiveRecords;
}

std::vector<double> ArchiveMeans(const TArchiveRecords &records, int from, int count) {
    const int n = static_cast<int>(records.size());
    const int start = from < 0 ? n + from : from;
    if (start < 0 || count < 0 || start + count > n)
        return {};
    std::vector<double> means;
    for (int i = start; i < start + count; ++i)
        means.push_back(double(
            records[static_cast<std::size_t>(i)].MeanRe)); // a copy: the packed field may be misaligned
    return means;
}

namespace {

// The walk of the aggregation pass from record `pos` on: the position of the
// first record of the next year whose stamp differs from the one its records
// carry (with that stamp), or the end. A year without data is skipped whole;
// a year whose first record is current is looked at again from its next
// record (a record not of January starts no year of its own).
std::size_t NextStaleYear(const TArchiveRecords &records, const TArchiveYearSource &years, std::size_t pos,
                          double &stamp) {
    while (pos < records.size()) {
        const TMonthSummary &first = records[pos];
        const std::optional<double> yearStamp = years.stamp(first.Jahr);
        if (!yearStamp) {
            pos += 12;
        } else if (first.DatStamp != *yearStamp) {
            stamp = *yearStamp;
            return pos;
        } else {
            pos += first.Monat == 1 ? 12 : 1;
        }
    }
    return records.size();
}

// Whether the aggregation pass would aggregate any year again.
bool ArchiveNeedsAggregation(const TArchiveRecords &records, const TArchiveYearSource &years) {
    double stamp = 0.0;
    return NextStaleYear(records, years, 0, stamp) < records.size();
}

} // namespace

bool AggregateArchive(TArchiveRecords &records, const TArchiveYearSource &years) {
    const std::size_t n = records.size();
    double stamp = 0.0;
    bool changed = false;
    for (std::size_t pos = NextStaleYear(records, years, 0, stamp); pos < n;
         pos = NextStaleYear(records, years, pos + 12, stamp)) {
        TYearBuffer buffer;
        years.read(records[pos].Jahr, buffer);
        for (std::size_t i = pos; i < pos + 12 && i < n; ++i) {
            if (records[i].Monat < 1 || records[i].Monat > 12)
                continue; // a damaged record names no month to aggregate
            AggregateMonth(records[i].Monat, records[i].Jahr, buffer, records[i]);
            records[i].DatStamp = stamp;
        }
        changed = true; // at least the stamps differ
    }
    return changed;
}

bool SmoothArchive(TArchiveRecords &records, const std::vector<double> &before,
                   const std::vector<double> &after) {
    bool changed = false;
    // The window runs over the last 8 months of the predecessor archive, this
    // archive and the first 8 months of the successor, where they exist.
    std::vector<double> series = before;
    const int offset = static_cast<int>(series.size());
    for (const TMonthSummary &r : records)
        series.push_back(double(r.MeanRe)); // a copy: the packed field may be misaligned
    series.insert(series.end(), after.begin(), after.end());

    const int total = static_cast<int>(series.size());
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const int centre = offset + i;
        if (centre - 8 < 0 || centre + 8 >= total)
            continue; // the window would reach beyond the existing archives
        const Smoothed s = SmoothCentre(&series[static_cast<std::size_t>(centre - 8)]);
        TMonthSummary &record = records[static_cast<std::size_t>(i)];
        // Compared bit for bit, as the file's bytes would be.
        const double stored[] = {record.R13, record.P17, record.P9};
        const double fresh[] = {s.r13, s.p17, s.p9};
        if (std::memcmp(stored, fresh, sizeof stored) != 0) {
            record.R13 = s.r13;
            record.P17 = s.p17;
            record.P9 = s.p9;
            changed = true;
        }
    }
    return changed;
}

bool ReadYearSummaries(const QByteArray &archive, int year, TYearSummaries &summaries) {
    if (year < 0) // no archive holds it (and its offset would lie before the file)
        return false;
    const qsizetype first = static_cast<qsizetype>(year - ArchiveFirstYear(year)) * 12 * kRecordSize;
    if (archive.size() < first + 12 * kRecordSize)
        return false;
    std::memcpy(static_cast<void *>(summaries.data()), archive.constData() + first, 12 * kRecordSize);
    return true;
}

bool ReplaceYearSummaries(TArchiveRecords &records, int year, const TYearSummaries &summaries) {
    if (year < 0)
        return false;
    const std::size_t first = static_cast<std::size_t>(year - ArchiveFirstYear(year)) * 12;
    if (records.size() < first + 12)
        return false;
    std::copy(summaries.begin(), summaries.end(), records.begin() + static_cast<std::ptrdiff_t>(first));
    return true;
}

void RenewArchiveKeepingImports(const QString &path) {
    const FolderLock lock(QFileInfo(path).absolutePath());
    std::optional<TArchiveRecords> records = ReadArchive(path);
    if (!records)
        return;
    // What the refresh computes from the year files is emptied; the rest
    // (imported series, reserved bytes) stays. The stamp 0 makes the next
    // refresh aggregate every year again.
    for (TMonthSummary &record : *records) {
        // Assigned by name: the packed fields may be misaligned.
        record.DatStamp = 0.0;
        record.MeanRe = record.MeanReNord = record.MeanReSued = 0.0;
        record.R13 = record.P17 = record.P9 = 0.0;
        record.MeanBeck = record.MeanSN = record.MeanCV = 0.0;
        record.MeanA = record.MeanAb = 0.0;
        record.MeanFo = record.MeanFm = record.MeanFEF = record.MeanFEP = 0.0;
        record.MeanPfn = record.MeanPfs = 0.0;
        std::memset(record.Counts, 0, sizeof record.Counts);
    }
    WriteFileAtomically(path, ArchiveBytes(*records));
}

void CreateArchive(const QString &name) {
    const FolderLock lock = LockObserverFolder();
    TArchiveRecords records;
    CompleteArchive(records, FirstYearOfName(name));
    WriteFileAtomically(ArchivePath(name), ArchiveBytes(records));
}

void AggregateMonth(int month, int year, TYearBuffer &buffer, TMonthSummary &summary) {
    if (month < 1 || month > 12)
        return;
    TMonthBlock &block = buffer.Months[static_cast<std::size_t>(month)];
    std::memset(&block.Header(), 0, sizeof(TDayRecord));
    const TMonthTotals t = ComputeMonthTotals(block, month, year);
    // Counted fields by name, fixed at compile time.
    constexpr auto k = [](const char *name) consteval { return CountedFieldIndex(name); };
    // The hemispheres' relative numbers divide by the days with a group count.
    const auto hemisphere = [&t](int groups, int spots) {
        const int count = t.Counts[static_cast<std::size_t>(groups)];
        return count == 0 ? 0.0
                          : static_cast<double>((10.0L * t.Sums[static_cast<std::size_t>(groups)] +
                                                 t.Sums[static_cast<std::size_t>(spots)]) /
                                                count);
    };
    summary.MeanRe = t.mean(k("Re"));
    summary.MeanReNord = hemisphere(k("g_n"), k("f_n"));
    summary.MeanReSued = hemisphere(k("g_s"), k("f_s"));
    summary.MeanBeck = t.mean(k("Rs"));
    summary.MeanSN = t.mean(k("SN"));
    summary.MeanCV = t.mean(k("CV"));
    summary.MeanA = t.mean(k("A"));
    summary.MeanAb = t.mean(k("Ab"));
    summary.MeanFo = t.mean(k("Fo"));
    summary.MeanFm = t.mean(k("Fm"));
    summary.MeanFEF = t.mean(k("FEF"));
    summary.MeanFEP = t.mean(k("FEP"));
    summary.MeanPfn = t.mean(k("pfn"));
    summary.MeanPfs = t.mean(k("pfs"));
    std::memcpy(summary.Counts, t.Counts.data(), sizeof summary.Counts);
}

namespace {

// The archive's records brought up to date in memory; true when they differ
// from the file's.
bool RefreshRecords(TArchiveRecords &records, int firstYear) {
    // Records lost from a short file are made anew, empty.
    const bool completed = CompleteArchive(records, firstYear);
    const bool aggregated = AggregateArchive(records, ObserverYears());
    const bool smoothed = SmoothArchive(records, NeighbourMeans(firstYear - 1, -8, 8),
                                        NeighbourMeans(firstYear + kArchiveYears, 0, 8));
    return completed || aggregated || smoothed;
}

// Whether the archive as read is up to date: every year's stamp as its
// records carry it, the records complete, the smoothed values current. Only
// looks at the year files; reads none.
bool ArchiveIsCurrent(const TArchiveRecords &records, int firstYear) {
    if (static_cast<int>(records.size()) != kArchiveRecords || ArchiveNeedsAggregation(records, ObserverYears()))
        return false;
    TArchiveRecords smoothed = records;
    return !SmoothArchive(smoothed, NeighbourMeans(firstYear - 1, -8, 8),
                          NeighbourMeans(firstYear + kArchiveYears, 0, 8));
}

} // namespace

void RefreshArchive(const QString &name) {
    const QString path = ArchivePath(name);
    const int firstYear = FirstYearOfName(name);
    // Most refreshes find nothing to change and need no lock.
    if (std::optional<TArchiveRecords> archive = ReadArchive(path); archive && ArchiveIsCurrent(*archive, firstYear))
        return;
    // Another process must not write the archive (or a year file it reads)
    // between this read and this write: read and refresh under the lock.
    const FolderLock lock = LockObserverFolder();
    std::optional<TArchiveRecords> archive = ReadArchive(path);
    if (!archive) {
        CreateArchive(name);
        archive = ReadArchive(path);
        if (!archive)
            throw TarvoError::Io(2);
    }
    if (!RefreshRecords(*archive, firstYear))
        return;
    const TArchiveRecords &records = *archive;
    WriteFileAtomically(path, QByteArray::fromRawData(reinterpret_cast<const char *>(records.data()),
                                                      static_cast<qsizetype>(records.size()) * kRecordSize));
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
    const std::optional<QByteArray> bytes = ArchiveFileBytes(path);
    if (!bytes || !ReadYearSummaries(*bytes, year, summaries))
        throw TarvoError(CannotReadMessage(year));
    return true;
}

bool SaveYearSummaries(int year, const TYearSummaries &summaries) {
    if (year < 0)
        return false;
    const FolderLock lock = LockObserverFolder();
    const QString path = ArchivePath(ArchiveNameFor(year));
    std::optional<TArchiveRecords> archive = ReadArchive(path);
    if (!archive || !ReplaceYearSummaries(*archive, year, summaries))
        throw TarvoError(CannotReadMessage(year));
    WriteFileAtomically(path, ArchiveBytes(*archive));
    return true;
}

void UpdateYearSummaries(int year, const std::function<void(TYearSummaries &)> &change) {
    const FolderLock lock = LockObserverFolder();
    TYearSummaries summaries;
    if (!LoadYearSummaries(year, summaries))
        throw TarvoError(CannotReadMessage(year));
    change(summaries);
    SaveYearSummaries(year, summaries);
}
