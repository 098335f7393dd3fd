#pragma once

#include <QDialog>
#include <QStringList>

class FocusGroupWatcher;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What tells the two import dialogs apart.
struct TImportDlgSetup {
    QString caption;
    QString intro;       // Label2
    QString dataCaption; // Label3
    QString dataUrl;     // Link1
    QString homeCaption; // Label1
    QString homeUrl;     // Link2
    QString attribution; // source and licence line, empty for none
    bool yearRange = true; // false: no year fields; the whole file is imported
    int minYear = 0;
    int defaultFirstYear = 0;
    QString defaultFile;
    QStringList filters; // "Name|mask;mask"
};

// The common body of the reference-number import dialogs: links to the data,
// year range, file choice. OK checks the years and runs the import.
class TImportDlg : public QDialog {
    Q_OBJECT
public:
    TImportDlg(const TImportDlgSetup &setup, QWidget *parent = nullptr);

    // The folder the file name is resolved in (and whose files are listed).
    void setDirectory(const QString &directory);
    QString directory() const { return directory_; }
    // The year OK checks against; taken when the dialog is created.
    void setCurrentYear(int year) { currentYear_ = year; }
    int firstYear() const;
    int lastYear() const;
    QString filePath() const;

signals:
    void helpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Runs the import and tells the user; throws TarvoError. Without a year
    // range both years are 0.
    virtual void runImport(const QString &filePath, int firstYear, int lastYear) = 0;

private:
    void Edit1Exit();
    void Edit2Exit();
    void YearExit(QLineEdit *edit);
    void BtnOKClick();
    void LinkClick(const QString &url);
    void DLBDblClick();
    void FLBClick();
    void FCBChange();
    void DCBChange();
    void ListDirectory();

    TImportDlgSetup setup_;
    QString directory_;
    int currentYear_;
    FocusGroupWatcher *watcher_ = nullptr;
    QLineEdit *Edit1_ = nullptr;
    QLineEdit *Edit2_ = nullptr;
    QLineEdit *FE_ = nullptr;
    QListWidget *DLB_ = nullptr;
    QListWidget *FLB_ = nullptr;
    QComboBox *DCB_ = nullptr;
    QComboBox *FCB_ = nullptr;
    QLabel *DirLabel_ = nullptr;
};
