#pragma once

#include "day_record.h"

#include <QString>

// File name of the current observer's year data file, e.g. ".../0001/SO2004.DAT".
QString YearFileName(int year);

// Reads the current observer's year. Returns false with a zero-filled buffer
// when there is no file. A file shorter than a year is a legacy file and is
// converted first (its bytes are kept under the ".OLD" name). A file that
// exists but cannot be read throws TarvoError (buffer zero-filled), so that
// no caller mistakes it for an empty year and saves over it.
bool ReadYear(int year, TYearBuffer &buffer);

// Writes the buffer as the current observer's year data file, atomically, and
// empties the archive name cache. Returns false with the message in `error`
// when the file could not be written; the previous file is then unchanged.
bool WriteYear(int year, const TYearBuffer &buffer, QString *error = nullptr);

// Converts 416 legacy 103-byte records into a year buffer; bytes missing
// from a short input count as zeros.
void ConvertLegacyYear(const QByteArray &legacy, TYearBuffer &buffer);
