#pragma once

#include "form_layout.h"
#include "reportengine/report.h"

#include <QString>
#include <cstdint>

class QPaintDevice;

// The month report of faculae activity, form SOB09. A row shows its values
// only when the day was observed and has a faculae count of the main zone.
// The seeing sums cover only those rows, so the form keeps them itself; the
// faculae sums are the month table's totals.
class TSOB09 {
public:
    TSOB09();
    TSOB09(const TSOB09 &) = delete;
    TSOB09 &operator=(const TSOB09 &) = delete;

    // Hands over the month; sets the captions Mo and Jahr.
    void setMonth(const TYearBuffer &yearData, int month, int year, const TObserverProfile &profile,
                  const TMonthTotals &totals);

    TReport &report() { return report_; }

    QString Mo;   // caption: month number
    QString Jahr; // caption: year

private:
    void SOB01BeforePrint();
    bool SOB01NeedData();
    void buildColumnHeader();
    void buildDetail();
    void buildSummary();
    const TDayRecord &day() const { return data_.block.Days[dayCounter_]; }
    QString seeingText(int index, std::int16_t value);
    QString valueText(std::int16_t value) const;

    TReport report_;
    TFormMonth data_;
    std::uint8_t dayCounter_ = 0;
    bool faculae_ = false;
    // Ruhe, Schärfe, Qualität over the printed rows of this run.
    int seeingSums_[3] = {};
    int seeingCounts_[3] = {};
};

// Prints the form of the month onto a device whose origin is the paper's
// corner (printer at full page, PDF writer, image). Returns the pages.
int PrintSob09(QPaintDevice *device, const TYearBuffer &yearData, int month, int year,
               const TObserverProfile &profile, const TMonthTotals &totals);
// Writes the form of the month as a PDF file; throws TarvoError on failure.
void WriteSob09Pdf(const QString &fileName, const TYearBuffer &yearData, int month, int year,
                   const TObserverProfile &profile, const TMonthTotals &totals);
