#include "observer_admin.h"

#include "storage/archive.h"
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

// The observer lists and the current observer, put back when a change of
// them fails half-way.
struct SavedObservers {
    QString key = Storage().CurrentObserverKey;
    QString dir = Storage().CurrentObserverDir;
    QStringList keys = Storage().ObserverKeys;
    QStringList dirs = Storage().ObserverDirs;

    void restore() const {
        StorageState &s = Storage();
        s.CurrentObserverKey = key;
        s.CurrentObserverDir = dir;
        s.ObserverKeys = keys;
        s.ObserverDirs = dirs;
    }
};

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

    const SavedObservers saved;
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
        saved.restore();
        if (!existed)
            QDir(fullDir).removeRecursively();
        throw;
    }
}

TObserverProfile NewObserverProfile() {
    TObserverProfile profile = EmptyProfile();
    for (TCategorySwitches *switches : {&profile.Ein, &profile.Aus}) {
        switches->set(CatWolf, true);
        switches->set(CatNS, true);
    }
    return profile;
}

namespace {

// The observer's own folder below the data path, or empty when renaming it
// could touch anything else.
QString OwnObserverFolder(qsizetype index) {
    const StorageState &s = Storage();
    const QString dir = QDir::cleanPath(ObserverDirPath(s.ObserverDirs.value(index)));
    if (dir.isEmpty() || dir == QLatin1String(".") || dir.startsWith(QLatin1String("..")) ||
        QDir::isAbsolutePath(dir))
        return {};
    for (qsizetype i = 0; i < s.ObserverDirs.size(); ++i)
        if (i != index && QDir::cleanPath(ObserverDirPath(s.ObserverDirs[i])) == dir)
            return {};
    const QString folder = QDir::cleanPath(s.DataPath + dir);
    return QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace

ObserverRemoval PlanObserverRemoval(qsizetype index, const QDate &today) {
    const StorageState &s = Storage();
    if (index < 0 || index >= s.ObserverKeys.size())
        throw TarvoError(QStringLiteral("Es ist kein Beobachter zum Entfernen ausgewählt."));
    ObserverRemoval removal;
    removal.index = index;
    removal.key = s.ObserverKeys[index];
    removal.folder = OwnObserverFolder(index);
    if (removal.folder.isEmpty())
        return removal;
    const QString base = removal.folder + QStringLiteral(".entfernt-") + today.toString(Qt::ISODate);
    removal.backup = base;
    for (int n = 2; QFileInfo::exists(removal.backup) || QFileInfo(removal.backup).isSymLink(); ++n)
        removal.backup = base + QStringLiteral("-%1").arg(n);
    return removal;
}

void RemoveObserver(const ObserverRemoval &removal, const TObserverProfile &profile) {
    StorageState &s = Storage();
    if (removal.index < 0 || removal.index >= s.ObserverKeys.size() ||
        s.ObserverKeys[removal.index] != removal.key)
        throw TarvoError(QStringLiteral("Der Beobachter „%1“ ist nicht mehr in der Liste.").arg(removal.key));
    const bool renamed = !removal.folder.isEmpty();
    if (renamed && !QDir().rename(removal.folder, removal.backup))
        throw TarvoError(
            QStringLiteral("Das Verzeichnis %1 kann nicht in %2 umbenannt werden.")
                .arg(QDir::toNativeSeparators(removal.folder), QDir::toNativeSeparators(removal.backup)));

    const SavedObservers saved;
    const bool wasCurrent = s.ObserverKeys[removal.index] == s.CurrentObserverKey;
    s.ObserverKeys.removeAt(removal.index);
    s.ObserverDirs.removeAt(removal.index);
    if (wasCurrent) {
        s.CurrentObserverKey = s.ObserverKeys.value(0).left(16);
        s.CurrentObserverDir = s.ObserverDirs.value(0).left(16);
    }
    try {
        SaveProgramSettingsReplacingObservers(profile);
    } catch (...) {
        saved.restore();
        if (renamed)
            QDir().rename(removal.backup, removal.folder);
        throw;
    }
    s.ObserversPresent = !s.ObserverKeys.isEmpty();
    ForgetArchiveCache();
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
