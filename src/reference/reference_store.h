#pragma once

#include "silso_series.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// The reference store: SILSO's series kept for all observers of the
// installation in the folder "Referenz" of the program directory, one text
// file per series (ASCII, CR LF, '.' as decimal point, -1 = no value, lines
// in ascending order, '#' starts a comment line):
//
//   silso-daily.txt  one line per day:
//                    date;SN;std dev;observations;provisional
//                    2000-01-01;71;3.8;14;0
//   silso-hem.txt    one line per month:
//                    month;SN total;SN north;SN south;std dev total;std dev north;std dev south;
//                    observations total;observations north;observations south;provisional
//                    2016-04;37.9;28.5;9.4;3.5;2.8;0.9;865;762;1126;0
//
// "provisional" is 1 for SILSO's provisional values, 0 for definitive ones.

QString ReferenceFolder(); // ends with the path separator
QString SilsoDailyStorePath();
QString SilsoHemStorePath();

// The stored series; empty when nothing was imported yet. Throws TarvoError
// when the file cannot be read or is damaged.
TSilsoDailySeries LoadSilsoDaily();
TSilsoHemSeries LoadSilsoHem();

// Puts the entries into the store: an entry of a day (month) already stored
// replaces it, every other stored entry stays. Throws TarvoError when the
// store cannot be read, is damaged or cannot be written; it is then unchanged.
void StoreSilsoDays(std::vector<TSilsoDay> incoming);
void StoreSilsoHemMonths(std::vector<TSilsoHemMonth> incoming);

// The store files' contents, and back; `path` names the file in messages.
QByteArray SilsoDailyStoreBytes(const TSilsoDailySeries &series);
QByteArray SilsoHemStoreBytes(const TSilsoHemSeries &series);
TSilsoDailySeries ParseSilsoDailyStore(const QByteArray &bytes, const QString &path);
TSilsoHemSeries ParseSilsoHemStore(const QByteArray &bytes, const QString &path);

// The one read-modify-write of a store file: reads it (empty contents when
// there is none), lets `change` make the new contents from the old ones and
// writes them atomically, making the folder when needed. Throws TarvoError;
// the file stays as it was when anything fails.
void UpdateStoreFile(const QString &path, const std::function<QByteArray(const QByteArray &current)> &change);
