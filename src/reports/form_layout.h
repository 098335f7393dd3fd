#pragma once

#include "storage/month_totals.h"
#include "reportengine/report.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QString>
#include <cstdint>

// Pieces shared by the month report forms SOB01 and SOB09: page setup, the
// title band, the summary captions, the footnotes and the number formats.

// Rule widths in millimetres: the heavy rules are three times the thin one.
constexpr double kThinRule = 0.25;
constexpr double kHeavyRule = 3 * kThinRule;

// Issuer named at the end of the program line of every form.
inline constexpr const char *kFormIssuer = "Tarvo";

// Gap between a printed text or value and the rule beside it.
constexpr double kRuleGap = 0.6;
// The room of a column header text between the rules at `left` and `right`
// (mm): a longer caption is drawn narrower, never across a rule.
constexpr double ColumnHeadRoom(double left, double right) {
    return right - left - 2 * kRuleGap;
}

// A4 portrait, margins 10/15/20/10 mm, heavy frame.
void SetUpFormPage(TReport &report, double bandWidth);

// The title band: headline, month and year captions, observer and
// instrument. The texts are read through the pointers at print time.
void AddFormTitle(TReportBand &band, double bandWidth, const QString &headline,
                  const TObserverProfile *profile, const QString *month, const QString *year);

// "Summe", "Anzahl", "Mittel" right-aligned in the cell of the first two
// columns of the summary band.
void AddSummaryCaptions(TReportBand &band, const double (&rowY)[3]);

// The two footnote lines, the form name and the program line.
void AddFormFootnotes(TReportBand &band, const QString &formName);

// "Programm: TARVO32, v<version>, <issuer>", cut as the forms allow.
QString FormProgramLine();

// A plain decimal integer, without group separators.
QString FormInteger(std::int64_t value);
// sum / count with `decimals` decimals and the user's decimal separator,
// without group separators (the columns have no room for them).
QString FormMean(double mean, int decimals);

// What the month table hands to a form: the chosen month's block of the
// year, the captions' numbers, the observer's profile and the month's day
// counts and full-width sums.
struct TFormMonth {
    TMonthBlock block{};
    int month = 1;
    int year = 0;
    TObserverProfile profile{};
    TMonthTotals totals{};
    int days = 0; // detail rows: the days of the month

    // Copies the inputs; throws TarvoError for a month outside 1..12.
    void assign(const TYearBuffer &yearData, int month, int year, const TObserverProfile &profile,
                const TMonthTotals &totals);
};
