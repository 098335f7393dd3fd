#include "silso_import_dlg.h"

#include "network/import_rules.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"

namespace {

TImportDlgSetup SilsoSetup(TSilsoSeries series) {
    const bool daily = series == TSilsoSeries::Daily;
    TImportDlgSetup s;
    s.caption = daily ? QStringLiteral("SILSO Tageszahlen importieren")
                      : QStringLiteral("SILSO Halbkugelzahlen importieren");
    s.intro = (daily ? QStringLiteral("Die täglichen Sonnenfleckenzahlen des SILSO")
                     : QStringLiteral("Die monatlichen Sonnenfleckenzahlen des SILSO für die Nord- und "
                                      "Südhalbkugel")) +
              QStringLiteral(" sind immer auf der Internetseite zu finden. Tarvo bewahrt sie für alle "
                             "Beobachter auf: eine neue Datei ersetzt die ") +
              (daily ? QStringLiteral("Tage") : QStringLiteral("Monate")) +
              QStringLiteral(", die sie enthält, alle anderen bleiben.");
    s.dataCaption = daily ? QStringLiteral("Tageszahlen:") : QStringLiteral("Halbkugelzahlen:");
    s.dataUrl = daily ? QStringLiteral("https://www.sidc.be/SILSO/DATA/SN_d_tot_V2.0.csv")
                      : QStringLiteral("https://www.sidc.be/SILSO/DATA/SN_m_hem_V2.0.csv");
    s.homeCaption = QStringLiteral("SILSO - Internetseite:");
    s.homeUrl = QStringLiteral("https://www.sidc.be/SILSO/");
    s.attribution = SilsoAttribution();
    s.yearRange = false;
    s.defaultFile = daily ? QStringLiteral("SN_d_tot_V2.0.csv") : QStringLiteral("SN_m_hem_V2.0.csv");
    s.filters = {daily ? QStringLiteral("SILSO-Tageszahlen (SN_d_tot*)|SN_d_tot*.csv;SN_d_tot*.txt")
                       : QStringLiteral("SILSO-Halbkugelzahlen (SN_m_hem*)|SN_m_hem*.csv"),
                 QStringLiteral("CSV- und Textdateien|*.csv;*.txt"), QStringLiteral("Alle Dateien (*.*)|*")};
    return s;
}

} // namespace

TSilsoImportDlg::TSilsoImportDlg(QWidget *parent, TSilsoSeries series)
    : TImportDlg(SilsoSetup(series), parent), series_(series) {
    setObjectName(series == TSilsoSeries::Daily ? QStringLiteral("TSilsoTageDlg")
                                                : QStringLiteral("TSilsoHalbkugelDlg"));
    // F1 presses the help button (the import dialogs' common body).
    connect(this, &TImportDlg::helpRequested, this, [this] { ShowHelp(this, HelpTopic::SilsoComparison); });
}

void TSilsoImportDlg::runImport(const QString &filePath, int, int) {
    const TSilsoImportSummary summary =
        series_ == TSilsoSeries::Daily ? ImportSilsoDaily(filePath) : ImportSilsoHemispheric(filePath);
    emit imported();
    ShowInformation(this, SilsoImportDoneMessage(summary));
}
