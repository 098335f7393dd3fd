#include "about_dlg.h"

#include "jpeg_decode.h"
#include "shell_resources.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel *Text(const char *name, const QString &text) {
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TAboutDlg::TAboutDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TAboutDlg"));
    setWindowTitle(QStringLiteral("Info's zum TARVO Programm"));
    InitShellResources();
    InstallHelpKey(this, HelpTopic::Contents);

    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    ProgramIcon = Text("ProgramIcon", QString());
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProductName = Text("ProductName", QStringLiteral("TARVO 32"));
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    ProductName->setFont(big);
    Version = Text("Version", QString());
    Copyright = Text("Copyright", QString());
    Copyright->setWordWrap(true);
    auto *comments = Text("Comments", QStringLiteral("Programm für die Erfassung und Auswertung von Sonnen- "
                                                     "beobachtungsdaten"));
    comments->setWordWrap(true);
    auto *programmers = Text("Label3", QStringLiteral("Programmierer:"));
    auto *programmer1 = Text("Programmer1", QStringLiteral(TARVO_ABOUT_PROGRAMMER1));
    auto *programmer2 = Text("Programmer2", QStringLiteral(TARVO_ABOUT_PROGRAMMER2));
    auto *beta = Text("BetaNote", QStringLiteral("Dies ist eine öffentliche Beta-Version. Fehler und Wünsche "
                                                 "melden Sie bitte an %1 oder über die Internetseite.")
                                      .arg(QStringLiteral(TARVO_ABOUT_CONTACT)));
    beta->setWordWrap(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addWidget(Copyright);
    texts->addSpacing(6);
    texts->addWidget(comments);
    texts->addSpacing(6);
    auto *prog = new QGridLayout;
    prog->addWidget(programmers, 0, 0, Qt::AlignTop);
    prog->addWidget(programmer1, 0, 1);
    prog->addWidget(programmer2, 1, 1);
    prog->setColumnStretch(1, 1);
    texts->addLayout(prog);
    texts->addSpacing(6);
    texts->addWidget(beta);
    texts->addWidget(linkLabel("Link", QStringLiteral(TARVO_ABOUT_LINK1)));
    texts->addWidget(linkLabel("Link2", QStringLiteral(TARVO_ABOUT_LINK2)));
    texts->addStretch(1);

    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignTop);
    panelLayout->addSpacing(8);
    panelLayout->addLayout(texts, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    // Fixed size: the box is as large as its contents need with the system font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

const QImage &TAboutDlg::picture() const {
    return picture_;
}

QLabel *TAboutDlg::linkLabel(const char *name, const QString &address) {
    auto *label =
        Text(name, QStringLiteral("<a href=\"%1\" style=\"color: blue; text-decoration: underline;\">%1</a>")
                       .arg(address.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    connect(label, &QLabel::linkActivated, this, &TAboutDlg::LinkClick);
    return label;
}

void TAboutDlg::FormCreate() {
    Copyright->setText(QStringLiteral(TARVO_ABOUT_MAKER));
    Version->setText((QStringLiteral("Version: ") + Storage().ProgramVersion).left(25));
    try {
        picture_ = DecodeJpegFile(QStringLiteral(":/about.jpg"));
        ProgramIcon->setPixmap(QPixmap::fromImage(picture_));
    } catch (const TarvoError &e) {
        // The box is still worth showing without its picture.
        ProgramIcon->setText(QStringLiteral("(Bild fehlt)"));
        ProgramIcon->setToolTip(e.message());
    }
}

void TAboutDlg::LinkClick(const QString &caption) {
    QDesktopServices::openUrl(QUrl(caption));
}
