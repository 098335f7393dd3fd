#include "report_band.h"

TReportText *TReportBand::addText(double x, double y, double pointSize, TReportAlign align,
                                  const QString &text) {
    return addField(x, y, pointSize, align, [text] { return text; });
}

TReportText *TReportBand::addField(double x, double y, double pointSize, TReportAlign align,
                                   std::function<QString()> print) {
    texts_.push_back(TReportText{x, y, pointSize, align, std::move(print)});
    return &texts_.back();
}

TReportRule *TReportBand::addHRule(double y, double x1, double x2, double width) {
    rules_.push_back(TReportRule{x1, y, x2, y, width});
    return &rules_.back();
}

TReportRule *TReportBand::addVRule(double x, double y1, double y2, double width) {
    rules_.push_back(TReportRule{x, y1, x, y2, width});
    return &rules_.back();
}
