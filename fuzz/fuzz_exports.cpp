// The export files of mutated day records, profiles and column layouts, one
// type per input as the export dialog writes one: the month table as
// semicolon-separated text or as HTML (the very cells the month window
// shows), or the relative-number, A-number or faculae lines. Bits 5-7 of
// byte 0 choose the type.
#include "fuzz_month_input.h"
#include "month/month_grid_table.h"
#include "network/export_files.h"
#include "network/network_lines.h"
#include "storage/storage_state.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    StorageStartUp(QStringLiteral("/nonexistent-tarvo-fuzz")); // nothing is read or written
    ResetColumnLayout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const FuzzMonth m(data, size, Storage().ColumnLayout);
    const int type = size > 0 ? (data[0] >> 5) % kExportTypeCount : ExportCsv;
    switch (type) {
    case ExportCsv:
    case ExportHtml: {
        const TGridTable table = MonthGridTable(m.year, m.month, m.yearNumber, m.layout, m.locale);
        (void)(type == ExportCsv ? MonthTableCsv(table) : MonthTableHtml(table));
        break;
    }
    default:
        (void)MonthLines(static_cast<NetworkLineKind>(type - ExportRezahl), m.profile, m.year, m.yearNumber,
                         m.month);
        break;
    }
    return 0;
}
