// Year data files in both formats: the current one read through ReadYear, the
// legacy 103-byte records through the conversion (ReadYear converts a short
// file) and ConvertLegacyYear directly. The buffer read is aggregated as the
// archive refresh does.
#include "fuzz_sandbox.h"
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    const QByteArray bytes = FuzzBytes(data + 1, size - 1);
    TYearBuffer buffer;
    if (data[0] & 1) {
        ConvertLegacyYear(bytes, buffer);
    } else {
        sandbox.reset();
        sandbox.clearObserver();
        FuzzSandbox::write(sandbox.observerFile(QStringLiteral("SO2004.DAT")), bytes);
        try {
            if (!ReadYear(2004, buffer))
                return 0;
        } catch (const TarvoError &) {
            return 0;
        }
    }
    TMonthSummary summary{};
    for (int month = 1; month <= 12; ++month)
        AggregateMonth(month, 2004, buffer, summary);
    return 0;
}
