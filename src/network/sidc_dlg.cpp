#include "sidc_dlg.h"

#include "import_rules.h"
#include "import_sidc.h"
#include "uikit/messages.h"

namespace {
TImportDlgSetup SidcSetup() {
    TImportDlgSetup s;
    s.caption = QStringLiteral("SIDC Import Filter");
    s.intro =
        QStringLiteral("Die aktuellen Monatsdaten der SIDC sind immer auf der Internetseite zu finden:");
    s.dataCaption = QStringLiteral("Monatsdaten:");
    s.dataUrl = QStringLiteral("https://www.sidc.be/SILSO/DATA/SN_m_tot_V2.0.txt");
    s.homeCaption = QStringLiteral("SIDC - Internetseite:");
    s.homeUrl = QStringLiteral("https://www.sidc.be/SILSO/");
    s.attribution = SilsoAttribution();
    s.minYear = kSidcFirstYear;
    s.defaultFirstYear = 1950;
    s.defaultFile = QStringLiteral("monthssn.dat");
    s.filters = {QStringLiteral("SIDC-Datei|monthssn.dat"),
                 QStringLiteral("SILSO-Dateien (SN_*.txt, SN_*.csv)|SN_*.txt;SN_*.csv"),
                 QStringLiteral("Daten Dateien|*.dat"), QStringLiteral("Alle Dateien (*.*)|*")};
    return s;
}
} // namespace

TSIDCDlg::TSIDCDlg(QWidget *parent) : TImportDlg(SidcSetup(), parent) {
    setObjectName(QStringLiteral("TSIDCDlg"));
}

void TSIDCDlg::runImport(const QString &filePath, int firstYear, int lastYear) {
    const TSidcImportResult result = ImportSidc(filePath, firstYear, lastYear);
    ShowInformation(this, ImportDoneMessage(SidcImportedMessage(), result.report));
    if (IsOldSidcScale(result.format) && result.report.monthsWritten > 0)
        ShowInformation(this, OldSidcScaleNotice());
}
