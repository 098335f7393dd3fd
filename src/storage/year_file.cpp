#include "year_file.h"

#include "file_io.h"
#include "folder_lock.h"
#include "storage_state.h"
#include "tarvo_error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <optional>

namespace {

// A legacy year is 416 whole records; bytes of a cut record behind them don't count.
constexpr qint64 kLegacyReadLimit = kLegacyYearFileSize + kLegacyRecordSize - 1;

QString YearFilePath(int year, const char *extension) {
    return ObserverFilePath(QStringLiteral("SO%1.%2").arg(year).arg(QLatin1String(extension)));
}

void ZeroFill(TYearBuffer &buffer) { std::memset(&buffer, 0, sizeof buffer); }

bool IsWholeLegacyYear(qint64 size) {
    return size / kLegacyRecordSize == kLegacyRecordCount;
}

FileReadResult ReadLegacyCopy(int year) {
    const FileReadResult old = ReadFileHead(YearFilePath(year, "OLD"), kLegacyReadLimit);
    if (old.exists && !old.ok())
        throw TarvoError::Io(old.errorCode);
    return old;
}

// Brings a year of the older format into the current one. The steps are
// ordered so that at every instant either the old or the converted year is
// readable under its name: first the old bytes are kept under the ".OLD" name
// (atomically, and never over an existing ".OLD"), then the converted year
// replaces the ".DAT" (atomically). A year whose ".DAT" is missing or empty
// is converted from its ".OLD", which is what a conversion interrupted at the
// wrong moment by an older version of the program left behind.
// Returns the new year file's bytes; nullopt when there is no year at all.
// Throws TarvoError when the year cannot be converted; the ".DAT" is then as
// it was.
std::optional<QByteArray> ConvertLegacyFile(int year) {
    const FolderLock lock = LockObserverFolder();
    const QString datPath = YearFilePath(year, "DAT");
    const QString oldPath = YearFilePath(year, "OLD");
    // Read again under the lock: another process may have converted it meanwhile.
    const FileReadResult dat = ReadFileHead(datPath, kYearFileSize);
    if (dat.exists && !dat.ok())
        throw TarvoError::Io(dat.errorCode);
    if (dat.ok() && dat.bytes.size() >= kYearFileSize)
        return dat.bytes;
    const FileReadResult old = ReadLegacyCopy(year);

    QByteArray legacy;
    qint64 legacySize = 0;
    if (dat.exists && dat.fileSize > 0) {
        // The short year file is the legacy year itself.
        if (!old.exists) {
            WriteFileAtomically(oldPath, dat.bytes);
        } else if (old.fileSize != dat.fileSize || old.bytes != dat.bytes.left(kLegacyReadLimit)) {
            // The first conversion's original bytes are never replaced.
            throw TarvoError(
                QStringLiteral("Die Jahresdatei %1 hat das alte Format, kann aber nicht umgewandelt "
                               "werden, weil es %2 schon mit anderem Inhalt gibt.")
                    .arg(QDir::toNativeSeparators(datPath), QDir::toNativeSeparators(oldPath)));
        }
        legacy = dat.bytes;
        legacySize = dat.fileSize;
    } else if (old.exists) {
        if (!dat.exists && !IsWholeLegacyYear(old.fileSize))
            return std::nullopt; // a ".OLD" that holds no year does not make one
        legacy = old.bytes;
        legacySize = old.fileSize;
    } else if (dat.exists) {
        WriteFileAtomically(oldPath, QByteArray()); // an empty year file, kept aside as any short one
    } else {
        return std::nullopt;
    }
    if (!IsWholeLegacyYear(legacySize))
        throw TarvoError::EndOfFile();
    TYearBuffer buffer;
    ConvertLegacyYear(legacy, buffer);
    const QByteArray converted(reinterpret_cast<const char *>(&buffer), sizeof buffer);
    WriteFileAtomically(datPath, converted);
    return converted;
}

} // namespace

QString YearFileName(int year) { return YearFilePath(year, "DAT"); }

bool YearDataExists(int year) {
    if (QFileInfo::exists(YearFileName(year)))
        return true;
    const QFileInfo old(YearFilePath(year, "OLD"));
    return old.isFile() && IsWholeLegacyYear(old.size());
}

void ConvertLegacyYear(const QByteArray &bytes, TYearBuffer &buffer) {
    ZeroFill(buffer);
    // Never read beyond the bytes given: missing records read as zeros.
    QByteArray legacy = bytes.left(kLegacyYearFileSize);
    legacy.append(QByteArray(kLegacyYearFileSize - legacy.size(), '\0'));
    auto *days = reinterpret_cast<TDayRecord *>(&buffer);
    for (int i = 0; i < kLegacyRecordCount; ++i) {
        const char *old = legacy.constData() + i * kLegacyRecordSize;
        auto *out = reinterpret_cast<char *>(&days[i]);
        std::memcpy(out + 0, old + 0, 42); // Bemerkung, Zeit, Ruhe .. Re
        std::int16_t rs16;
        std::memcpy(&rs16, old + 42, 2);
        days[i].Rs = rs16; // widened with its sign
        std::memcpy(out + 46, old + 44, 8);  // p, s, SN, CV
        std::memcpy(out + 54, old + 52, 6);  // A, Ab, reserved
        std::memcpy(out + 60, old + 58, 25); // Fo .. pfs, z_f, Po, Fl
        days[i].LN = -1; // the old format knows no light bridges
        days[i].LS = -1;
        days[i].LGES = -1;
    }
}

bool ReadYear(int year, TYearBuffer &buffer) {
    ZeroFill(buffer);
    // Only the year's bytes are read, however long the file is.
    FileReadResult file = ReadFileHead(YearFileName(year), kYearFileSize);
    if (file.exists && file.errorCode != 0)
        throw TarvoError::Io(file.errorCode);
    if (!file.exists && !YearDataExists(year))
        return false;
    if (file.bytes.size() < kYearFileSize) {
        const std::optional<QByteArray> converted = ConvertLegacyFile(year);
        if (!converted)
            return false;
        file.bytes = *converted;
    }
    std::memcpy(&buffer, file.bytes.constData(), sizeof buffer);
    return true;
}

namespace {

void WriteYearFile(int year, const TYearBuffer &buffer) {
    Storage().ArchiveNameCache.clear();
    const QString path = YearFileName(year);
    const double previousStamp = FileStampDays(path);
    WriteFileAtomically(path, QByteArray(reinterpret_cast<const char *>(&buffer), sizeof buffer));
    // The archive notices a changed year by its time stamp. File systems with
    // a coarse clock can give two quick saves the same stamp, so make sure the
    // new file's stamp differs from the one it replaced.
    if (previousStamp != 0.0 && FileStampDays(path) <= previousStamp) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite)) {
            const QDateTime later = QFileInfo(path).lastModified().addMSecs(1);
            file.setFileTime(later, QFileDevice::FileModificationTime);
        }
    }
}

} // namespace

bool WriteYear(int year, const TYearBuffer &buffer) {
    const FolderLock lock = LockObserverFolder();
    WriteYearFile(year, buffer);
    return true;
}

void MergeYearChanges(const TYearBuffer &base, const TYearBuffer &mine, TYearBuffer &onDisk) {
    constexpr std::size_t kStatusSize = sizeof(TDayRecord::Bemerkung);
    const auto take = [](const TDayRecord &b, const TDayRecord &m, TDayRecord &d, std::size_t from,
                         std::size_t count) {
        const auto *bb = reinterpret_cast<const char *>(&b) + from;
        const auto *mm = reinterpret_cast<const char *>(&m) + from;
        if (std::memcmp(bb, mm, count) != 0)
            std::memcpy(reinterpret_cast<char *>(&d) + from, mm, count);
    };
    for (int month = 0; month < 13; ++month)
        for (int slot = 0; slot < 32; ++slot) {
            const TDayRecord &b = base.Day(month, slot);
            const TDayRecord &m = mine.Day(month, slot);
            TDayRecord &d = onDisk.Day(month, slot);
            if (slot == 0) { // the dispatch status apart from the month's sums
                take(b, m, d, 0, kStatusSize);
                take(b, m, d, kStatusSize, sizeof(TDayRecord) - kStatusSize);
            } else {
                take(b, m, d, 0, sizeof(TDayRecord));
            }
        }
}

void SaveYearChanges(int year, TYearBuffer &base, TYearBuffer &buffer) {
    const FolderLock lock = LockObserverFolder();
    TYearBuffer onDisk;
    // A year that is gone meanwhile brings no changes of others.
    if (!ReadYear(year, onDisk))
        onDisk = base;
    MergeYearChanges(base, buffer, onDisk);
    WriteYearFile(year, onDisk);
    buffer = onDisk;
    base = onDisk;
}

void UpdateYear(int year, const std::function<void(TYearBuffer &)> &change) {
    const FolderLock lock = LockObserverFolder();
    TYearBuffer buffer;
    ReadYear(year, buffer);
    change(buffer);
    WriteYearFile(year, buffer);
}
