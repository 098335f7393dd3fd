// The network data lines of mutated day records and profiles: every day's
// line of the three kinds, the observer header line and the month's lines as
// the mail and the line exports carry them.
#include "fuzz_month_input.h"
#include "network/network_lines.h"
#include "calendar/tpdate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const TColumnLayout noLayout{};
    const FuzzMonth m(data, size, noLayout);
    (void)FormatObserverHeaderLine(m.profile);
    for (const NetworkLineKind kind :
         {NetworkLineKind::RelativeNumbers, NetworkLineKind::ANumbers, NetworkLineKind::Faculae}) {
        for (int day = 1; day <= MonthLength(m.month, m.yearNumber); ++day)
            (void)FormatNetworkLine(kind, m.profile, m.year, m.yearNumber, m.month, day);
        (void)MonthLines(kind, m.profile, m.year, m.yearNumber, m.month);
    }
    for (int day = 0; day < 32; ++day)
        (void)NetworkTimeText(m.year.Day(m.month, day).Zeit.bytes());
    return 0;
}
