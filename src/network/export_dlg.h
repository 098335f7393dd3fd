#pragma once

#include "export_files.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Exportieren": chooses the export type, the directory and the file name.
//
// The month table saves its year first, then:
//     dlg->Execute(profile, document);
// which shows the dialog; OK writes the export of the document's month and
// closes it, or shows why the file cannot be written and stays open (the
// result says whether a file was written).
class TExportDLG : public QDialog {
    Q_OBJECT

public:
    explicit TExportDLG(QWidget *parent = nullptr);
    ~TExportDLG() override;

    void setMonth(const TObserverProfile &profile, const TMonthDocument &month);
    bool Execute(const TObserverProfile &profile, const TMonthDocument &month);

    // The result of the dialog after OK.
    int exportType() const;
    QString exportFileName() const;
    // Writes the chosen export; throws TarvoError.
    void WriteExport() const;

signals:
    void helpRequested();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void RGClick();
    void BtnOKClick();
    void FCBChange();
    void FLBClick();
    void BtnDirClick();
    void UpdateFileList();

private:
    void FormShow();

    TObserverProfile profile_{};
    TMonthDocument month_;

    QGroupBox *RG;
    QButtonGroup *rgButtons_;
    QLineEdit *FN;
    QLineEdit *DLB;
    QPushButton *BtnDir;
    QListWidget *FLB;
    QComboBox *FCB;
    QPushButton *BtnOK;
    QPushButton *BtnCancel;
    QPushButton *BtnHelp;
};
