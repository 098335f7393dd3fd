#pragma once

#include "import_dlg.h"

// "definitive Relativzahlen TARVO-Netz Import Filter": the network's
// definitive relative numbers (rtarvo.dat) into NetDef of the archive.
//
// Use: create once and keep; exec() shows it, and OK imports into the current
// observer's archive and tells the user.
class TdrTarvoDlg : public TImportDlg {
    Q_OBJECT
public:
    explicit TdrTarvoDlg(QWidget *parent = nullptr);

    // The network's addresses shown in the two link labels.
    static QString DataAddress();
    static QString HomeAddress();

protected:
    void runImport(const QString &filePath, int firstYear, int lastYear) override;
};
