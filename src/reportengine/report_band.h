#pragma once

#include <QString>
#include <deque>
#include <functional>

class QPainter;

// Horizontal placement of a text item: x is its left edge, its right edge or
// its centre.
enum class TReportAlign { Left, Right, Center };

// A text placed in millimetres from the band's top left corner. The text is
// asked from `print` each time the band is printed; a fixed text is a print
// callback that returns it.
struct TReportText {
    double x = 0;
    double y = 0; // top of the text line
    double pointSize = 10;
    TReportAlign align = TReportAlign::Left;
    std::function<QString()> print;
    // The room of the text in mm (0 = no limit): a wider text is drawn
    // narrower, like a condensed face, so that it stays inside its column.
    double maxWidth = 0;
};

// A horizontal (y1 == y2) or vertical (x1 == x2) rule, in millimetres from the
// band's top left corner; width is the line width in millimetres.
struct TReportRule {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 0;
};

// One band of a report: a strip of fixed height with its texts and rules.
// Items are kept in deques so that the pointers handed out stay valid; a
// before-print handler may move or resize them for the band about to print.
class TReportBand {
public:
    TReportBand() = default;
    TReportBand(const TReportBand &) = delete;
    TReportBand &operator=(const TReportBand &) = delete;

    QString name;
    double height = 0;     // mm
    double topRule = 0;    // width of a rule along the band's top edge, 0 = none
    double bottomRule = 0; // the same along the bottom edge
    std::function<void()> beforePrint;

    TReportText *addText(double x, double y, double pointSize, TReportAlign align, const QString &text);
    TReportText *addField(double x, double y, double pointSize, TReportAlign align,
                          std::function<QString()> print);
    TReportRule *addHRule(double y, double x1, double x2, double width);
    TReportRule *addVRule(double x, double y1, double y2, double width);

    const std::deque<TReportText> &texts() const { return texts_; }
    const std::deque<TReportRule> &rules() const { return rules_; }

private:
    std::deque<TReportText> texts_;
    std::deque<TReportRule> rules_;
};
