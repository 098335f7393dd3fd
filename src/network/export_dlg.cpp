#include "export_dlg.h"

#include "export_target.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char *const kTypeTexts[kExportTypeCount] = {"ASCII Datei mit ; als Trenner", "HTML", "TARVO-Netz",
                                                  "A-Netz", "Fackel-Netz (Hauptzone)"};

// The type filter "CSV|*.csv|HTML|*.html|DAT|*.dat|Alle Dateien (*.*)|*.*".
struct Filter {
    const char *text;
    const char *mask;
};
const Filter kFilters[] = {
    {"CSV", "*.csv"}, {"HTML", "*.html"}, {"DAT", "*.dat"}, {"Alle Dateien (*.*)", "*"}};

int FilterIndexOfType(int type) {
    return type == ExportCsv ? 0 : type == ExportHtml ? 1 : 2;
}

} // namespace

TExportDLG::TExportDLG(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TExportDLG"));
    setWindowTitle(QStringLiteral("Exportieren"));

    RG = new QGroupBox(QStringLiteral("Export-Typ"), this);
    RG->setObjectName(QStringLiteral("RG"));
    rgButtons_ = new QButtonGroup(this);
    auto *rgLayout = new QVBoxLayout(RG);
    for (int type = 0; type < kExportTypeCount; ++type) {
        auto *button = new QRadioButton(QString::fromUtf8(kTypeTexts[type]), RG);
        button->setObjectName(QStringLiteral("RG%1").arg(type));
        rgButtons_->addButton(button, type);
        rgLayout->addWidget(button);
    }
    connect(rgButtons_, &QButtonGroup::idClicked, this, &TExportDLG::RGClick);

    auto *files = new QGroupBox(QStringLiteral("Datei"), this);
    FN = new QLineEdit(files);
    FN->setObjectName(QStringLiteral("FN"));
    DLB = new QLineEdit(files);
    DLB->setObjectName(QStringLiteral("DLB"));
    BtnDir = new QPushButton(QStringLiteral("&Verzeichnis..."), files);
    BtnDir->setObjectName(QStringLiteral("BtnDir"));
    FLB = new QListWidget(files);
    FLB->setObjectName(QStringLiteral("FLB"));
    FCB = new QComboBox(files);
    FCB->setObjectName(QStringLiteral("FCB"));
    for (const Filter &f : kFilters)
        FCB->addItem(QString::fromUtf8(f.text), QString::fromLatin1(f.mask));
    connect(FCB, &QComboBox::currentIndexChanged, this, &TExportDLG::FCBChange);
    connect(FLB, &QListWidget::itemClicked, this, &TExportDLG::FLBClick);
    connect(FLB, &QListWidget::itemDoubleClicked, this, [this] {
        FLBClick();
        BtnOKClick();
    });
    connect(DLB, &QLineEdit::editingFinished, this, &TExportDLG::UpdateFileList);
    connect(BtnDir, &QPushButton::clicked, this, &TExportDLG::BtnDirClick);

    auto *fileLayout = new QGridLayout(files);
    auto *nameLabel = new QLabel(QStringLiteral("Datei&name:"), files);
    nameLabel->setBuddy(FN);
    fileLayout->addWidget(nameLabel, 0, 0);
    fileLayout->addWidget(FN, 0, 1, 1, 2);
    fileLayout->addWidget(new QLabel(QStringLiteral("Verzeichnis:"), files), 1, 0);
    fileLayout->addWidget(DLB, 1, 1);
    fileLayout->addWidget(BtnDir, 1, 2);
    fileLayout->addWidget(FLB, 2, 0, 1, 3);
    fileLayout->addWidget(new QLabel(QStringLiteral("Dateityp:"), files), 3, 0);
    fileLayout->addWidget(FCB, 3, 1, 1, 2);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnHelp = new QPushButton(QStringLiteral("&Hilfe"), this);
    BtnHelp->setObjectName(QStringLiteral("BtnHelp"));
    connect(BtnOK, &QPushButton::clicked, this, &TExportDLG::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TExportDLG::reject);
    connect(BtnHelp, &QPushButton::clicked, this, &TExportDLG::helpRequested);
    InstallHelpKey(this, BtnHelp);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    buttons->addWidget(BtnHelp);
    auto *main = new QVBoxLayout(this);
    main->addWidget(RG);
    main->addWidget(files, 1);
    main->addLayout(buttons);
    resize(500, 520);
}

TExportDLG::~TExportDLG() = default;

void TExportDLG::setMonth(const TObserverProfile &profile, const TMonthDocument &month) {
    profile_ = profile;
    month_ = month;
}

void TExportDLG::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TExportDLG::FormShow() {
    // The directory starts in the observer directory every time; the
    // process's working directory is never touched.
    DLB->setText(QDir::cleanPath(ObserverFilePath(QString())));
    rgButtons_->button(ExportRezahl)->setChecked(true);
    RGClick();
}

void TExportDLG::RGClick() {
    const int type = exportType();
    {
        const QSignalBlocker block(FCB);
        FCB->setCurrentIndex(FilterIndexOfType(type));
    }
    const QString proposed = ProposedExportName(type);
    FN->setText(proposed.isEmpty() ? ExportMask(type) : proposed);
    UpdateFileList();
}

void TExportDLG::FCBChange() {
    // A name the user typed stays; only a mask follows the filter.
    if (FN->text().isEmpty() || FN->text().contains(QLatin1Char('*')))
        FN->setText(FCB->currentData().toString() == QLatin1String("*") ? QStringLiteral("*.*")
                                                                        : FCB->currentData().toString());
    UpdateFileList();
}

void TExportDLG::UpdateFileList() {
    FLB->clear();
    const QDir dir(DLB->text());
    const QString mask = FCB->currentData().toString();
    // The program's own files are never offered: no export may go into them.
    for (const QString &name : dir.entryList(QStringList{mask}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (!IsProgramFileName(name))
            FLB->addItem(name);
}

void TExportDLG::FLBClick() {
    if (QListWidgetItem *item = FLB->currentItem())
        FN->setText(item->text());
}

void TExportDLG::BtnDirClick() {
    const QString dir =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Verzeichnis wählen"), DLB->text(),
                                          QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!dir.isEmpty()) {
        DLB->setText(QDir::cleanPath(dir));
        UpdateFileList();
    }
}

int TExportDLG::exportType() const {
    const int id = rgButtons_->checkedId();
    return id < 0 ? ExportRezahl : id;
}

QString TExportDLG::exportFileName() const {
    return QDir(DLB->text()).filePath(FN->text().trimmed());
}

void TExportDLG::WriteExport() const {
    WriteExportFile(exportType(), exportFileName(), TExportSource{&profile_, &month_});
}

void TExportDLG::BtnOKClick() {
    try {
        WriteExport();
    } catch (const TarvoError &e) {
        // The dialog stays open with the chosen type and name, for another
        // name or Cancel.
        ShowError(this, e.message());
        FN->setFocus();
        FN->selectAll();
        return;
    }
    accept();
}

bool TExportDLG::Execute(const TObserverProfile &profile, const TMonthDocument &month) {
    setMonth(profile, month);
    return exec() == QDialog::Accepted;
}
