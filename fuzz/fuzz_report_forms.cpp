// The report forms SOB01 and SOB09 of mutated day records and profiles: both
// forms run through every band and field as printing does. The first input
// of a run and every 64th after it are also painted (SOB01, or SOB09 when
// bit 5 of byte 0 is set) onto a page that keeps nothing: the same painting
// as printer and PDF without recording or rasterising the page. Shaping the
// texts costs many times what the forms themselves cost, and it is the same
// code for every input; a finding in it reproduces from its input alone,
// which is then the first of its run.
#include "fuzz_month_input.h"
#include "storage/month_totals.h"
#include "null_paint_device.h"
#include "reports/sob01.h"
#include "reports/sob09.h"
#include "storage/storage_state.h"

#include <QGuiApplication>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app(new QGuiApplication(*argc, *argv));
    StorageStartUp(QStringLiteral("/nonexistent-tarvo-fuzz")); // nothing is read or written
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const TColumnLayout noLayout{};
    const FuzzMonth m(data, size, noLayout);
    const TMonthTotals totals =
        ComputeMonthTotals(m.year.Months[static_cast<std::size_t>(m.month)], m.month, m.yearNumber);
    // The forms are made once and get one month after the other, as the
    // month table's preview does.
    static TSOB01 sob01;
    static TSOB09 sob09;
    const auto printed = [](const TReportBand &, const TReportText &, const QString &) {};
    sob01.setMonth(m.year, m.month, m.yearNumber, m.profile, totals);
    sob01.report().runTexts(printed);
    sob09.setMonth(m.year, m.month, m.yearNumber, m.profile, totals);
    sob09.report().runTexts(printed);
    static unsigned runs = 0;
    if (runs++ % 64 == 0) {
        NullPaintDevice page;
        if (size > 0 && (data[0] & 0x20))
            PrintSob09(&page, m.year, m.month, m.yearNumber, m.profile, totals);
        else
            PrintSob01(&page, m.year, m.month, m.yearNumber, m.profile, totals);
    }
    return 0;
}
