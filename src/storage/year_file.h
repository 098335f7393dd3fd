#pragma once

#include "day_record.h"

#include <QString>
#include <functional>

// File name of the current observer's year data file, e.g. ".../0001/SO2004.DAT".
QString YearFileName(int year);

// Reads the current observer's year. Returns false with a zero-filled buffer
// when there is no file. A file shorter than a year is a legacy file and is
// converted first (its bytes are kept under the ".OLD" name); so is the
// ".OLD" copy of a whole legacy year whose ".DAT" is missing or empty. Only
// the first 56160 bytes of a longer file are read. A file that exists but
// cannot be read or converted throws TarvoError (buffer zero-filled), so that
// no caller mistakes it for an empty year and saves over it.
bool ReadYear(int year, TYearBuffer &buffer);

// Whether the current observer has the year: its year data file, or the
// ".OLD" copy of a whole legacy year that ReadYear converts.
bool YearDataExists(int year);

// Writes the buffer as the current observer's year data file, atomically, and
// empties the archive name cache. Returns true. Throws TarvoError with the
// message when the file could not be written, or another Tarvo process held
// the observer's folder too long; the previous file is then unchanged.
bool WriteYear(int year, const TYearBuffer &buffer);

// Reads the year, lets `change` change it and writes it back, while no other
// Tarvo process can change the observer's files in between. Throws TarvoError
// when the year cannot be read or written (the file is then unchanged).
void UpdateYear(int year, const std::function<void(TYearBuffer &)> &change);

// Saves what the caller changed in its copy of the year (`buffer`) since it
// read it as `base`, over the year as it is on disk now, while no other Tarvo
// process can change it: a day, or a month's dispatch status, that the caller
// left as it was keeps what another process wrote meanwhile; where both
// changed the same one, the caller's wins. Afterwards `buffer` and `base`
// are the year as written. Throws TarvoError when the year cannot be read or
// written (nothing is changed then).
void SaveYearChanges(int year, TYearBuffer &base, TYearBuffer &buffer);

// The merge SaveYearChanges makes: every day record, the dispatch status of
// every month and the rest of each month header that `mine` changed against
// `base` is copied into `onDisk`.
void MergeYearChanges(const TYearBuffer &base, const TYearBuffer &mine, TYearBuffer &onDisk);

// Converts 416 legacy 103-byte records into a year buffer; bytes missing
// from a short input count as zeros.
void ConvertLegacyYear(const QByteArray &legacy, TYearBuffer &buffer);
