#pragma once

#include "import_dlg.h"

// "SIDC Import Filter": SIDC monthly sunspot numbers into the archive (old
// monthssn.dat and today's SILSO files alike).
//
// Use: create once and keep; exec() shows it, and OK imports into the current
// observer's archive and tells the user.
class TSIDCDlg : public TImportDlg {
    Q_OBJECT
public:
    explicit TSIDCDlg(QWidget *parent = nullptr);

protected:
    void runImport(const QString &filePath, int firstYear, int lastYear) override;
};
