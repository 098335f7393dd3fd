#include "einst_email_dlg.h"

#include "email_settings.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *Edit(const char *name) {
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(60);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 36);
    return edit;
}

QCheckBox *Check(const char *name, const QString &caption) {
    auto *box = new QCheckBox(caption);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

TEinstEmailDlg::TEinstEmailDlg(QWidget *parent) : QDialog(parent), Profile(EmptyProfile()) {
    setObjectName(QStringLiteral("TEinstEmailDlg"));
    setWindowTitle(QStringLiteral("Einstellungen für den E-Mail Versand"));

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    auto *eigene = new QWidget;
    eigene->setObjectName(QStringLiteral("Eigene"));
    auto *gbOwn = new QGroupBox(QStringLiteral(" Ihre persönlichen Internet-Daten zum Versenden "));
    eMail = Edit("eMail");
    eName = Edit("eName");
    SMTP = Edit("SMTP");
    SMTPBen = Edit("SMTPBen");
    SMTPPass = Edit("SMTPPass");
    SMTPPass->setEchoMode(QLineEdit::Password);
    SMTPPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    cbOhneTLS = Check("cbOhneTLS", QStringLiteral("Anmeldung ohne Verschlüsselung erlauben"));
    cbOhneTLS->setToolTip(
        QStringLiteral("Nur für einen SMTP-Server, der keine verschlüsselte Verbindung kennt: "
                       "Benutzername und Passwort gehen dann lesbar über das Netz."));
    cbCC = Check("cbCC", QStringLiteral("E-Mail als CC auch an mich senden"));
    auto *ol = new QGridLayout(gbOwn);
    ol->addWidget(BuddyLabel(QStringLiteral("E-Mail Adresse"), eMail), 0, 0);
    ol->addWidget(eMail, 0, 1);
    ol->addWidget(BuddyLabel(QStringLiteral("Vorname Name"), eName), 1, 0);
    ol->addWidget(eName, 1, 1);
    ol->addWidget(BuddyLabel(QStringLiteral("SMTP-Server"), SMTP), 2, 0);
    ol->addWidget(SMTP, 2, 1);
    ol->addWidget(BuddyLabel(QStringLiteral("SMTP-Benutzer"), SMTPBen), 3, 0);
    ol->addWidget(SMTPBen, 3, 1);
    ol->addWidget(BuddyLabel(QStringLiteral("SMTP-Passwort"), SMTPPass), 4, 0);
    ol->addWidget(SMTPPass, 4, 1);
    ol->addWidget(cbOhneTLS, 5, 1);
    ol->addWidget(cbCC, 6, 1);
    ol->setColumnStretch(1, 1);
    auto *eigeneLayout = new QVBoxLayout(eigene);
    eigeneLayout->addWidget(gbOwn);
    eigeneLayout->addStretch(1);

    auto *gruppen = new QWidget;
    gruppen->setObjectName(QStringLiteral("Arbeitsgruppen"));
    auto *gbNets = new QGroupBox(QStringLiteral(" Die E-Mailadressen der Arbeitsgruppen "));
    eRe = Edit("eRe");
    EANetz = Edit("EANetz");
    eFackel = Edit("eFackel");
    ePosition = Edit("ePosition");
    const QString hint = QStringLiteral("E-Mailversand aktivieren");
    cbMailRe = Check("cbMailRe", QString());
    cbMailA = Check("cbMailA", QString());
    cbMailF = Check("cbMailF", QString());
    cbMailP = Check("cbMailP", QString());
    auto *nl = new QGridLayout(gbNets);
    const struct {
        const char *caption;
        QLineEdit *edit;
        QCheckBox *box;
    } rows[] = {{"Relativzahlen", eRe, cbMailRe},
                {"A-Netz", EANetz, cbMailA},
                {"Fackeln", eFackel, cbMailF},
                {"Positionen", ePosition, cbMailP}};
    auto *sendHeading = new QLabel(QStringLiteral("senden"));
    nl->addWidget(sendHeading, 0, 2, Qt::AlignHCenter);
    int row = 1;
    for (const auto &r : rows) {
        r.box->setToolTip(hint);
        nl->addWidget(BuddyLabel(QString::fromUtf8(r.caption), r.edit), row, 0);
        nl->addWidget(r.edit, row, 1);
        nl->addWidget(r.box, row, 2, Qt::AlignHCenter);
        ++row;
    }
    nl->setColumnStretch(1, 1);
    auto *gruppenLayout = new QVBoxLayout(gruppen);
    gruppenLayout->addWidget(gbNets);
    gruppenLayout->addStretch(1);

    PageControl1->addTab(eigene, QStringLiteral("Eigene"));
    PageControl1->addTab(gruppen, QStringLiteral("Arbeitsgruppen"));

    const DialogButtonRow buttonRow = MakeDialogButtonRow();
    BtnOK = buttonRow.ok;
    BtnCancel = buttonRow.cancel;
    BtnHelp = buttonRow.help;
    QHBoxLayout *buttons = buttonRow.layout;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TEinstEmailDlg::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { ShowHelp(this, HelpTopic::Mail); });
    InstallHelpKey(this, BtnHelp);
}

void TEinstEmailDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when restored after minimising: the edits stay
        FormShow();
}

void TEinstEmailDlg::FormShow() {
    PageControl1->setCurrentIndex(0);
    const EmailSettingsInput in = EmailSettingsFromProfile(Profile);
    eMail->setText(in.email);
    eName->setText(in.eName);
    SMTP->setText(in.smtp);
    SMTPBen->setText(in.smtpUser);
    SMTPPass->setText(in.smtpPassword);
    eRe->setText(in.addrRe);
    EANetz->setText(in.addrA);
    eFackel->setText(in.addrFackel);
    ePosition->setText(in.addrPos);
    cbOhneTLS->setChecked(in.allowPlainLogin);
    cbCC->setChecked(in.sendCC);
    cbMailRe->setChecked(in.sendRe);
    cbMailA->setChecked(in.sendA);
    cbMailF->setChecked(in.sendF);
    cbMailP->setChecked(in.sendP);
    eMail->setFocus();
}

void TEinstEmailDlg::BtnOKClick() {
    EmailSettingsInput in;
    in.email = eMail->text();
    in.eName = eName->text();
    in.smtp = SMTP->text();
    in.smtpUser = SMTPBen->text();
    in.smtpPassword = SMTPPass->text();
    in.addrRe = eRe->text();
    in.addrA = EANetz->text();
    in.addrFackel = eFackel->text();
    in.addrPos = ePosition->text();
    in.allowPlainLogin = cbOhneTLS->isChecked();
    in.sendCC = cbCC->isChecked();
    in.sendRe = cbMailRe->isChecked();
    in.sendA = cbMailA->isChecked();
    in.sendF = cbMailF->isChecked();
    in.sendP = cbMailP->isChecked();
    if (const QString problem = EmailSettingsProblem(in); !problem.isEmpty()) {
        ShowError(this, problem);
        return;
    }
    TObserverProfile edited = Profile;
    ApplyEmailSettings(edited, in);
    try {
        SaveEmailSettings(edited);
    } catch (const TarvoError &e) {
        // Not stored: the dialog stays open so that nothing typed is lost.
        ShowError(this, e.message());
        return;
    }
    Profile = edited;
    accept();
}
