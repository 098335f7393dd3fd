#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

// "Info's zum TARVO Programm": product name, version, makers and their web
// addresses, with the JPEG picture decoded when the box is created.
class TAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAboutDlg(QWidget *parent = nullptr);

    // The decoded picture (null when it could not be read).
    const QImage &picture() const;

    void LinkClick(const QString &caption);

private:
    void FormCreate();
    QLabel *linkLabel(const char *name, const QString &address);

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *Copyright;
    QImage picture_;
};
