// Commands over the stored data: observers, year, archive.
#include "cli_command.h"

#include "calendar/tpdate.h"
#include "storage/archive.h"
#include "storage/day_fields.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include <cstring>

namespace {

// The records are packed: a member pointer's field may be misaligned, so it is
// copied bytewise.
template <class Record, class T> T LoadField(const Record &record, T Record::*member) {
    T value;
    std::memcpy(&value, &(record.*member), sizeof value);
    return value;
}

int Observers(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 0, 0);
    const StorageState &s = Storage();
    for (qsizetype i = 0; i < s.ObserverKeys.size(); ++i) {
        const bool current = s.ObserverKeys[i] == s.CurrentObserverKey;
        CliPrint(QStringLiteral("%1%2\t%3\n").arg(current ? QLatin1String("* ") : QLatin1String("  "),
                                                 s.ObserverKeys[i], s.ObserverDirs[i]));
    }
    return 0;
}

// Every named field in record order: texts as UTF-8 (quoted when needed),
// Fl as its byte value, numbers as stored (-1 kept).
QString DayRow(int month, int day, const TDayRecord &r) {
    QStringList cells{QString::number(month), QString::number(day)};
    for (const TDayField &field : kDayFields)
        cells << (field.Kind == TDayFieldKind::Text ? CsvCell(DayText(r, field))
                                                    : QString::number(DayNumber(r, field)));
    return cells.join(QLatin1Char(',')) + QLatin1Char('\n');
}

int Year(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 2);
    const int year = CliIntArgument(args[0], "YEAR", 1600, 3999);
    const int onlyMonth = args.size() > 1 ? CliIntArgument(args[1], "MONTH", 1, 12) : 0;
    TYearBuffer buffer;
    ReadYear(year, buffer);
    QStringList header{QStringLiteral("Monat"), QStringLiteral("Tag")};
    for (const TDayField &field : kDayFields)
        header << QLatin1String(field.Name);
    QString out = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int month = 1; month <= 12; ++month) {
        if (onlyMonth != 0 && month != onlyMonth)
            continue;
        for (int day = 1; day <= MonthLength(month, year); ++day)
            out += DayRow(month, day, buffer.Day(month, day));
    }
    CliPrint(out);
    return 0;
}

int Archive(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 1);
    const int year = CliIntArgument(args[0], "YEAR", 1600, 3999);
    TYearSummaries summaries;
    if (!LoadYearSummaries(year, summaries))
        throw TarvoError(QStringLiteral("Das Auswertungsarchiv für %1 kann nicht gelesen werden").arg(year));

    struct DoubleField {
        const char *name;
        double TMonthSummary::*field;
    };
    static const DoubleField before[] = {
        {"DatStamp", &TMonthSummary::DatStamp}, {"MeanRe", &TMonthSummary::MeanRe},
        {"MeanReNord", &TMonthSummary::MeanReNord}, {"MeanReSued", &TMonthSummary::MeanReSued},
        {"R13", &TMonthSummary::R13},           {"P17", &TMonthSummary::P17},
        {"MeanBeck", &TMonthSummary::MeanBeck}, {"MeanSN", &TMonthSummary::MeanSN},
        {"MeanCV", &TMonthSummary::MeanCV},     {"MeanA", &TMonthSummary::MeanA},
        {"MeanAb", &TMonthSummary::MeanAb},     {"NetDef", &TMonthSummary::NetDef},
        {"NetProv", &TMonthSummary::NetProv},   {"Extra1", &TMonthSummary::Extra1},
        {"Extra2", &TMonthSummary::Extra2},     {"Extra3", &TMonthSummary::Extra3},
        {"Extra4", &TMonthSummary::Extra4},     {"Zuerich", &TMonthSummary::Zuerich},
        {"SIDC", &TMonthSummary::SIDC},         {"SIDCM", &TMonthSummary::SIDCM},
        {"ANetz", &TMonthSummary::ANetz},       {"AbNetz", &TMonthSummary::AbNetz},
        {"MeanFo", &TMonthSummary::MeanFo},     {"MeanFm", &TMonthSummary::MeanFm},
        {"MeanFEF", &TMonthSummary::MeanFEF},   {"MeanFEP", &TMonthSummary::MeanFEP},
        {"MeanPfn", &TMonthSummary::MeanPfn},   {"MeanPfs", &TMonthSummary::MeanPfs},
    };
    QStringList header{QStringLiteral("Monat"), QStringLiteral("Jahr")};
    for (const DoubleField &f : before)
        header << QLatin1String(f.name);
    for (int k = 0; k < kCountedFieldCount; ++k)
        header << QStringLiteral("Counts%1").arg(k);
    header << QStringLiteral("P9");
    QString out = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const TMonthSummary &m : summaries) {
        QStringList cells{QString::number(m.Monat), QString::number(m.Jahr)};
        for (const DoubleField &f : before)
            cells << CsvDouble(LoadField(m, f.field));
        for (int k = 0; k < kCountedFieldCount; ++k)
            cells << QString::number(m.Counts[k]);
        cells << CsvDouble(m.P9);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    CliPrint(out);
    return 0;
}

const CliCommandRegistrar observersCommand("observers", "", Observers,
                                           "die Beobachter und ihre Ordner, der aktuelle mit * markiert",
                                           CliNeeds::NoObserver);
const CliCommandRegistrar yearCommand("year", "YEAR [MONTH]", Year,
                                      "die Tagesdatensätze des Jahres (oder Monats) als CSV");
const CliCommandRegistrar
    archiveCommand("archive", "YEAR", Archive,
                   "das Auswertungsarchiv auffrischen, die 12 Monatswerte des Jahres als CSV");

} // namespace
