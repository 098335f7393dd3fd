#include "export_files.h"

#include "export_target.h"
#include "network_lines.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

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

void WriteExportFile(int type, const QString &fileName, const TExportSource &source) {
    if (const QString problem = ExportTargetProblem(fileName); !problem.isEmpty())
        throw TarvoError(problem);
    if (type == ExportCsv || type == ExportHtml) {
        const TExportProducer &producer = type == ExportCsv ? source.csv : source.html;
        if (!producer)
            throw TarvoError(QStringLiteral("Die Monatstabelle ist für den Export nicht verfügbar."));
        QString error;
        if (!WriteFileAtomically(fileName, producer(), &error))
            throw TarvoError(error);
        return;
    }
    if (type < ExportRezahl || type > ExportFzahl)
        throw TarvoError(QStringLiteral("Unbekannter Export-Typ %1").arg(type));
    if (!source.profile || !source.year)
        throw TarvoError(QStringLiteral("Es sind keine Monatsdaten für den Export vorhanden."));
    AppendMonthLines(static_cast<NetworkLineKind>(type - ExportRezahl), *source.profile, *source.year,
                     source.yearNumber, source.month, fileName);
}
