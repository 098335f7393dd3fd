#pragma once

#include "storage/profile.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// Observer administration: the optional lists of known observers, the
// reservation of observer directories and the registration of a new observer.

// The five instruments an observer can choose.
extern const QStringList kInstruments;

// Display form of one line (or record) of a known-observer list: the fixed
// columns 1-17 short name, 18-22 instrument, 23-27 aperture, 28-32 focal
// length, each without surrounding blanks, joined by " | ". A line without
// any text gives an empty entry.
QString ObserverListEntry(const QByteArray &line);

// "observer.dat": text, one observer per line. Returns nothing when the file
// does not exist (or cannot be read).
std::optional<QStringList> ReadObserverDat(const QString &path);
// "beostm.000": records of 62 bytes, each a text ended by a zero byte or the
// record's end. A short record at the end of the file is ignored.
std::optional<QStringList> ReadBeoStm(const QString &path);

struct ObserverEntryParts {
    QString name;
    QString instrument;
    QString aperture;
    QString focalLength;
};
// Splits a display entry at "|": name, instrument, aperture, the rest is the
// focal length; each part without surrounding blanks.
ObserverEntryParts SplitObserverEntry(const QString &entry);

// "0001/" .. "9999/" for n = 1 .. 9999.
QString ObserverDirName(int n);
// The first observer directory name below DataPath that does not exist yet;
// empty when all 9999 are taken.
QString FindFreeObserverDir();

// Why a short name cannot be a new observer's key, or empty when it can:
// empty, already listed (compared without regard to case, as tarvo.ini does),
// or holding characters that the settings file cannot keep in a key.
QString ObserverKeyProblem(const QString &key);

// Registers the observer of `profile` (its Name1 is the key) in the directory
// `dir` (relative to DataPath): creates the directory, writes its beob.ini,
// makes it the current observer and writes tarvo.ini. Throws TarvoError and
// leaves the observer lists and the current observer as they were when the
// name is refused or a step fails.
void AddObserver(const TObserverProfile &profile, const QString &dir);

// The profile a new observer starts with: empty, with the relative number
// switched on for entry and output (times, seeing, groups and spots north,
// south and in total, Re), so that the first evening can be counted.
TObserverProfile NewObserverProfile();

// Taking an observer out of the list: its key, its folder and the backup
// name the folder gets beside it ("0003.entfernt-2026-12-10", with "-2",
// "-3" ... when that is taken). `folder` and `backup` are empty when the
// observer has no folder of its own to keep (none there, or shared with
// another observer, or not below the data path).
struct ObserverRemoval {
    qsizetype index = -1;
    QString key;
    QString folder;
    QString backup;
};
ObserverRemoval PlanObserverRemoval(qsizetype index, const QDate &today);

// Takes the observer out of the list in tarvo.ini and renames its folder to
// the backup name; no file is deleted. When it was the current observer, the
// first one left becomes current (none when it was the last, as on a first
// start). `profile` gives the network addresses tarvo.ini keeps. Throws
// TarvoError and leaves the list, the folder and tarvo.ini as they were.
void RemoveObserver(const ObserverRemoval &removal, const TObserverProfile &profile);

// Throws TarvoError when no observer directory is current (nothing to write
// an observer's settings to).
void RequireCurrentObserver();

// The integer value of a text as typed (blanks around it allowed); throws
// TarvoError "'%s' ist kein gültiger Integerwert" otherwise.
int ParseInteger(const QString &text);
