#pragma once

#include "day_record.h"
#include "month_summary.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

using TYearSummaries = std::array<TMonthSummary, 12>;
using TArchiveRecords = std::vector<TMonthSummary>;

// First year of the 50-year archive that holds `year`.
int ArchiveFirstYear(int year);
// Current observer directory + archive file name, e.g. "0001/20002049.asw".
QString ArchiveFileName(int year);
bool ArchiveExists(int year);
// Creates the archive `name` (relative to DataPath) with 600 empty records.
void CreateArchive(const QString &name);

// Aggregates one month of the year buffer into the summary: means and counts
// only; stamps, smoothed values and imported series stay as they are. A month
// outside 1..12 (a damaged record) leaves the summary unchanged.
void AggregateMonth(int month, int year, TYearBuffer &buffer, TMonthSummary &summary);

// Brings the archive `name` up to date: re-aggregates every year whose year
// data file changed since its last aggregation and recomputes the smoothed
// values, while no other Tarvo process can change the observer's files.
// Throws TarvoError when the archive cannot be read or written, or is
// damaged (its size is not a whole number of records).
void RefreshArchive(const QString &name);

// After a program upgrade: the observer's own means, counts and smoothed
// values in the archive file at `path` are emptied, so that the next refresh
// aggregates every year anew; what was imported into it (the network's and
// SIDC series) and the reserved bytes stay. Holds the folder's lock. A missing
// archive is left alone; throws TarvoError when the archive cannot be read
// or written, or is damaged (it then stays as it is).
void RenewArchiveKeepingImports(const QString &path);

// Forgets which archive was refreshed and read last (after archives were
// deleted, an observer's folder moved away or the storage started anew).
void ForgetArchiveCache();

// Archive name for the year, refreshed when it differs from the cache.
QString ArchiveNameFor(int year);

// The 12 summaries of the year (after a refresh); false when no archive
// holds the year (a negative year). Throws TarvoError when the archive cannot
// be refreshed or read, or is damaged.
bool LoadYearSummaries(int year, TYearSummaries &summaries);
// Replaces the 12 summaries of the year; false when no archive holds the
// year. Throws TarvoError when the archive cannot be refreshed, read or
// written, or another Tarvo process holds the observer's files too long; the
// file is then unchanged.
bool SaveYearSummaries(int year, const TYearSummaries &summaries);
// Reads the 12 summaries of the year, lets `change` change them and writes
// them back, while no other Tarvo process can change the archive in between.
// Throws TarvoError when the archive cannot be read or written; the file is
// then unchanged.
void UpdateYearSummaries(int year, const std::function<void(TYearSummaries &)> &change);

// The archive in memory. The file operations above are built on these.

// Throws TarvoError naming the file when `size` is not a whole number of
// records: such an archive is damaged and is never padded.
void CheckArchiveSize(qint64 size, const QString &fileName);
// The records of an archive file whose first bytes are `bytes` (at most 600
// records are taken). Throws TarvoError for a damaged archive.
TArchiveRecords ArchiveRecordsFromBytes(const QByteArray &bytes, qint64 fileSize, const QString &fileName);
// The same into `records`, whose memory is used again.
void ReadArchiveRecords(const QByteArray &bytes, qint64 fileSize, const QString &fileName,
                        TArchiveRecords &records);
QByteArray ArchiveBytes(const TArchiveRecords &records);
// Appends the records a short archive lacks, empty, up to 600; true when any
// were lacking.
bool CompleteArchive(TArchiveRecords &records, int firstYear);
// MeanRe of the records [from, from + count), `from` counted from the end
// when negative; empty when the records do not reach.
std::vector<double> ArchiveMeans(const TArchiveRecords &records, int from, int count);

// The year data the aggregation reads: the stamp of a year (nullopt when the
// observer has no such year) and its contents.
struct TArchiveYearSource {
    std::function<std::optional<double>(int year)> stamp;
    std::function<void(int year, TYearBuffer &buffer)> read;
};
// The aggregation pass: every year whose stamp differs from the one its
// records carry is aggregated again; true when any year was.
bool AggregateArchive(TArchiveRecords &records, const TArchiveYearSource &years);
// The smoothing pass over MeanRe, with the last 8 means of the predecessor
// archive and the first 8 of the successor where they exist (else empty);
// true when any smoothed value changed.
bool SmoothArchive(TArchiveRecords &records, const std::vector<double> &before,
                   const std::vector<double> &after);
// The 12 summaries of the year from an archive's bytes; false when they do
// not reach that far or the year is negative.
bool ReadYearSummaries(const QByteArray &archive, int year, TYearSummaries &summaries);
// Replaces the 12 summaries of the year; false when the records do not reach.
bool ReplaceYearSummaries(TArchiveRecords &records, int year, const TYearSummaries &summaries);

// The smoothing weight w(i, n) = (1 - (|i|/n)^2)^3, each step rounded to double.
double SmoothingWeight(int i, int n);
