// The printed month forms as PDF files.
#include "cli_command.h"

#include "storage/month_totals.h"
#include "reports/sob01.h"
#include "reports/sob09.h"
#include "storage/year_file.h"

namespace {

int Report(CliSession &session, const QStringList &args) {
    CliExpectArgs(args, 4, 4);
    const QString form = args[0].toLower();
    if (form != QLatin1String("sob01") && form != QLatin1String("sob09"))
        throw CliUsageError(QStringLiteral("ungültige Angabe für FORM: '%1'").arg(args[0]).toStdString());
    const int year = CliIntArgument(args[1], "YEAR", 1600, 3999);
    const int month = CliIntArgument(args[2], "MONTH", 1, 12);
    const QString &fileName = args[3];

    TYearBuffer yearData;
    ReadYear(year, yearData);
    const TMonthTotals totals = ComputeMonthTotals(yearData.Months[month], month, year);
    if (form == QLatin1String("sob01"))
        WriteSob01Pdf(fileName, yearData, month, year, session.profile, totals);
    else
        WriteSob09Pdf(fileName, yearData, month, year, session.profile, totals);
    return 0;
}

const CliCommandRegistrar reportCommand("report", "sob01|sob09 YEAR MONTH OUT.pdf", Report,
                                        "das Formblatt SOB01 oder SOB09 des Monats als PDF-Datei");

} // namespace
