#include "drtarvo_dlg.h"

#include "import_netdef.h"
#include "import_rules.h"
#include "uikit/messages.h"

#ifndef TARVO_NETWORK_DATA_URL
#define TARVO_NETWORK_DATA_URL "https://www.tarvo-netz.de/daten/rtarvo.dat"
#endif
#ifndef TARVO_NETWORK_HOME_URL
#define TARVO_NETWORK_HOME_URL "https://www.tarvo-netz.de/"
#endif

QString TdrTarvoDlg::DataAddress() {
    return QStringLiteral(TARVO_NETWORK_DATA_URL);
}
QString TdrTarvoDlg::HomeAddress() {
    return QStringLiteral(TARVO_NETWORK_HOME_URL);
}

namespace {
TImportDlgSetup NetDefSetup() {
    TImportDlgSetup s;
    s.caption = QStringLiteral("definitive Relativzahlen TARVO-Netz Import Filter");
    s.intro =
        QStringLiteral("Die aktuellen Monatsdaten des TARVO-Netzes sind auf der Internetseite zu finden:");
    s.dataCaption = QStringLiteral("Monatsdaten:");
    s.dataUrl = TdrTarvoDlg::DataAddress();
    s.homeCaption = QStringLiteral("Tarvo-Internetseite:");
    s.homeUrl = TdrTarvoDlg::HomeAddress();
    s.minYear = kNetDefFirstYear;
    s.defaultFirstYear = 1977;
    s.defaultFile = QStringLiteral("rtarvo.dat");
    s.filters = {QStringLiteral("def.Re TARVO-Datei|rtarvo.dat"), QStringLiteral("Daten Dateien|*.dat"),
                 QStringLiteral("Alle Dateien (*.*)|*")};
    return s;
}
} // namespace

TdrTarvoDlg::TdrTarvoDlg(QWidget *parent) : TImportDlg(NetDefSetup(), parent) {
    setObjectName(QStringLiteral("TdrTarvoDlg"));
}

void TdrTarvoDlg::runImport(const QString &filePath, int firstYear, int lastYear) {
    const TImportReport report = ImportNetworkDefinitive(filePath, firstYear, lastYear);
    ShowInformation(this, ImportDoneMessage(NetDefImportedMessage(), report));
}
