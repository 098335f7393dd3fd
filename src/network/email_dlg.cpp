#include "network/list_mail.h"
#include "email_dlg.h"

#include "storage/cp1252.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

TEmailDLG::TEmailDLG(QWidget *parent) : QDialog(parent), year_(std::make_unique<TYearBuffer>()) {
    std::memset(year_.get(), 0, sizeof(TYearBuffer));
    setObjectName(QStringLiteral("TEmailDLG"));
    setWindowTitle(QStringLiteral("E-Mail-Versand"));

    Meldung = new QListWidget(this);
    Meldung->setObjectName(QStringLiteral("Meldung"));
    Meldung->setToolTip(QStringLiteral("Status grau bedeutet email schon versendet"));
    eSub = new QLineEdit(QStringLiteral("Tarvodaten Monat/Jahr/Beobachter"), this);
    eSub->setObjectName(QStringLiteral("eSub"));
    EMailBody = new QPlainTextEdit(this);
    EMailBody->setObjectName(QStringLiteral("EMailBody"));
    EMailBody->setReadOnly(true);
    EMailBody->setLineWrapMode(QPlainTextEdit::NoWrap);
    EMailBody->setFont(QFont(QStringLiteral("Courier New"), 9));
    Status = new QPlainTextEdit(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setReadOnly(true);
    Status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    lSMTP = Named(new QLabel(this), "lSMTP");
    lSMTPBen = Named(new QLabel(this), "lSMTPBen");
    lDate = Named(new QLabel(this), "lDate");
    leMail = Named(new QLabel(this), "leMail");
    leName = Named(new QLabel(this), "leName");
    auto *local = new QGroupBox(QStringLiteral(" lokale Einstellungen "), this);
    auto *localLayout = new QGridLayout(local);
    const std::pair<const char *, QLabel *> rows[] = {{"SMTP-Server:", lSMTP},
                                                      {"SMTP-Benutzer:", lSMTPBen},
                                                      {"Datum:", lDate},
                                                      {"E-Mail:", leMail},
                                                      {"Name:", leName}};
    int r = 0;
    for (const auto &[caption, label] : rows) {
        localLayout->addWidget(new QLabel(QString::fromUtf8(caption), local), r, 0);
        localLayout->addWidget(label, r++, 1);
    }

    BtnSend = new QPushButton(QStringLiteral("&Senden"), this);
    BtnSend->setObjectName(QStringLiteral("BtnSend"));
    BtnSend->setDefault(true);
    BtnClose = new QPushButton(QStringLiteral("S&chließen"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnHelp = new QPushButton(QStringLiteral("&Hilfe"), this);
    BtnHelp->setObjectName(QStringLiteral("BtnHelp"));
    connect(BtnSend, &QPushButton::clicked, this, &TEmailDLG::BtnSendClick);
    connect(BtnClose, &QPushButton::clicked, this, &TEmailDLG::reject);
    connect(BtnHelp, &QPushButton::clicked, this, &TEmailDLG::helpRequested);
    InstallHelpKey(this, BtnHelp);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("an wen soll eine e-Mail verschickt werden:"), this));
    left->addWidget(Meldung);
    left->addWidget(local);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Betreff:"), this));
    right->addWidget(eSub);
    right->addWidget(new QLabel(QStringLiteral("Text"), this));
    right->addWidget(EMailBody, 2);
    right->addWidget(new QLabel(QStringLiteral("Statusfenster"), this));
    right->addWidget(Status, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSend);
    buttons->addWidget(BtnClose);
    buttons->addWidget(BtnHelp);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttons);
    resize(820, 520);

    smtp_.setStatusCallback([this](const QString &text) {
        AddStatus(QStringLiteral("Interne Meldung: ") + text);
        // Lets the dialog repaint and the cancel button be pressed during the transfer.
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    });
}

TEmailDLG::~TEmailDLG() = default;

void TEmailDLG::setMonth(const TObserverProfile &profile, const TYearBuffer &year, int yearNumber,
                         int month) {
    if (month < 1 || month > 12)
        throw TarvoError(QStringLiteral("Ungültiger Monat %1").arg(month));
    profile_ = profile;
    *year_ = year;
    yearNumber_ = yearNumber;
    month_ = month;
    if (isVisible())
        FormShow();
}

void TEmailDLG::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!sending_)
        FormShow();
}

void TEmailDLG::FormShow() {
    SetIdle();
    ConfigureSmtpClient(smtp_, profile_);
    lSMTP->setText(profile_.SMTP.text());
    lSMTPBen->setText(profile_.SMTPBen.text());
    leMail->setText(profile_.email.text());
    leName->setText(profile_.eName.text());
    setWindowTitle(MailDialogCaption(profile_.Bugfix, DispatchStatus(*year_, month_)));
    // The same text as the Date header the mail will carry.
    lDate->setText(QString::fromLatin1(MailDate(QDateTime::currentDateTime())));
    Status->clear();
    EMailBody->clear();
    entries_ = MailListEntries(profile_);
    Meldung->clear();
    const QByteArray status = DispatchStatus(*year_, month_);
    for (const MailListEntry &entry : entries_) {
        auto *item = new QListWidgetItem(MailListEntryText(entry), Meldung);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsUserTristate |
                       Qt::ItemIsSelectable);
        item->setCheckState(InitialListState(profile_, status, entry.kind));
    }
}

void TEmailDLG::SetIdle() {
    sending_ = false;
    BtnSend->setText(QStringLiteral("&Senden"));
}

void TEmailDLG::SetSending() {
    sending_ = true;
    BtnSend->setText(QStringLiteral("&Abbrechen"));
}

void TEmailDLG::AddStatus(const QString &text) {
    Status->appendPlainText(text);
}

void TEmailDLG::BtnSendClick() {
    if (sending_) {
        // Pressed again during a transfer (from the status callback's event
        // processing): the transport stops the transfer, which then fails.
        SetIdle();
        if (smtp_.connected())
            smtp_.disconnect();
        return;
    }
    SetSending();
    QList<int> rows;
    for (int i = 0; i < Meldung->count() && i < entries_.size(); ++i)
        if (Meldung->item(i)->checkState() == Qt::Checked)
            rows << i;
    if (rows.isEmpty()) {
        ShowInformation(this, NoListChosenMessage());
        SetIdle();
        return;
    }
    ConfirmSendingAgain(rows);
    if (rows.isEmpty()) {
        SetIdle();
        return;
    }
    EnsureDispatchStatus(*year_, month_);
    QList<MailListEntry> lists;
    for (int i : std::as_const(rows))
        lists << entries_[i];
    TDispatchSteps steps;
    steps.composing = [this](int, const TListMail &mail) {
        AddStatus(mail.StatusLine);
        QStringList shown;
        for (const QByteArray &line : mail.Lines)
            shown << FromCp1252(line);
        EMailBody->setPlainText(shown.join(QLatin1Char('\n')));
        eSub->setText(mail.Subject);
    };
    steps.failed = [this](const QString &reason) { AddStatus(reason); };
    steps.skipped = [this](const QString &notice) { ShowInformation(this, notice); };
    steps.cancelled = [this] { return !sending_; };
    steps.sent = [&](int index) {
        MarkListSent(*year_, month_, lists[index].kind);
        // Gone out: the row shows the state of a list sent this month.
        Meldung->item(rows[index])->setCheckState(Qt::PartiallyChecked);
        setWindowTitle(MailDialogCaption(profile_.Bugfix, DispatchStatus(*year_, month_)));
    };
    const QList<TListOutcome> outcomes =
        SendMonthLists(smtp_, lists, profile_, *year_, yearNumber_, month_, steps);
    bool stopped = false;
    for (const TListOutcome &o : outcomes)
        stopped = stopped || (!o.sent && o.entry.kind != MailPositions);
    SetIdle();
    const QString summary = DispatchSummary(outcomes);
    if (!stopped)
        ShowInformation(this, summary);
    else
        ShowError(this, summary);
    if (closeAfterSend_) {
        closeAfterSend_ = false;
        QDialog::reject();
    }
}

void TEmailDLG::ConfirmSendingAgain(QList<int> &rows) {
    QList<int> again;
    QList<MailListEntry> entries;
    for (int i : std::as_const(rows))
        if (entries_[i].kind != MailPositions && ListSent(*year_, month_, entries_[i].kind)) {
            again << i;
            entries << entries_[i];
        }
    if (again.isEmpty())
        return;
    const QList<Answer> answers = {{"BtnSendAgain", QStringLiteral("&Noch einmal senden")},
                                   {"BtnNotAgain", QStringLiteral("N&icht noch einmal")}};
    if (AskQuestion(this, SendAgainQuestion(entries), answers, 1) == 0)
        return;
    // Not again: those rows go back to "sent", the others still go out.
    for (int i : std::as_const(again)) {
        Meldung->item(i)->setCheckState(Qt::PartiallyChecked);
        rows.removeOne(i);
    }
}

void TEmailDLG::reject() {
    if (sending_) {
        // Closing during a transfer cancels it; the dialog closes once the send loop has ended.
        closeAfterSend_ = true;
        BtnSendClick();
        return;
    }
    QDialog::reject();
}
