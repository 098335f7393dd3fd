#include "observer_admin.h"

#include "storage/cp1252.h"
#include "storage/file_io.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

const QStringList kInstruments = {QStringLiteral("Refr."), QStringLiteral("Refl."), QStringLiteral("Fegl."),
                                  QStringLiteral("Visu."), QStringLiteral("Foto.")};

namespace {

constexpr int kMaxLineLength = 255;
constexpr int kBeoStmRecord = 62;

QString Column(const QString &line, int first, int width) {
    return line.mid(first - 1, width).trimmed();
}

} // namespace

QString ObserverListEntry(const QByteArray &line) {
    QString text = FromCp1252(line.left(kMaxLineLength));
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    if (text.trimmed().isEmpty())
        return QString();
    const QStringList parts = {Column(text, 1, 17), Column(text, 18, 5), Column(text, 23, 5),
                               Column(text, 28, 5)};
    return parts.join(QStringLiteral(" | "));
}

std::optional<QStringList> ReadObserverDat(const QString &path) {
    const FileReadResult file = ReadWholeFile(path);
    if (!file.ok())
        return std::nullopt;
    QList<QByteArray> lines = file.bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line starts no new line
    QStringList entries;
    for (const QByteArray &line : std::as_const(lines))
        entries.append(ObserverListEntry(line));
    return entries;
}

std::optional<QStringList> ReadBeoStm(const QString &path) {
    const FileReadResult file = ReadWholeFile(path);
    if (!file.ok())
        return std::nullopt;
    QStringList entries;
    for (qsizetype at = 0; at + kBeoStmRecord <= file.bytes.size(); at += kBeoStmRecord) {
        QByteArray record = file.bytes.mid(at, kBeoStmRecord - 1);
        const qsizetype zero = record.indexOf('\0');
        if (zero >= 0)
            record.truncate(zero);
        entries.append(ObserverListEntry(record));
    }
    return entries;
}

ObserverEntryParts SplitObserverEntry(const QString &entry) {
    ObserverEntryParts parts;
    const QStringList pieces = entry.split(QLatin1Char('|'));
    parts.name = pieces.value(0).trimmed();
    parts.instrument = pieces.value(1).trimmed();
    parts.aperture = pieces.value(2).trimmed();
    parts.focalLength = pieces.mid(3).join(QLatin1Char('|')).trimmed();
    return parts;
}

QString ObserverDirName(int n) {
    return QStringLiteral("%1/").arg(n, 4, 10, QLatin1Char('0'));
}

QString FindFreeObserverDir() {
    const QString dataPath = Storage().DataPath;
    for (int n = 1; n <= 9999; ++n) {
        const QString name = ObserverDirName(n);
        if (!QFileInfo::exists(dataPath + name.chopped(1)))
            return name;
    }
    return QString();
}

QString ObserverKeyProblem(const QString &key) {
    if (key.trimmed().isEmpty())
        return QStringLiteral("Bitte geben Sie das Kürzel des Beobachters ein.");
    // A line break or another control character would split the key's line in tarvo.ini.
    const bool control = std::any_of(key.begin(), key.end(), [](QChar c) { return c.unicode() < 0x20; });
    if (control || key != key.trimmed() || key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('[')) ||
        key.startsWith(QLatin1Char(';')))
        return QStringLiteral(
                   "Das Kürzel \"%1\" kann nicht gespeichert werden: es darf kein \"=\" und keine "
                   "Steuerzeichen enthalten, nicht mit \"[\" oder \";\" beginnen und nicht mit "
                   "Leerzeichen beginnen oder enden.")
            .arg(key);
    for (const QString &known : std::as_const(Storage().ObserverKeys))
        if (known.compare(key, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Ein Beobachter mit dem Kürzel \"%1\" ist bereits vorhanden. "
                                  "Bitte wählen Sie ein anderes Kürzel.")
                .arg(known);
    return QString();
}

void AddObserver(const TObserverProfile &profile, const QString &dir) {
    const QString key = profile.Name1.text();
    const QString problem = ObserverKeyProblem(key);
    if (!problem.isEmpty())
        throw TarvoError(problem);
    if (dir.isEmpty())
        throw TarvoError(
            QStringLiteral("Es ist kein freies Beobachterverzeichnis (0001 bis 9999) mehr vorhanden."));

    StorageState &s = Storage();
    const QString fullDir = s.DataPath + ObserverDirPath(dir);
    const bool existed = QFileInfo::exists(fullDir);
    if (!existed && !QDir().mkpath(fullDir))
        throw TarvoError(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(fullDir));

    const QString savedKey = s.CurrentObserverKey;
    const QString savedDir = s.CurrentObserverDir;
    const QStringList savedKeys = s.ObserverKeys;
    const QStringList savedDirs = s.ObserverDirs;
    try {
        s.CurrentObserverDir = dir;
        s.CurrentObserverKey = key;
        s.ObserverDirs.append(dir);
        s.ObserverKeys.append(key);
        // A new observer starts with the evaluation's default curve colours.
        TObserverProfile withColours = profile;
        ApplyDefaultCurveColours(withColours);
        SaveProfile(withColours);
        SaveProgramSettings(profile);
    } catch (...) {
        // Nothing half-registered may stay behind: tarvo.ini is unchanged.
        s.CurrentObserverKey = savedKey;
        s.CurrentObserverDir = savedDir;
        s.ObserverKeys = savedKeys;
        s.ObserverDirs = savedDirs;
        if (!existed)
            QDir(fullDir).removeRecursively();
        throw;
    }
}

void RequireCurrentObserver() {
    if (Storage().CurrentObserverDir.isEmpty())
        throw TarvoError(QStringLiteral("Es ist noch kein Beobachter angelegt. Bitte fügen Sie zuerst unter "
                                        "„Optionen – Beobachter“ mit „Zufügen“ einen Beobachter hinzu."));
}

int ParseInteger(const QString &text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw TarvoError::NotAnInteger(text);
    return value;
}
