#include "backup_dlg.h"

#include "backup_common_ui.h"
#include "backup_settings.h"
#include "backup_writer.h"

#include "storage/tarvo_error.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// "tarvo.ini, 2 Beobachter (Muster, Anna) und die Referenzdaten – 57 Dateien, zusammen 3.1 MB"
QString ContentsText(const InstallationFiles &installation) {
    qint64 bytes = 0;
    for (const BackupSource &f : installation.files)
        bytes += QFileInfo(f.filePath).size();
    QStringList keys;
    for (const BackupObserver &o : installation.observers)
        keys << o.key;
    const bool references =
        std::any_of(installation.files.begin(), installation.files.end(), [](const BackupSource &f) {
            return f.entry.startsWith(kReferenceFolder + QLatin1Char('/'));
        });
    QString text = QStringLiteral("tarvo.ini, %1 Beobachter").arg(installation.observers.size());
    if (!keys.isEmpty())
        text += QStringLiteral(" (%1)").arg(keys.join(QStringLiteral(", ")));
    if (references)
        text += QStringLiteral(" und die Referenzdaten");
    return text + QStringLiteral(" – %1, zusammen %2")
                      .arg(FileCount(installation.files.size()))
                      .arg(QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat));
}

} // namespace

TBackupDlg::TBackupDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBackupDlg"));
    setWindowTitle(QStringLiteral("Datensicherung"));

    auto *gbInhalt = new QGroupBox(QStringLiteral(" Gesichert werden "));
    LInhalt = WrappedLabel("LInhalt");
    LLetzte = WrappedLabel("LLetzte");
    auto *il = new QVBoxLayout(gbInhalt);
    il->addWidget(LInhalt);
    il->addWidget(LLetzte);

    auto *gbZiel = new QGroupBox(QStringLiteral(" Sicherungsdatei "));
    EOrdner = Named(new QLineEdit, "EOrdner");
    EOrdner->setMinimumWidth(EOrdner->fontMetrics().averageCharWidth() * 50);
    BtnOrdner = Named(new QPushButton(QStringLiteral("Du&rchsuchen…")), "BtnOrdner");
    BtnOrdner->setAutoDefault(false);
    EDatei = Named(new QLineEdit, "EDatei");
    auto *zl = new QGridLayout(gbZiel);
    zl->addWidget(BuddyLabel(QStringLiteral("&Ordner:"), EOrdner), 0, 0);
    zl->addWidget(EOrdner, 0, 1);
    zl->addWidget(BtnOrdner, 0, 2);
    zl->addWidget(BuddyLabel(QStringLiteral("&Dateiname:"), EDatei), 1, 0);
    zl->addWidget(EDatei, 1, 1, 1, 2);
    zl->setColumnStretch(1, 1);

    QLabel *tipp = WrappedLabel("LTipp");
    tipp->setText(
        QStringLiteral("Speichern Sie die Sicherung auf einem anderen Datenträger (USB-Stick, externe "
                       "Festplatte) und bewahren Sie ihn getrennt vom Rechner auf. Die Sicherung enthält "
                       "auch die E-Mail-Einstellungen mit dem Passwort."));

    const DialogButtonRow row = MakeDialogButtonRow();
    BtnOK = row.ok;
    BtnOK->setText(QStringLiteral("&Sichern"));
    BtnCancel = row.cancel;
    BtnHelp = row.help;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gbInhalt);
    layout->addWidget(gbZiel);
    layout->addWidget(tipp);
    layout->addStretch(1);
    layout->addLayout(row.layout);

    connect(BtnOK, &QPushButton::clicked, this, &TBackupDlg::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnOrdner, &QPushButton::clicked, this, &TBackupDlg::BtnOrdnerClick);
    ConnectBackupHelp(this, BtnHelp);
}

void TBackupDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when restored after minimising: the edits stay
        FormShow();
}

void TBackupDlg::FormShow() {
    writtenPath_.clear();
    try {
        LInhalt->setText(ContentsText(CollectInstallationFiles(BackupScope::Current())));
        BtnOK->setEnabled(true);
    } catch (const TarvoError &e) {
        LInhalt->setText(e.message());
        BtnOK->setEnabled(false);
    }
    QDate last;
    try {
        last = LoadBackupSettings().lastBackup;
    } catch (const TarvoError &) {
        // tarvo.ini unreadable: the contents line above says so already
    }
    LLetzte->setText(
        last.isValid()
            ? QStringLiteral("Letzte Datensicherung: %1").arg(last.toString(QStringLiteral("dd.MM.yyyy")))
            : QStringLiteral("Letzte Datensicherung: noch keine"));
    EOrdner->setText(OfferedBackupFolder());
    EDatei->setText(DefaultBackupFileName(QDate::currentDate()));
    EDatei->setFocus();
    adjustSize(); // the wrapped texts may need more lines than the empty labels had
}

void TBackupDlg::BtnOrdnerClick() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Ordner für die Datensicherung"), EOrdner->text(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!folder.isEmpty())
        EOrdner->setText(QDir::toNativeSeparators(folder));
}

QString TBackupDlg::targetPath() const {
    QString name = EDatei->text().trimmed();
    if (!name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        name += QStringLiteral(".zip");
    return QDir(QDir::fromNativeSeparators(EOrdner->text().trimmed())).absoluteFilePath(name);
}

void TBackupDlg::BtnOKClick() {
    const QString folder = QDir::fromNativeSeparators(EOrdner->text().trimmed());
    const QString name = EDatei->text().trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        ShowError(this, QStringLiteral("Den Ordner „%1“ gibt es nicht.").arg(EOrdner->text().trimmed()));
        EOrdner->setFocus();
        return;
    }
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        ShowError(this, QStringLiteral("Bitte geben Sie einen Dateinamen ohne Ordner an, zum Beispiel „%1“.")
                            .arg(DefaultBackupFileName(QDate::currentDate())));
        EDatei->setFocus();
        return;
    }
    const QString path = targetPath();
    if (QFileInfo::exists(path)) {
        QMessageBox ask(QMessageBox::Question, QStringLiteral("Datensicherung"),
                        QStringLiteral("Die Datei „%1“ gibt es schon. Soll sie ersetzt werden?")
                            .arg(QDir::toNativeSeparators(path)),
                        QMessageBox::NoButton, this);
        QPushButton *replace = ask.addButton(QStringLiteral("&Ersetzen"), QMessageBox::AcceptRole);
        ask.setDefaultButton(ask.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
        ExecMessageBox(ask);
        if (ask.clickedButton() != replace)
            return;
    }
    BackupResult result;
    try {
        result =
            WriteBackup(path, BackupScope::Current(), QDateTime::currentDateTime(), BackupNote{true, folder});
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
        return;
    }
    writtenPath_ = result.path;
    QString note;
    if (!result.settingsError.isEmpty())
        note = QStringLiteral("\n\nDas Datum der Sicherung kann nicht vermerkt werden: %1")
                   .arg(result.settingsError);
    ShowInformation(this, QStringLiteral("Die Datensicherung ist geschrieben:\n%1\n\n%2")
                                  .arg(QDir::toNativeSeparators(result.path),
                                       BackupSummaryLines(result.manifest).join(QLatin1Char('\n'))) +
                              note);
    accept();
}
