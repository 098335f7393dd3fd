#include "backup_manifest.h"

#include "storage/tarvo_error.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kFormatLine = QStringLiteral("Tarvo-Sicherung");
const QString kFormatVersion = QStringLiteral("1");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QChar kTab = QLatin1Char('\t');

TarvoError LeavesFolder(const QString &path, int number) {
    return TarvoError(
        QStringLiteral("„%1“: dieser Pfad führt aus dem Programmordner hinaus (Inhaltsliste, Zeile %2).")
            .arg(path)
            .arg(number));
}

TarvoError BadLine(int number) {
    return TarvoError(QStringLiteral("Die Inhaltsliste %1 der Sicherung ist beschädigt (Zeile %2).")
                          .arg(kManifestName)
                          .arg(number));
}

// A field may hold anything but the separators of the format.
bool FitsInField(const QString &text) {
    return !text.contains(kTab) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'));
}

void RequireField(const QString &text) {
    if (!FitsInField(text))
        throw TarvoError(
            QStringLiteral("„%1“ enthält einen Tabulator oder Zeilenumbruch und kann nicht gesichert "
                           "werden.")
                .arg(text.simplified()));
}

// Observer folders and the reference store share the top level of a backup.
bool IsObserverFolderName(const QString &folder) {
    return IsSafeBackupPath(folder) && folder != kSettingsEntry && folder != kManifestName &&
           folder != kReferenceFolder && !folder.startsWith(kReferenceFolder + QLatin1Char('/'));
}

} // namespace

const BackupFileEntry *BackupManifest::find(const QString &path) const {
    for (const BackupFileEntry &f : files)
        if (f.path == path)
            return &f;
    return nullptr;
}

QList<int> BackupManifest::yearsOf(const QString &folder) const {
    static const QRegularExpression yearFile(QStringLiteral("^SO(\\d{1,4})\\.DAT$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QList<int> years;
    const QString prefix = folder + QLatin1Char('/');
    for (const BackupFileEntry &f : files) {
        if (!f.path.startsWith(prefix))
            continue;
        const auto m = yearFile.match(f.path.mid(prefix.size()));
        if (m.hasMatch())
            years.append(m.captured(1).toInt());
    }
    std::sort(years.begin(), years.end());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    return years;
}

int BackupManifest::referenceFileCount() const {
    return static_cast<int>(std::count_if(files.begin(), files.end(), [](const BackupFileEntry &f) {
        return f.path.startsWith(kReferenceFolder + QLatin1Char('/'));
    }));
}

qint64 BackupManifest::totalBytes() const {
    qint64 total = 0;
    for (const BackupFileEntry &f : files)
        total += f.size;
    return total;
}

QByteArray Sha256Hex(const QByteArray &bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool IsSafeBackupPath(const QString &path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')))
        return false;
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString &part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

QByteArray FormatManifest(const BackupManifest &m) {
    QStringList lines;
    lines << kFormatLine + kTab + kFormatVersion;
    RequireField(m.programVersion);
    lines << QStringLiteral("Programmversion") + kTab + m.programVersion;
    lines << QStringLiteral("Datum") + kTab + m.created.toString(kDateFormat);
    RequireField(m.dataPath);
    lines << QStringLiteral("Datenpfad") + kTab + m.dataPath;
    for (const BackupObserver &o : m.observers) {
        RequireField(o.folder);
        RequireField(o.key);
        lines << QStringLiteral("Beobachter") + kTab + o.folder + kTab + o.key;
    }
    for (const BackupFileEntry &f : m.files) {
        RequireField(f.path);
        lines << QStringLiteral("Datei") + kTab + QString::number(f.size) + kTab +
                     QString::fromLatin1(f.sha256) + kTab + f.path;
    }
    lines << QStringLiteral("Ende") + kTab + QString::number(m.files.size());
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

BackupManifest ParseManifest(const QByteArray &bytes) {
    static const QRegularExpression sha(QStringLiteral("^[0-9a-f]{64}$"));
    BackupManifest m;
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != kFormatLine + kTab + kFormatVersion)
        throw TarvoError(
            QStringLiteral("Die Inhaltsliste %1 stammt nicht von einer Tarvo-Datensicherung dieses "
                           "Formats.")
                .arg(kManifestName));
    bool ended = false;
    bool dated = false;
    for (int i = 1; i < lines.size(); ++i) {
        const int number = i + 1;
        if (ended)
            throw BadLine(number); // nothing may follow the end line
        const QString &line = lines[i];
        const QString kind = line.section(kTab, 0, 0);
        if (kind == QLatin1String("Programmversion")) {
            m.programVersion = line.section(kTab, 1);
        } else if (kind == QLatin1String("Datum")) {
            m.created = QDateTime::fromString(line.section(kTab, 1), kDateFormat);
            if (!m.created.isValid())
                throw BadLine(number);
            dated = true;
        } else if (kind == QLatin1String("Datenpfad")) {
            m.dataPath = line.section(kTab, 1);
        } else if (kind == QLatin1String("Beobachter")) {
            const BackupObserver o{line.section(kTab, 1, 1), line.section(kTab, 2)};
            if (line.count(kTab) < 2)
                throw BadLine(number);
            if (!IsObserverFolderName(o.folder))
                throw LeavesFolder(o.folder, number);
            m.observers.append(o);
        } else if (kind == QLatin1String("Datei")) {
            bool sizeOk = false;
            BackupFileEntry f;
            f.size = line.section(kTab, 1, 1).toLongLong(&sizeOk);
            f.sha256 = line.section(kTab, 2, 2).toLatin1();
            f.path = line.section(kTab, 3);
            if (line.count(kTab) < 3 || !sizeOk || f.size < 0 ||
                !sha.match(QString::fromLatin1(f.sha256)).hasMatch() || m.find(f.path))
                throw BadLine(number);
            if (!IsSafeBackupPath(f.path))
                throw LeavesFolder(f.path, number);
            m.files.append(f);
        } else if (kind == QLatin1String("Ende")) {
            bool ok = false;
            if (line.section(kTab, 1).toInt(&ok) != m.files.size() || !ok)
                throw BadLine(number);
            ended = true;
        }
    }
    if (!ended || !dated)
        throw BadLine(static_cast<int>(lines.size()) + 1); // cut short
    return m;
}

QString FileCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 Datei") : QStringLiteral("%1 Dateien").arg(count);
}

QString YearRangesText(const QList<int> &years) {
    if (years.isEmpty())
        return QStringLiteral("keine");
    QStringList ranges;
    for (qsizetype i = 0; i < years.size();) {
        qsizetype j = i;
        while (j + 1 < years.size() && years[j + 1] == years[j] + 1)
            ++j;
        ranges << (j == i ? QString::number(years[i]) : QStringLiteral("%1–%2").arg(years[i]).arg(years[j]));
        i = j + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QStringList BackupSummaryLines(const BackupManifest &m) {
    QStringList lines;
    lines << QStringLiteral("Gesichert am: %1").arg(m.created.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    lines << QStringLiteral("Programmversion: %1").arg(m.programVersion);
    for (const BackupObserver &o : m.observers) {
        const QList<int> years = m.yearsOf(o.folder);
        lines << QStringLiteral("Beobachter %1 (Ordner %2): Jahre %3")
                     .arg(o.key, o.folder, YearRangesText(years));
    }
    if (m.observers.isEmpty())
        lines << QStringLiteral("Beobachter: keine");
    const int references = m.referenceFileCount();
    lines << QStringLiteral("Referenzdaten: %1")
                 .arg(references == 0 ? QStringLiteral("keine") : FileCount(references));
    lines << QStringLiteral("Dateien: %1, zusammen %2 Bytes").arg(m.files.size()).arg(m.totalBytes());
    return lines;
}
