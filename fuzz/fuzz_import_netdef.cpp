// The network's definitive relative numbers, and the month-matching import
// underneath both reference-number imports.
#include "fuzz_sandbox.h"
#include "network/import_monthly.h"
#include "network/import_netdef.h"
#include "storage/tarvo_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    // The archives stay from one input to the next: making a new one each
    // time would cost most of the run.
    sandbox.reset();
    const QString path = sandbox.observerFile(QStringLiteral("netdef.dat"));
    FuzzSandbox::write(path, FuzzBytes(data + 2, size - 2));
    const int first = 1990 + data[1] % 30;
    const int last = first + (data[1] >> 5);
    try {
        if (data[0] & 1)
            ImportNetworkDefinitive(path, first, last);
        else
            ImportMonthlySeries(path, first, last, data[0] >> 1 & 3,
                                {{20, 24, &TMonthSummary::SIDC}, {28, 40, &TMonthSummary::SIDCM}});
    } catch (const TarvoError &) {
    }
    return 0;
}
