#pragma once

#include "storage/day_record.h"
#include "storage/month_totals.h"

#include <QString>
#include <memory>
#include <optional>

// The month being edited: the year data file of the shown month in memory,
// whether it holds unsaved changes and whether it could be read, the rule
// that a year is saved before another month or year is shown, the next-day
// template with its undo, and the month shift. The month table shows it and
// forwards the user's actions; tarvo-cli's export builds its table from it.
//
// A year file that exists but cannot be read is shown empty and refuses every
// change, so that it is never saved over.
class TMonthDocument {
public:
    TMonthDocument();
    ~TMonthDocument();
    TMonthDocument(const TMonthDocument &other);
    TMonthDocument &operator=(const TMonthDocument &other);

    // Reads the current observer's year and shows the month (1..12); a missing
    // year file gives an empty year. Unsaved changes are dropped: save first.
    void open(int year, int month);
    // Shows the month of a year already in memory, as if read from the file.
    void assign(int year, int month, const TYearBuffer &data);

    int year() const { return year_; }
    int month() const { return month_; }
    int daysInMonth() const { return totals_.DaysInMonth; }
    const TYearBuffer &yearData() const { return *data_; }
    const TDayRecord &day(int day) const { return data_->Day(month_, day); }
    // Sums, day counts and means of the shown month, kept current with every change.
    const TMonthTotals &totals() const { return totals_; }

    bool isModified() const { return modified_; }
    bool isReadable() const { return readable_; }
    // Why the shown year cannot be read (empty while it can).
    const QString &unreadableMessage() const { return unreadable_; }

    // Writes the year when it holds changes: only what was changed since it
    // was read, over what another Tarvo process may have written meanwhile
    // (the shown year then holds those changes too). Throws TarvoError with
    // the message when the year cannot be read or written; it then stays
    // modified.
    void SaveIfModified();

    // Shows another month: the year is saved first. When that fails, the
    // changes are kept: another year is not read (the document stays where it
    // was), another month of the same year is shown with the changes still
    // unsaved; either way TarvoError is thrown afterwards with the message.
    // Another year that cannot be read is shown empty (see isReadable).
    void switchTo(int year, int month);

    // Changes of the shown month. Each throws TarvoError with
    // unreadableMessage() (and changes nothing) while the year cannot be read.
    //
    // Stores an edited day; the month counts as not yet sent to any network.
    void storeDay(int day, const TDayRecord &record);
    // Empties a day; the dispatch status stays.
    void ClearDay(int day);
    // The next-day loop: a day without observation gets the previous day's
    // record as a template; cancelNextDay takes it back (the year counts as
    // changed, as it did hold the template).
    void startNextDay(int day);
    void cancelNextDay();
    // Moves the whole month to `target` of the same year (see ShiftMonth);
    // throws TarvoError for a target outside 1..12 or the month itself.
    void shiftTo(int target);
    // Takes the year back from the mail dialog, which marked the lists it sent.
    void adoptDispatchStatus(const TYearBuffer &year);

private:
    void requireReadable() const;
    void changed();
    void recount();

    std::unique_ptr<TYearBuffer> data_;
    std::unique_ptr<TYearBuffer> onDisk_; // the year as read or saved last
    int year_ = 0;
    int month_ = 1;
    TMonthTotals totals_;
    bool modified_ = false;
    bool readable_ = true;
    QString unreadable_;
    struct PendingTemplate {
        int day;
        TDayRecord before;
    };
    std::optional<PendingTemplate> template_;
};
