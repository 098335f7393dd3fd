#include "storage_state.h"

#include "archive.h"
#include "profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

StorageState &Storage() {
    static StorageState state;
    return state;
}

QString WithTrailingSeparator(const QString &dir) {
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir;
    return dir + QLatin1Char('/');
}

namespace {

QString ChooseProgramDir(const QString &given) {
    if (!given.isEmpty())
        return QDir(given).absolutePath();
    const QString home = qEnvironmentVariable("TARVO_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    if (QCoreApplication::instance()) {
        // A folder that holds the program is a portable install; an installed
        // program (bin/ beside share/tarvo/) keeps its data in the user's folder.
        const QString exeDir = QCoreApplication::applicationDirPath();
        const bool installed = QFileInfo::exists(exeDir + QStringLiteral("/../share/tarvo"));
        if (!installed && QFileInfo(exeDir).isWritable())
            return exeDir;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

} // namespace

void StorageStartUp(const QString &programDir) {
    StorageState &s = Storage();
    s = StorageState{};
    ForgetArchiveCache();
    s.ProgramVersion = ReadProgramVersion().left(16);
    s.ProgramDir = WithTrailingSeparator(QDir::fromNativeSeparators(ChooseProgramDir(programDir)));
    s.DataPath = s.ProgramDir;
    s.HighestColumnIndex = kHighestColumnIndex;
    ResetColumnLayout();
}

QString ObserverDirPath(const QString &observerDir) {
    QString dir = observerDir;
    if (dir.endsWith(QLatin1Char('\\')))
        dir[dir.size() - 1] = QLatin1Char('/');
    return dir;
}

QString ObserverFilePath(const QString &fileName) {
    const StorageState &s = Storage();
    return s.DataPath + ObserverDirPath(s.CurrentObserverDir) + fileName;
}

QString StoredDataPath(const QString &dataPath) {
    const QString programDir = QDir::cleanPath(Storage().ProgramDir);
    const QString path = QDir::cleanPath(dataPath);
    if (path == programDir)
        return QStringLiteral("./");
    const QString below = programDir.endsWith(QLatin1Char('/')) ? programDir : programDir + QLatin1Char('/');
    if (!path.startsWith(below))
        return dataPath;
    const QString relative = QStringLiteral("./") + path.mid(below.size());
    return dataPath.endsWith(QLatin1Char('/')) ? relative + QLatin1Char('/') : relative;
}

QString ResolveDataPath(const QString &stored) { return ResolveDataPath(stored, Storage().ProgramDir); }

QString ResolveDataPath(const QString &stored, const QString &programDir) {
    if (stored.isEmpty() || QDir::isAbsolutePath(stored))
        return stored;
    QString relative = stored;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return WithTrailingSeparator(QDir::cleanPath(programDir + relative));
}

bool ObserverIsCurrent() {
    return !Storage().CurrentObserverDir.isEmpty();
}
