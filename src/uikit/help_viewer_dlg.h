#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// Help topics: the page names of the German help pages (without ".html").
namespace HelpTopic {
inline const QString Contents = QStringLiteral("index");
inline const QString HelpOnHelp = QStringLiteral("hilfe");
inline const QString FirstStart = QStringLiteral("erster-start");
inline const QString Observer = QStringLiteral("beobachter");
inline const QString DayEntry = QStringLiteral("tageserfassung");
inline const QString BeckCalculator = QStringLiteral("beck-rechner");
inline const QString MonthTable = QStringLiteral("monatstabelle");
inline const QString ColumnChooser = QStringLiteral("spalteneinstellung");
inline const QString MoveMonth = QStringLiteral("monat-verschieben");
inline const QString Export = QStringLiteral("export");
inline const QString Position = QStringLiteral("positionsberechnung");
inline const QString Reports = QStringLiteral("berichte");
inline const QString Mail = QStringLiteral("email-versand");
inline const QString Import = QStringLiteral("import");
inline const QString Evaluation = QStringLiteral("auswertung");
inline const QString Backup = QStringLiteral("datensicherung");
inline const QString SilsoComparison = QStringLiteral("vergleich-silso");
} // namespace HelpTopic

// Opens the help window on a page (empty topic: the contents). The window
// belongs to the parent's window, so it stays usable beside a modal dialog;
// each window has at most one help window, which is reused.
void ShowHelp(QWidget *parent, const QString &topic);
// Opens the help window's keyword search with the given start text.
void ShowHelpSearch(QWidget *parent, const QString &key = QString());
// Opens the page on using the help.
void ShowHelpOnHelp(QWidget *parent);

// F1 anywhere in `window` opens the help page `topic`.
void InstallHelpKey(QWidget *window, const QString &topic);
// F1 anywhere in `window` does what its help button does.
void InstallHelpKey(QWidget *window, QAbstractButton *helpButton);

// The help window: contents and keyword search on the left, the page on the
// right. Pages come from share/tarvo/help beside the installed program, or
// else from the program's built-in copy (":/help").
class THelpViewerDlg : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewerDlg(QWidget *parent = nullptr);

    void showTopic(const QString &topic);
    void showSearch(const QString &key);
    // The page shown, without ".html" (empty when none could be shown).
    QString currentTopic() const;

    // The folder the pages are read from.
    static QString HelpRoot();

private:
    struct Keyword {
        QString word;
        QString page;
        QString title;
    };
    void loadIndex();
    void filterKeywords(const QString &text);
    void openKeyword();

    QTabWidget *tabs_;
    QListWidget *contents_;
    QLineEdit *searchKey_;
    QListWidget *keywords_;
    QTextBrowser *browser_;
    QString root_;
    QVector<Keyword> index_;
};
