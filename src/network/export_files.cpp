#include "export_files.h"

#include "export_target.h"
#include "month/month_grid_table.h"
#include "network_lines.h"
#include "storage/storage_state.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QLocale>

QString ProposedExportName(int type) {
    switch (type) {
    case ExportRezahl:
        return QStringLiteral("Rezahl.dat");
    case ExportAzahl:
        return QStringLiteral("Azahl.dat");
    case ExportFzahl:
        return QStringLiteral("Fzahl.dat");
    default:
        return {};
    }
}

QString ExportMask(int type) {
    switch (type) {
    case ExportCsv:
        return QStringLiteral("*.csv");
    case ExportHtml:
        return QStringLiteral("*.html");
    default:
        return QStringLiteral("*.dat");
    }
}

namespace {

const TMonthDocument &MonthOf(const TExportSource &source) {
    if (!source.profile || !source.month)
        throw TarvoError(QStringLiteral("Es sind keine Monatsdaten für den Export vorhanden."));
    return *source.month;
}

} // namespace

QByteArray ExportBytes(int type, const TExportSource &source) {
    const TMonthDocument &month = MonthOf(source);
    if (type == ExportCsv || type == ExportHtml) {
        const TGridTable table =
            MonthGridTable(month.yearData(), month.month(), month.year(), Storage().ColumnLayout, QLocale());
        return type == ExportCsv ? MonthTableCsv(table) : MonthTableHtml(table);
    }
    if (type < ExportRezahl || type > ExportFzahl)
        throw TarvoError(QStringLiteral("Unbekannter Export-Typ %1").arg(type));
    return MonthLines(static_cast<NetworkLineKind>(type - ExportRezahl), *source.profile, month.yearData(),
                      month.year(), month.month());
}

void WriteExportFile(int type, const QString &fileName, const TExportSource &source) {
    if (const QString problem = ExportTargetProblem(fileName); !problem.isEmpty())
        throw TarvoError(problem);
    if (type == ExportCsv || type == ExportHtml) {
        WriteFileAtomically(fileName, ExportBytes(type, source));
        return;
    }
    if (type < ExportRezahl || type > ExportFzahl)
        throw TarvoError(QStringLiteral("Unbekannter Export-Typ %1").arg(type));
    const TMonthDocument &month = MonthOf(source);
    AppendMonthLines(static_cast<NetworkLineKind>(type - ExportRezahl), *source.profile, month.yearData(),
                     month.year(), month.month(), fileName);
}
