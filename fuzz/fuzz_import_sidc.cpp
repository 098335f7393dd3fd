// SIDC sunspot-number files in every format the import understands; the file
// name matters when the content is too short to tell the format.
#include "fuzz_sandbox.h"
#include "network/import_sidc.h"
#include "storage/tarvo_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    static const QString names[] = {
        QStringLiteral("monthssn.dat"),       QStringLiteral("SN_m_tot_V2.0.txt"),
        QStringLiteral("SN_m_tot_V2.0.csv"),  QStringLiteral("SN_ms_tot_V2.0.txt"),
        QStringLiteral("SN_ms_tot_V2.0.csv"), QStringLiteral("SN_m_hem_V2.0.csv")};
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    // The archives stay from one input to the next: making a new one each
    // time would cost most of the run.
    sandbox.reset();
    const QString path = sandbox.observerFile(names[data[0] % 6]);
    const QByteArray bytes = FuzzBytes(data + 2, size - 2);
    FuzzSandbox::write(path, bytes);
    RecogniseSidcFormat(bytes, path);
    // A year range as the dialog allows it, at most a few years wide.
    const int first = 1990 + data[1] % 30;
    const int last = first + (data[1] >> 5);
    try {
        ImportSidc(path, first, last);
    } catch (const TarvoError &) {
    }
    return 0;
}
