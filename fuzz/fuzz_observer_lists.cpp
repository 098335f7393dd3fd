// The lists of known observers: "observer.dat" (text) and "beostm.000" (records).
#include "fuzz_sandbox.h"
#include "shell/observer_admin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    const bool records = data[0] & 1;
    const QString path =
        sandbox.programFile(records ? QStringLiteral("beostm.000") : QStringLiteral("observer.dat"));
    FuzzSandbox::write(path, FuzzBytes(data + 1, size - 1));
    const std::optional<QStringList> entries = records ? ReadBeoStm(path) : ReadObserverDat(path);
    if (entries)
        for (const QString &entry : *entries)
            (void)SplitObserverEntry(entry);
    return 0;
}
