#pragma once

#include "form_layout.h"
#include "reportengine/report.h"

#include <QString>
#include <cstdint>

class QPaintDevice;

// The month report of sunspot numbers, form SOB01: one row per day of the
// month with time, seeing and counts, then sums, day counts and means taken
// from the month table's totals.
class TSOB01 {
public:
    TSOB01();
    TSOB01(const TSOB01 &) = delete;
    TSOB01 &operator=(const TSOB01 &) = delete;

    // Hands over the month; sets the captions Mo and Jahr.
    void setMonth(const TYearBuffer &yearData, int month, int year, const TObserverProfile &profile,
                  const TMonthTotals &totals);

    TReport &report() { return report_; }

    QString Mo;   // caption: month number
    QString Jahr; // caption: year

private:
    void SOB01BeforePrint();
    bool SOB01NeedData();
    void SpalteBeforePrint();
    void buildColumnHeader();
    void buildDetail();
    void buildSummary();
    const TDayRecord &day() const { return data_.block.Days[dayCounter_]; }
    QString valueText(std::int32_t value) const;

    TReport report_;
    TFormMonth data_;
    std::uint8_t dayCounter_ = 0;
    bool observed_ = false;
    TReportText *timeFields_[4] = {}; // UT, R, S, Q
    TReportRule *seeingRules_[3] = {};
};

// Prints the form of the month onto a device whose origin is the paper's
// corner (printer at full page, PDF writer, image). Returns the pages.
int PrintSob01(QPaintDevice *device, const TYearBuffer &yearData, int month, int year,
               const TObserverProfile &profile, const TMonthTotals &totals);
// Writes the form of the month as a PDF file; throws TarvoError on failure.
void WriteSob01Pdf(const QString &fileName, const TYearBuffer &yearData, int month, int year,
                   const TObserverProfile &profile, const TMonthTotals &totals);
