#include "import_rules.h"

int ExpandTwoDigitYear(int year) {
    if (year < 50)
        year += 2000;
    if (year < 100)
        year += 1900;
    return year;
}

bool ImportYearsValid(int minYear, int firstYear, int lastYear, int currentYear) {
    return minYear <= firstYear && firstYear <= currentYear && firstYear <= lastYear &&
           lastYear <= currentYear;
}

QString ImportYearsProblem(int minYear, int firstYear, int lastYear, int currentYear) {
    const QString range =
        QStringLiteral("Es können die Jahre %1 bis %2 importiert werden.").arg(minYear).arg(currentYear);
    if (firstYear < 0)
        return QStringLiteral("„von Jahr“ ist keine Jahreszahl. ") + range;
    if (lastYear < 0)
        return QStringLiteral("„bis Jahr“ ist keine Jahreszahl. ") + range;
    if (firstYear < minYear)
        return QStringLiteral("„von Jahr“ %1 liegt vor %2. ").arg(firstYear).arg(minYear) + range;
    if (firstYear > currentYear)
        return QStringLiteral("„von Jahr“ %1 liegt nach dem laufenden Jahr. ").arg(firstYear) + range;
    if (lastYear > currentYear)
        return QStringLiteral("„bis Jahr“ %1 liegt nach dem laufenden Jahr. ").arg(lastYear) + range;
    if (lastYear < firstYear)
        return QStringLiteral("„bis Jahr“ %1 liegt vor „von Jahr“ %2.").arg(lastYear).arg(firstYear);
    return QString();
}

QString SidcImportedMessage() {
    return QStringLiteral("Die SIDC Daten sind jetzt importiert");
}

QString NetDefImportedMessage() {
    return QStringLiteral("Die definitiven Relativzahlen des\nTARVO-Netzes sind jetzt importiert");
}

QString OldSidcScaleNotice() {
    return QStringLiteral(
        "Diese Datei enthält die Sonnenfleckenzahlen nach der alten SILSO-Skala (vor 2015). "
        "Die heutigen Zahlen (Version 2.0) liegen etwa um den Faktor 1,4 bis 1,7 höher; "
        "für den Vergleich mit heutigen Werten laden Sie bitte die Datei SN_m_tot_V2.0.txt.");
}

QString SilsoAttribution() {
    return QStringLiteral("Quelle der Daten: WDC-SILSO, Royal Observatory of Belgium, Brussels "
                          "(Lizenz CC BY-NC 4.0)");
}
