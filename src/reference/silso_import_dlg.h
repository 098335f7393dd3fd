#pragma once

#include "network/import_dlg.h"
#include "silso_import.h"

// "SILSO Tageszahlen importieren" / "SILSO Halbkugelzahlen importieren": one
// of SILSO's files into the reference store that all observers compare with.
// The dialog of the other imports without the year fields: the whole file is
// taken, and the days (months) it holds replace those stored.
//
// Use: create once per series and keep; exec() shows it, OK imports and
// tells the user what was imported. F1 and "Hilfe" open the help page.
class TSilsoImportDlg : public TImportDlg {
    Q_OBJECT
public:
    TSilsoImportDlg(QWidget *parent, TSilsoSeries series);

    TSilsoSeries series() const { return series_; }

signals:
    // After an import that put something into the store.
    void imported();

protected:
    void runImport(const QString &filePath, int firstYear, int lastYear) override;

private:
    TSilsoSeries series_;
};
