#include "import_dlg.h"

#include "import_monthly.h"
#include "import_rules.h"
#include "storage/tarvo_error.h"
#include "uikit/focus_group.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"

#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel *LinkLabel(const char *name, const QString &url, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setText(QStringLiteral("<a href=\"%1\" style=\"color:blue; text-decoration:underline\">%1</a>")
                       .arg(url.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(false);
    label->setToolTip(QStringLiteral("hier clicken und ihr Internet-Browser wird gestartet"));
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

std::optional<int> TextToInt(const QString &text) {
    return ParseColumnInt(text.trimmed().toLatin1());
}

} // namespace

TImportDlg::TImportDlg(const TImportDlgSetup &setup, QWidget *parent)
    : QDialog(parent), setup_(setup), directory_(QDir::currentPath()),
      currentYear_(QDate::currentDate().year()) {
    setWindowTitle(setup.caption);

    auto *label2 = new QLabel(setup.intro, this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setWordWrap(true);
    auto *label3 = new QLabel(setup.dataCaption, this);
    label3->setObjectName(QStringLiteral("Label3"));
    auto *label1 = new QLabel(setup.homeCaption, this);
    label1->setObjectName(QStringLiteral("Label1"));
    QLabel *link1 = LinkLabel("Link1", setup.dataUrl, this);
    QLabel *link2 = LinkLabel("Link2", setup.homeUrl, this);
    connect(link1, &QLabel::linkActivated, this, [this](const QString &url) { LinkClick(url); });
    connect(link2, &QLabel::linkActivated, this, [this](const QString &url) { LinkClick(url); });

    auto *links = new QGridLayout;
    links->addWidget(label3, 0, 0);
    links->addWidget(link1, 0, 1);
    links->addWidget(label1, 1, 0);
    links->addWidget(link2, 1, 1);
    links->setColumnStretch(1, 1);

    Edit1_ = new QLineEdit(QString::number(setup.defaultFirstYear), this);
    Edit1_->setObjectName(QStringLiteral("Edit1"));
    Edit2_ = new QLineEdit(QString::number(currentYear_), this);
    Edit2_->setObjectName(QStringLiteral("Edit2"));
    FE_ = new QLineEdit(setup.defaultFile, this);
    FE_->setObjectName(QStringLiteral("FE"));
    auto *years = new QFormLayout;
    if (setup.yearRange) {
        years->addRow(QStringLiteral("&von Jahr"), Edit1_);
        years->addRow(QStringLiteral("&bis Jahr"), Edit2_);
    } else {
        Edit1_->hide();
        Edit2_->hide();
    }
    years->addRow(QStringLiteral("&Datei"), FE_);

    DirLabel_ = new QLabel(this);
    DirLabel_->setObjectName(QStringLiteral("DirLabel"));
    DLB_ = new QListWidget(this);
    DLB_->setObjectName(QStringLiteral("DLB"));
    FLB_ = new QListWidget(this);
    FLB_->setObjectName(QStringLiteral("FLB"));
    DCB_ = new QComboBox(this);
    DCB_->setObjectName(QStringLiteral("DCB"));
    for (const QFileInfo &drive : QDir::drives())
        DCB_->addItem(QDir::toNativeSeparators(drive.absolutePath()), drive.absolutePath());
    FCB_ = new QComboBox(this);
    FCB_->setObjectName(QStringLiteral("FCB"));
    for (const QString &filter : setup.filters) {
        const QStringList parts = filter.split(QLatin1Char('|'));
        FCB_->addItem(parts.value(0), parts.value(1));
    }
    auto *files = new QGridLayout;
    files->addWidget(DirLabel_, 0, 0, 1, 2);
    files->addWidget(FLB_, 1, 0);
    files->addWidget(DLB_, 1, 1);
    files->addWidget(FCB_, 2, 0);
    files->addWidget(DCB_, 2, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    QPushButton *help = buttons->addButton(QStringLiteral("&Hilfe"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BtnHelp"));
    connect(ok, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TImportDlg::helpRequested);
    InstallHelpKey(this, help);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label2);
    layout->addLayout(links);
    if (!setup.attribution.isEmpty()) {
        auto *source = new QLabel(setup.attribution, this);
        source->setObjectName(QStringLiteral("Quelle"));
        source->setWordWrap(true);
        layout->addWidget(source);
    }
    layout->addLayout(years);
    layout->addLayout(files);
    layout->addWidget(buttons);

    watcher_ = new FocusGroupWatcher(this);
    watcher_->addGroup(Edit1_, [this] { Edit1Exit(); });
    watcher_->addGroup(Edit2_, [this] { Edit2Exit(); });
    connect(DLB_, &QListWidget::itemActivated, this, [this] { DLBDblClick(); });
    // Return in the folder list opens the folder and nothing else: the list
    // passes the key on, and the dialog would take it for OK.
    DLB_->installEventFilter(this);
    connect(FLB_, &QListWidget::itemClicked, this, [this] { FLBClick(); });
    connect(FCB_, &QComboBox::currentIndexChanged, this, [this] { FCBChange(); });
    connect(DCB_, &QComboBox::activated, this, [this] { DCBChange(); });
    ListDirectory();
}

bool TImportDlg::eventFilter(QObject *watched, QEvent *event) {
    if (watched == DLB_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DLBDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TImportDlg::LinkClick(const QString &url) {
    QDesktopServices::openUrl(QUrl(url));
}

void TImportDlg::YearExit(QLineEdit *edit) {
    const std::optional<int> year = TextToInt(edit->text());
    if (!year) {
        edit->setFocus();
        edit->selectAll();
        return;
    }
    edit->setText(QString::number(ExpandTwoDigitYear(*year)));
}

void TImportDlg::Edit1Exit() {
    YearExit(Edit1_);
}
void TImportDlg::Edit2Exit() {
    YearExit(Edit2_);
}

int TImportDlg::firstYear() const {
    const std::optional<int> y = TextToInt(Edit1_->text());
    return y ? ExpandTwoDigitYear(*y) : -1;
}

int TImportDlg::lastYear() const {
    const std::optional<int> y = TextToInt(Edit2_->text());
    return y ? ExpandTwoDigitYear(*y) : -1;
}

QString TImportDlg::filePath() const {
    const QString name = FE_->text().trimmed();
    if (name.isEmpty())
        return QString();
    return QDir(directory_).absoluteFilePath(name);
}

void TImportDlg::BtnOKClick() {
    // The year fields may still hold what was typed when OK is clicked with the mouse.
    int first = 0, last = 0;
    if (setup_.yearRange) {
        Edit1Exit();
        Edit2Exit();
        first = firstYear();
        last = lastYear();
        // OK never does nothing: it says what stands in the way and where.
        if (const QString problem = ImportYearsProblem(setup_.minYear, first, last, currentYear_);
            !problem.isEmpty()) {
            ShowInformation(this, problem);
            QLineEdit *field = problem.startsWith(QStringLiteral("„bis")) ? Edit2_ : Edit1_;
            field->setFocus();
            field->selectAll();
            return;
        }
    }
    if (FE_->text().trimmed().isEmpty()) {
        ShowInformation(this,
                        QStringLiteral("Bitte geben Sie die Datei an, aus der importiert werden soll."));
        FE_->setFocus();
        return;
    }
    try {
        runImport(filePath(), first, last);
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
        return;
    }
    accept();
}

void TImportDlg::setDirectory(const QString &directory) {
    directory_ = QDir(directory).absolutePath();
    ListDirectory();
}

void TImportDlg::ListDirectory() {
    const QDir dir(directory_);
    DirLabel_->setText(QDir::toNativeSeparators(directory_));
    DLB_->clear();
    if (!dir.isRoot())
        DLB_->addItem(QStringLiteral(".."));
    DLB_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FLB_->clear();
    const QStringList masks = FCB_->currentData().toString().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    FLB_->addItems(dir.entryList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void TImportDlg::DLBDblClick() {
    if (QListWidgetItem *item = DLB_->currentItem())
        setDirectory(QDir(directory_).absoluteFilePath(item->text()));
}

void TImportDlg::FLBClick() {
    if (QListWidgetItem *item = FLB_->currentItem())
        FE_->setText(item->text());
}

void TImportDlg::FCBChange() {
    ListDirectory();
}

void TImportDlg::DCBChange() {
    setDirectory(DCB_->currentData().toString());
}
