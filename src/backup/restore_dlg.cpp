#include "restore_dlg.h"

#include "backup_common_ui.h"

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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TRestoreDlg::TRestoreDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TRestoreDlg"));
    setWindowTitle(QStringLiteral("Wiederherstellen"));

    ESicherung = Named(new QLineEdit, "ESicherung");
    ESicherung->setMinimumWidth(ESicherung->fontMetrics().averageCharWidth() * 60);
    BtnDatei = Named(new QPushButton(QStringLiteral("Du&rchsuchen…")), "BtnDatei");
    BtnDatei->setAutoDefault(false);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(BuddyLabel(QStringLiteral("&Sicherungsdatei:"), ESicherung));
    fileRow->addWidget(ESicherung, 1);
    fileRow->addWidget(BtnDatei);

    auto *gbInhalt = new QGroupBox(QStringLiteral(" Inhalt der Sicherung "));
    LInhalt = WrappedLabel("LInhalt");
    LFehler = WrappedLabel("LFehler");
    LFehler->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto *il = new QVBoxLayout(gbInhalt);
    il->addWidget(LInhalt);
    il->addWidget(LFehler);

    MAenderungen = Named(new QPlainTextEdit, "MAenderungen");
    MAenderungen->setReadOnly(true);
    MAenderungen->setLineWrapMode(QPlainTextEdit::NoWrap);
    MAenderungen->setMinimumHeight(MAenderungen->fontMetrics().lineSpacing() * 8);
    LHinweis = WrappedLabel("LHinweis");

    const DialogButtonRow row = MakeDialogButtonRow();
    BtnOK = row.ok;
    BtnOK->setText(QStringLiteral("&Wiederherstellen"));
    BtnCancel = row.cancel;
    BtnHelp = row.help;
    // Enter opens the backup typed in; it never starts a restore nor closes the dialog.
    for (QPushButton *button : {BtnOK, BtnCancel, BtnHelp}) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(gbInhalt);
    layout->addWidget(BuddyLabel(QStringLiteral("Was sich ä&ndert:"), MAenderungen));
    layout->addWidget(MAenderungen, 1);
    layout->addWidget(LHinweis);
    layout->addLayout(row.layout);

    connect(BtnOK, &QPushButton::clicked, this, &TRestoreDlg::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnDatei, &QPushButton::clicked, this, &TRestoreDlg::BtnDateiClick);
    connect(ESicherung, &QLineEdit::returnPressed, this,
            [this] { openBackup(ESicherung->text().trimmed()); });
    ConnectBackupHelp(this, BtnHelp);
    clearPlan();
}

void TRestoreDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    safetyBackup_.clear();
    // A backup shown earlier is read again: the program folder may have changed since.
    if (plan_)
        openBackup(plan_->backup.path);
}

void TRestoreDlg::clearPlan() {
    plan_.reset();
    LInhalt->setText(QStringLiteral("Wählen Sie eine Sicherungsdatei (Tarvo-Sicherung-….zip)."));
    LFehler->clear();
    LFehler->hide();
    MAenderungen->clear();
    LHinweis->clear();
    BtnOK->setEnabled(false);
}

void TRestoreDlg::BtnDateiClick() {
    const QString start = ESicherung->text().isEmpty() ? OfferedBackupFolder() : ESicherung->text();
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Datensicherung öffnen"), start,
                                     QStringLiteral("Datensicherungen (*.zip);;Alle Dateien (*)"), nullptr,
                                     QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        openBackup(path);
}

void TRestoreDlg::openBackup(const QString &path) {
    clearPlan();
    ESicherung->setText(QDir::toNativeSeparators(path));
    if (path.isEmpty())
        return;
    try {
        plan_ = PlanRestore(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath(),
                            BackupScope::Current());
    } catch (const TarvoError &e) {
        LInhalt->clear();
        LFehler->setText(e.message() + QStringLiteral("\nEs wurde nichts verändert."));
        LFehler->show();
        adjustSize();
        return;
    }
    LInhalt->setText(BackupSummaryLines(plan_->backup.manifest).join(QLatin1Char('\n')));
    MAenderungen->setPlainText(plan_->changeLines().join(QLatin1Char('\n')));
    LHinweis->setText(
        QStringLiteral("Vor der Wiederherstellung wird der jetzige Stand gesichert, in den Ordner "
                       "„%1“; damit lässt sie sich rückgängig machen.")
            .arg(QDir::toNativeSeparators(SafetyBackupFolder(plan_->scope))));
    BtnOK->setEnabled(true);
    adjustSize(); // room for the summary's lines
}

void TRestoreDlg::BtnOKClick() {
    if (!plan_)
        return;
    RestoreResult result;
    try {
        result = RunRestore(*plan_);
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
        openBackup(plan_->backup.path); // show the state as it is now
        return;
    }
    safetyBackup_ = result.safetyBackup;
    QString text = QStringLiteral("Die Datensicherung vom %1 ist wiederhergestellt (%2 geschrieben).")
                       .arg(plan_->backup.manifest.created.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                            FileCount(result.written));
    if (!result.safetyBackup.isEmpty())
        text += QStringLiteral("\n\nDer vorherige Stand ist gesichert in:\n%1")
                    .arg(QDir::toNativeSeparators(result.safetyBackup));
    plan_.reset();
    ShowInformation(this, text);
    accept();
}
