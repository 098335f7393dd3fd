#pragma once

#include "column_layout.h"

#include <QString>
#include <QStringList>
#include <array>

// The slots of DialogSlots: which dialog made on first use exists.
enum DialogSlot : int {
    SlotSonPos = 0,
    SlotAbout = 1,
    SlotEinst = 2,
    SlotExport = 4,
    SlotSOB09 = 5,
    SlotBeck = 6,
    SlotSOB01 = 8,
    SlotEmail = 9,
    SlotEinstEmail = 10,
    SlotAddBeob = 12,
    SlotAusw = 13,
    SlotSIDC = 14,
    SlotTab = 15,
    SlotDrTarvo = 16,
    SlotBackup = 20,
    SlotRestore = 21,
    SlotSilsoTage = 22,
    SlotSilsoHalbkugel = 23,
    SlotVergleich = 24,
};

// The storage module's state: one instance for the whole program, created by
// StorageStartUp before any window exists. Nothing else in the program keeps
// global state.
struct StorageState {
    QString ProgramDir;          // ends with the path separator
    QString DataPath;            // prefix of every observer file path
    QStringList ObserverKeys;    // section "Beobachter" of tarvo.ini, in file order
    QStringList ObserverDirs;    // parallel to ObserverKeys
    QString CurrentObserverKey;  // at most 16 characters
    QString CurrentObserverDir;  // e.g. "0001/" (or "0001\" as read from a Windows file)
    QString ProgramVersion;      // dotted version text, at most 16 characters
    bool ObserversPresent = false;
    bool SettingsDirty = false;
    bool DeleteArchives = false; // a version upgrade was found: the archives are aggregated anew
    QString ArchiveNameCache;    // archive refreshed last; emptied by every WriteYear
    // How long a writer waits for another Tarvo process to finish with a
    // folder (FolderLock) before it gives up.
    int LockWaitMs = 5000;
    std::array<bool, 31> DialogSlots{};
    TColumnLayout ColumnLayout{};
    int HighestColumnIndex = kHighestColumnIndex;
};

StorageState &Storage();

// Module start-up. The program directory is, in this order: `programDir` when
// given, the environment variable TARVO_HOME, the executable's directory when
// it is writable and not an installed layout (bin/ beside share/tarvo/), else
// the user's application data directory.
void StorageStartUp(const QString &programDir = QString());

// Whether an observer is current, with a folder of its own. Without one,
// observer files would land in the data path itself.
bool ObserverIsCurrent();

// Observer directory as a path part: a trailing '\' of a Windows settings file
// becomes '/', and a missing trailing separator is kept missing.
QString ObserverDirPath(const QString &observerDir);
// DataPath + current observer directory + file name.
// The folder of the program directory that keeps the reference series for
// all observers.
inline const QString kReferenceFolder = QStringLiteral("Referenz");

QString ObserverFilePath(const QString &fileName);
// Adds the native separator when the text does not end with one.
QString WithTrailingSeparator(const QString &dir);

// "Datenpfad" as tarvo.ini keeps it: relative to the program directory
// ("./", "./daten/") when the data path is the program directory or lies
// below it, so that a copied program folder is self-contained; any other
// path as it is.
QString StoredDataPath(const QString &dataPath);
// "Datenpfad" as read from tarvo.ini: a relative path (also ".\" of a
// Windows file) is resolved against the program directory, never against
// the working directory, and ends with a separator; an absolute one is
// taken as it is.
QString ResolveDataPath(const QString &stored);
// The same against another program directory (one that ends with a separator).
QString ResolveDataPath(const QString &stored, const QString &programDir);
