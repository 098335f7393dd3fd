#include "help_viewer_dlg.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString ReadPage(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString PageTitle(const QString &html, const QString &fallback) {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const auto m = title.match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : fallback;
}

THelpViewerDlg *ViewerFor(QWidget *parent) {
    QWidget *owner = parent ? parent->window() : nullptr;
    THelpViewerDlg *viewer = nullptr;
    if (owner)
        viewer = owner->findChild<THelpViewerDlg *>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer)
        viewer = new THelpViewerDlg(owner);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace

void ShowHelp(QWidget *parent, const QString &topic) {
    ViewerFor(parent)->showTopic(topic);
}

void ShowHelpSearch(QWidget *parent, const QString &key) {
    ViewerFor(parent)->showSearch(key);
}

void ShowHelpOnHelp(QWidget *parent) {
    ViewerFor(parent)->showTopic(HelpTopic::HelpOnHelp);
}

namespace {
QShortcut *HelpKey(QWidget *window) {
    auto *key = new QShortcut(QKeySequence::HelpContents, window);
    key->setObjectName(QStringLiteral("HelpKey"));
    key->setContext(Qt::WindowShortcut);
    return key;
}
} // namespace

void InstallHelpKey(QWidget *window, const QString &topic) {
    QObject::connect(HelpKey(window), &QShortcut::activated, window,
                     [window, topic] { ShowHelp(window, topic); });
}

void InstallHelpKey(QWidget *window, QAbstractButton *helpButton) {
    QObject::connect(HelpKey(window), &QShortcut::activated, helpButton, &QAbstractButton::click);
}

QString THelpViewerDlg::HelpRoot() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tarvo/help"));
    if (QFileInfo::exists(installed + QStringLiteral("/index.html")))
        return installed;
    return QStringLiteral(":/help");
}

THelpViewerDlg::THelpViewerDlg(QWidget *parent) : QDialog(parent, Qt::Window), root_(HelpRoot()) {
    setObjectName(QStringLiteral("THelpViewerDlg"));
    setWindowTitle(QStringLiteral("TARVO32 – Hilfe"));

    auto *btnContents = new QPushButton(QStringLiteral("&Inhalt"));
    btnContents->setObjectName(QStringLiteral("BtnHelpContents"));
    auto *btnBack = new QPushButton(QStringLiteral("&Zurück"));
    btnBack->setObjectName(QStringLiteral("BtnHelpBack"));
    auto *btnForward = new QPushButton(QStringLiteral("&Vor"));
    btnForward->setObjectName(QStringLiteral("BtnHelpForward"));
    auto *btnHelp = new QPushButton(QStringLiteral("&Hilfe benutzen"));
    btnHelp->setObjectName(QStringLiteral("BtnHelpOnHelp"));
    auto *btnClose = new QPushButton(QStringLiteral("&Schließen"));
    btnClose->setObjectName(QStringLiteral("BtnHelpClose"));
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);
    for (QPushButton *b : {btnContents, btnBack, btnForward, btnHelp, btnClose})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnContents);
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addWidget(btnHelp);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    contents_ = new QListWidget;
    contents_->setObjectName(QStringLiteral("HelpContents"));
    searchKey_ = new QLineEdit;
    searchKey_->setObjectName(QStringLiteral("HelpSearchKey"));
    searchKey_->setPlaceholderText(QStringLiteral("Suchbegriff eingeben"));
    keywords_ = new QListWidget;
    keywords_->setObjectName(QStringLiteral("HelpKeywords"));
    auto *searchPage = new QWidget;
    auto *searchLayout = new QVBoxLayout(searchPage);
    auto *searchLabel = new QLabel(QStringLiteral("Stich&wort:"));
    searchLabel->setBuddy(searchKey_);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(searchKey_);
    searchLayout->addWidget(keywords_, 1);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("HelpTabs"));
    tabs_->addTab(contents_, QStringLiteral("Inhalt"));
    tabs_->addTab(searchPage, QStringLiteral("Suchen"));

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto *splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(btnContents, &QPushButton::clicked, this, [this] { showTopic(HelpTopic::Contents); });
    connect(btnBack, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(btnForward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, btnBack, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, btnForward, &QPushButton::setEnabled);
    connect(btnHelp, &QPushButton::clicked, this, [this] { showTopic(HelpTopic::HelpOnHelp); });
    // F1 here is help on the help itself, shown in this window.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { showTopic(HelpTopic::HelpOnHelp); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(searchKey_, &QLineEdit::textChanged, this, &THelpViewerDlg::filterKeywords);
    connect(searchKey_, &QLineEdit::returnPressed, this, &THelpViewerDlg::openKeyword);
    connect(keywords_, &QListWidget::itemActivated, this, &THelpViewerDlg::openKeyword);

    loadIndex();
    // The contents column as wide as its longest title.
    const int left = std::max(200, contents_->sizeHintForColumn(0) + 2 * contents_->frameWidth() + 24);
    splitter->setSizes({left, 540});
    resize(left + 560, 560);
}

// Contents: the pages linked from index.html, in that order. Keywords: the
// "keywords" meta entry of every page, separated by ";".
void THelpViewerDlg::loadIndex() {
    const QString indexHtml = ReadPage(root_ + QStringLiteral("/index.html"));
    static const QRegularExpression link(QStringLiteral("<a href=\"([^\"#:]+\\.html)\">(.*?)</a>"));
    QStringList pages{HelpTopic::Contents + QStringLiteral(".html")};
    auto *top = new QListWidgetItem(PageTitle(indexHtml, QStringLiteral("Inhalt")), contents_);
    top->setData(Qt::UserRole, HelpTopic::Contents);
    for (auto it = link.globalMatch(indexHtml); it.hasNext();) {
        const auto m = it.next();
        const QString page = m.captured(1);
        if (pages.contains(page))
            continue;
        pages.append(page);
        auto *item = new QListWidgetItem(QStringLiteral("   ") + m.captured(2), contents_);
        item->setData(Qt::UserRole, QFileInfo(page).completeBaseName());
    }

    static const QRegularExpression keywords(QStringLiteral("<meta name=\"keywords\" content=\"([^\"]*)\""));
    for (const QString &page : std::as_const(pages)) {
        const QString html = ReadPage(root_ + QLatin1Char('/') + page);
        const QString title = PageTitle(html, page);
        const auto m = keywords.match(html);
        if (!m.hasMatch())
            continue;
        for (const QString &word : m.captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            index_.append({word.trimmed(), QFileInfo(page).completeBaseName(), title});
    }
    std::sort(index_.begin(), index_.end(), [](const Keyword &a, const Keyword &b) {
        return QString::localeAwareCompare(a.word, b.word) < 0;
    });
    filterKeywords(QString());
}

void THelpViewerDlg::filterKeywords(const QString &text) {
    keywords_->clear();
    const QString key = text.trimmed();
    for (const Keyword &k : std::as_const(index_)) {
        if (!key.isEmpty() && !k.word.contains(key, Qt::CaseInsensitive))
            continue;
        auto *item = new QListWidgetItem(
            k.word == k.title ? k.word : k.word + QStringLiteral(" – ") + k.title, keywords_);
        item->setData(Qt::UserRole, k.page);
    }
    if (keywords_->count() > 0)
        keywords_->setCurrentRow(0);
}

void THelpViewerDlg::openKeyword() {
    if (QListWidgetItem *item = keywords_->currentItem())
        showTopic(item->data(Qt::UserRole).toString());
}

void THelpViewerDlg::showTopic(const QString &topic) {
    const QString page = (topic.isEmpty() ? HelpTopic::Contents : topic) + QStringLiteral(".html");
    if (!QFileInfo::exists(root_ + QLatin1Char('/') + page)) {
        browser_->setHtml(QStringLiteral("<h1>Hilfe</h1><p>Zu diesem Thema („%1“) gibt es keine Hilfeseite. "
                                         "Bitte wählen Sie ein Thema im Inhalt.</p>")
                              .arg(topic.toHtmlEscaped()));
        return;
    }
    const QString path = root_ + QLatin1Char('/') + page;
    browser_->setSource(path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                                          : QUrl::fromLocalFile(path));
    for (int i = 0; i < contents_->count(); ++i)
        if (contents_->item(i)->data(Qt::UserRole).toString() + QStringLiteral(".html") == page)
            contents_->setCurrentRow(i);
}

void THelpViewerDlg::showSearch(const QString &key) {
    tabs_->setCurrentIndex(1);
    searchKey_->setText(key);
    filterKeywords(key);
    searchKey_->setFocus();
    if (browser_->source().isEmpty())
        showTopic(HelpTopic::Contents);
}

QString THelpViewerDlg::currentTopic() const {
    const QString name = QFileInfo(browser_->source().path()).completeBaseName();
    return name;
}
