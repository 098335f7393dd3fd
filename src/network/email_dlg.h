#pragma once

#include "email_dispatch.h"
#include "mail/smtp_client.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "E-Mail-Versand": mails the month shown in the month table, one mail per
// chosen network list, and marks each list sent in the month's dispatch
// status string.
//
// The month table opens it with copies:
//     dlg->setMonth(profile, yearBuffer, year, month);
//     dlg->exec();
//     yearBuffer = dlg->year(); // carries the updated dispatch status
//     (and marks the year modified, so that its next save stores the status)
class TEmailDLG : public QDialog {
    Q_OBJECT

public:
    explicit TEmailDLG(QWidget *parent = nullptr);
    ~TEmailDLG() override;

    void setMonth(const TObserverProfile &profile, const TYearBuffer &year, int yearNumber, int month);
    const TYearBuffer &year() const { return *year_; }
    bool isSending() const { return sending_; }

signals:
    void helpRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private slots:
    void BtnSendClick();

private:
    void FormShow();
    void SetIdle();
    void SetSending();
    void AddStatus(const QString &text);
    // Asks before lists already sent this month go out again; the rows not
    // to be sent again leave `rows`.
    void ConfirmSendingAgain(QList<int> &rows);

    TObserverProfile profile_{};
    std::unique_ptr<TYearBuffer> year_;
    int yearNumber_ = 0;
    int month_ = 1;
    QList<MailListEntry> entries_;
    TSmtpClient smtp_;
    bool sending_ = false;
    bool closeAfterSend_ = false;

    QListWidget *Meldung;
    QLineEdit *eSub;
    QPlainTextEdit *EMailBody;
    QPlainTextEdit *Status;
    QLabel *lSMTP;
    QLabel *lSMTPBen;
    QLabel *lDate;
    QLabel *leMail;
    QLabel *leName;
    QPushButton *BtnSend;
    QPushButton *BtnClose;
    QPushButton *BtnHelp;
};
