#include "reference_store.h"

#include "silso_files.h"
#include "storage/file_io.h"
#include "storage/folder_lock.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "text_fields.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kDailyFields = 5;
constexpr int kHemFields = 11;

// The three comment lines a store file starts with: its series, the source
// of the numbers and the fields of a line.
QByteArray StoreStart(const char *series, const char *fields, qsizetype lineBytes) {
    QByteArray out;
    out.reserve(lineBytes + 256);
    out.append("# Tarvo-Referenzdaten: ").append(series).append("\r\n");
    out.append("# Quelle: WDC-SILSO, Royal Observatory of Belgium, Brussels (CC BY-NC 4.0)\r\n");
    out.append("# ").append(fields).append("\r\n");
    return out;
}

[[noreturn]] void ThrowDamaged(const QString &path, int lineNumber) {
    throw TarvoError(QStringLiteral("Die Referenzdatei „%1“ ist in Zeile %2 beschädigt und wird nicht "
                                    "verändert. Stellen Sie sie aus einer Datensicherung wieder her, oder "
                                    "löschen Sie sie und importieren Sie die SILSO-Dateien neu.")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(lineNumber));
}

QByteArray ReadStoreFile(const QString &path) {
    const FileReadResult read = ReadWholeFile(path);
    if (!read.exists)
        return QByteArray();
    if (!read.ok())
        throw TarvoError::Io(read.errorCode);
    return read.bytes;
}

// "2000-01-01" or "2000-01" (with `day` null).
bool ReadIsoDate(std::string_view text, int &year, int &month, int *day) {
    std::string_view parts[3];
    const int count = SplitFields(text, '-', parts, 3);
    if (count != (day ? 3 : 2))
        return false;
    const std::optional<int> y = FieldInt(parts[0]);
    const std::optional<int> m = FieldInt(parts[1]);
    const std::optional<int> d = day ? FieldInt(parts[2]) : std::optional<int>(1);
    if (!y || !m || !d || *y < 1 || *y > 9999 || !QDate::isValid(*y, *m, *d))
        return false;
    year = *y;
    month = *m;
    if (day)
        *day = *d;
    return true;
}

void AppendTwoDigits(QByteArray &out, int value) {
    out.append(static_cast<char>('0' + value / 10 % 10));
    out.append(static_cast<char>('0' + value % 10));
}

void AppendIsoMonth(QByteArray &out, int year, int month) {
    AppendTwoDigits(out, year / 100);
    AppendTwoDigits(out, year % 100);
    out.append('-');
    AppendTwoDigits(out, month);
}

// Every data line (not blank, not a comment) split into `count` fields and
// handed to `read`; a line that does not fit is damage.
template <class Entry, class Reader>
std::vector<Entry> ParseStore(const QByteArray &bytes, const QString &path, int count, Reader read) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(bytes.size() / 24 + 1));
    std::string_view fields[kHemFields];
    ForEachDataLine(bytes, true, [&](std::string_view line, int lineNumber) {
        Entry entry;
        if (SplitFields(line, ';', fields, kHemFields) != count || !read(fields, entry))
            ThrowDamaged(path, lineNumber);
        entries.push_back(entry);
    });
    SortUniqueKeepLast(entries);
    return entries;
}

bool ReadStoredDay(const std::string_view *f, TSilsoDay &day) {
    int year = 0, month = 0, dayOfMonth = 0;
    const std::optional<int> sn = FieldInt(f[1]);
    const std::optional<double> stdDev = FieldReal(f[2]);
    const std::optional<int> observations = FieldInt(f[3]);
    const std::optional<int> provisional = FieldInt(f[4]);
    if (!ReadIsoDate(f[0], year, month, &dayOfMonth) || !sn || !stdDev || !observations || !provisional)
        return false;
    day.day = static_cast<int>(QDate(year, month, dayOfMonth).toJulianDay());
    day.sn = *sn < 0 ? -1 : *sn;
    day.stdDev = *stdDev;
    day.observations = *observations;
    day.provisional = *provisional != 0;
    return true;
}

bool ReadStoredHemMonth(const std::string_view *f, TSilsoHemMonth &month) {
    int year = 0, monthNumber = 0;
    if (!ReadIsoDate(f[0], year, monthNumber, nullptr))
        return false;
    month.month = SilsoMonthKey(year, monthNumber);
    if (!ReadHemValues(f + 1, month))
        return false;
    const std::optional<int> provisional = FieldInt(f[10]);
    if (!provisional)
        return false;
    month.provisional = *provisional != 0;
    return true;
}

} // namespace

QString ReferenceFolder() {
    return Storage().ProgramDir + kReferenceFolder + QDir::separator();
}

QString SilsoDailyStorePath() {
    return ReferenceFolder() + QStringLiteral("silso-daily.txt");
}

QString SilsoHemStorePath() {
    return ReferenceFolder() + QStringLiteral("silso-hem.txt");
}

QByteArray SilsoDailyStoreBytes(const TSilsoDailySeries &series) {
    QByteArray out = StoreStart("SILSO-Tageszahlen (Sonnenfleckenzahl V2.0)",
                                "Datum;SN;Standardabweichung;Beobachtungen;vorlaeufig",
                                static_cast<qsizetype>(series.days.size() * 28));
    for (const TSilsoDay &d : series.days) {
        int year = 0, month = 0, day = 0;
        QDate::fromJulianDay(d.day).getDate(&year, &month, &day);
        AppendIsoMonth(out, year, month);
        out.append('-');
        AppendTwoDigits(out, day);
        out.append(';');
        AppendInt(out, d.sn);
        out.append(';');
        AppendReal(out, d.stdDev);
        out.append(';');
        AppendInt(out, d.observations);
        out.append(d.provisional ? ";1\r\n" : ";0\r\n");
    }
    return out;
}

QByteArray SilsoHemStoreBytes(const TSilsoHemSeries &series) {
    QByteArray out =
        StoreStart("SILSO-Halbkugelzahlen, Monatsmittel (Sonnenfleckenzahl V2.0)",
                   "Monat;SN;SN_Nord;SN_Sued;Std;Std_Nord;Std_Sued;Beob;Beob_Nord;Beob_Sued;vorlaeufig",
                   static_cast<qsizetype>(series.months.size() * 64));
    for (const TSilsoHemMonth &m : series.months) {
        AppendIsoMonth(out, SilsoKeyYear(m.month), SilsoKeyMonth(m.month));
        for (double value : {m.total, m.north, m.south, m.stdTotal, m.stdNorth, m.stdSouth}) {
            out.append(';');
            AppendReal(out, value);
        }
        for (int value : {m.obsTotal, m.obsNorth, m.obsSouth}) {
            out.append(';');
            AppendInt(out, value);
        }
        out.append(m.provisional ? ";1\r\n" : ";0\r\n");
    }
    return out;
}

TSilsoDailySeries ParseSilsoDailyStore(const QByteArray &bytes, const QString &path) {
    return {ParseStore<TSilsoDay>(bytes, path, kDailyFields, ReadStoredDay)};
}

TSilsoHemSeries ParseSilsoHemStore(const QByteArray &bytes, const QString &path) {
    return {ParseStore<TSilsoHemMonth>(bytes, path, kHemFields, ReadStoredHemMonth)};
}

TSilsoDailySeries LoadSilsoDaily() {
    const QString path = SilsoDailyStorePath();
    return ParseSilsoDailyStore(ReadStoreFile(path), path);
}

TSilsoHemSeries LoadSilsoHem() {
    const QString path = SilsoHemStorePath();
    return ParseSilsoHemStore(ReadStoreFile(path), path);
}

void UpdateStoreFile(const QString &path,
                     const std::function<QByteArray(const QByteArray &current)> &change) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw TarvoError::CannotWrite(path);
    // Two imports at once (the program and tarvo-cli) both land.
    const FolderLock lock(folder);
    const QByteArray updated = change(ReadStoreFile(path));
    WriteFileAtomically(path, updated);
}

void StoreSilsoDays(std::vector<TSilsoDay> incoming) {
    SortUniqueKeepLast(incoming);
    const QString path = SilsoDailyStorePath();
    UpdateStoreFile(path, [&](const QByteArray &current) {
        const TSilsoDailySeries stored = ParseSilsoDailyStore(current, path);
        return SilsoDailyStoreBytes({MergeReplacing(stored.days, incoming)});
    });
}

void StoreSilsoHemMonths(std::vector<TSilsoHemMonth> incoming) {
    SortUniqueKeepLast(incoming);
    const QString path = SilsoHemStorePath();
    UpdateStoreFile(path, [&](const QByteArray &current) {
        const TSilsoHemSeries stored = ParseSilsoHemStore(current, path);
        return SilsoHemStoreBytes({MergeReplacing(stored.months, incoming)});
    });
}
