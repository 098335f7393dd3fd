#pragma once

#include "export_files.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Exportieren": chooses the export type, the directory and the file name.
//
// The month table saves its year first, then:
//     dlg->Execute(profile, yearBuffer, year, month, csvFromGrid, htmlFromGrid);
// which shows the dialog; OK writes the file and closes it, or shows why the
// file cannot be written and stays open (the result says whether a file was
// written). The producers give the grid's ';'-separated text and its HTML
// table.
class TExportDLG : public QDialog {
    Q_OBJECT

public:
    explicit TExportDLG(QWidget *parent = nullptr);
    ~TExportDLG() override;

    void SetMonth(const TObserverProfile &profile, const TYearBuffer &year, int yearNumber, int month,
                  TExportProducer csv, TExportProducer html);
    bool Execute(const TObserverProfile &profile, const TYearBuffer &year, int yearNumber, int month,
                 TExportProducer csv, TExportProducer html);

    // The result of the dialog after OK.
    int ExportType() const;
    QString ExportFileName() const;
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
    std::unique_ptr<TYearBuffer> year_;
    int yearNumber_ = 0;
    int month_ = 1;
    TExportProducer csv_;
    TExportProducer html_;

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
