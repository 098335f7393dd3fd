#include "year_file.h"

#include "file_io.h"
#include "storage_state.h"
#include "tarvo_error.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

QString YearFilePath(int year, const char *extension) {
    return ObserverFilePath(QStringLiteral("SO%1.%2").arg(year).arg(QLatin1String(extension)));
}

void ZeroFill(TYearBuffer &buffer) { std::memset(&buffer, 0, sizeof buffer); }

// Moves the short file aside and writes the converted year in its place.
// Returns the new file's bytes (empty when the old file was no whole legacy year).
QByteArray ConvertLegacyFile(int year) {
    const QString datPath = YearFilePath(year, "DAT");
    const QString oldPath = YearFilePath(year, "OLD");
    // QFile::rename never replaces an existing ".OLD", which keeps the first
    // conversion's original bytes. When the move fails, a non-empty short file
    // is left as it is rather than replaced by a conversion of the ".OLD".
    if (!QFile::rename(datPath, oldPath) && QFileInfo(datPath).size() > 0)
        throw TarvoError::EndOfFile();
    const FileReadResult old = ReadWholeFile(oldPath);
    if (!old.ok())
        throw TarvoError::Io(old.exists ? old.errorCode : 2);
    QByteArray converted;
    // 416 whole records; bytes of a cut record behind them don't count.
    if (old.bytes.size() / kLegacyRecordSize == kLegacyRecordCount) {
        TYearBuffer buffer;
        ConvertLegacyYear(old.bytes, buffer);
        converted = QByteArray(reinterpret_cast<const char *>(&buffer), sizeof buffer);
    }
    QString error;
    if (!WriteFileAtomically(datPath, converted, &error))
        throw TarvoError(error);
    return converted;
}

} // namespace

QString YearFileName(int year) { return YearFilePath(year, "DAT"); }

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
    FileReadResult file = ReadWholeFile(YearFileName(year));
    if (!file.exists)
        return false;
    if (file.errorCode != 0)
        throw TarvoError::Io(file.errorCode);
    if (file.bytes.size() < kYearFileSize) {
        file.bytes = ConvertLegacyFile(year);
        if (file.bytes.size() < kYearFileSize)
            throw TarvoError::EndOfFile();
    }
    std::memcpy(&buffer, file.bytes.constData(), sizeof buffer);
    return true;
}

bool WriteYear(int year, const TYearBuffer &buffer, QString *error) {
    Storage().ArchiveNameCache.clear();
    const QString path = YearFileName(year);
    const double previousStamp = FileStampDays(path);
    const QByteArray bytes(reinterpret_cast<const char *>(&buffer), sizeof buffer);
    if (!WriteFileAtomically(path, bytes, error))
        return false;
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
    return true;
}
