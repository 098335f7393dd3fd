// AEF.CFG: the column layout as read, and the month table's columns made from it.
#include "fuzz_sandbox.h"
#include "month/month_columns.h"
#include "storage/column_layout.h"
#include "storage/tarvo_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    sandbox.reset();
    FuzzSandbox::write(sandbox.observerFile(QStringLiteral("AEF.CFG")), FuzzBytes(data, size));
    try {
        LoadColumnLayout();
    } catch (const TarvoError &) {
    }
    for (const TShownColumn &column : ShownColumns(Storage().ColumnLayout))
        (void)column.Title.size();
    return 0;
}
