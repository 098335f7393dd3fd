#include "sob01.h"

namespace {

constexpr double kBandWidth = 179.9;
// Column edges in mm; column c (1-based) runs from kEdges[c - 1] to kEdges[c].
constexpr double kEdges[] = {0,    7.9,  19.1,  26.5,  33.9,  41.3,  50.4,  59.5,  68.7,  77.8,
                             86.8, 95.9, 107.4, 121.0, 130.3, 138.8, 150.2, 162.1, 171.2, 179.9};
constexpr int kColumns = 19;
// Decimals of the mean of columns 3..19.
constexpr int kMeanDecimals[] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1};

double Centre(int column) {
    return (kEdges[column - 1] + kEdges[column]) / 2;
}
// Values keep a small gap to the column's right rule; the last column's rule
// is the heavy frame.
double ValueEdge(int column) {
    return kEdges[column] - kRuleGap - (column == kColumns ? (kHeavyRule - kThinRule) / 2 : 0);
}
double HeadRoom(int column) {
    return ColumnHeadRoom(kEdges[column - 1], kEdges[column]);
}
// Columns 3..5 (seeing) are centred, the counts right-aligned.
bool Centred(int column) {
    return column >= 3 && column <= 5;
}
// Counted field (order of the day counts) shown in column 3..19.
int FieldOf(int column) {
    return column - 3;
}

} // namespace

TSOB01::TSOB01() {
    SetUpFormPage(report_, kBandWidth);
    AddFormTitle(report_.title, kBandWidth, QStringLiteral("SONNENFLECKENZAHLEN"), &data_.profile, &Mo,
                 &Jahr);
    buildColumnHeader();
    buildDetail();
    buildSummary();
    report_.beforePrint = [this] { SOB01BeforePrint(); };
    report_.needData = [this] { return SOB01NeedData(); };
}

void TSOB01::setMonth(const TYearBuffer &yearData, int month, int year, const TObserverProfile &profile,
                      const TMonthTotals &totals) {
    data_.assign(yearData, month, year, profile, totals);
    Mo = QString::number(month);
    Jahr = QString::number(year);
}

void TSOB01::buildColumnHeader() {
    using A = TReportAlign;
    TReportBand &band = report_.columnHeader;
    band.name = QStringLiteral("Spaltenkopf");
    band.height = 14.8;
    band.bottomRule = kHeavyRule;

    for (int edge = 1; edge < kColumns; ++edge) {
        const double x = kEdges[edge];
        double top = 0;
        if (x == 59.5 || x == 77.8) // between Nord, Süd and gesamt
            top = 2.9;
        else if (x == 50.4 || x == 68.7 || x == 86.8 || x == 95.9 || x == 130.3 || x == 138.8 || x == 171.2)
            top = 5.9;
        band.addVRule(x, top, band.height, kThinRule);
    }
    // Lines under the group headings, where the rules inside a group begin.
    band.addHRule(2.9, kEdges[5], kEdges[12], kThinRule);
    band.addHRule(5.9, kEdges[5], kEdges[12], kThinRule);
    band.addHRule(5.9, kEdges[13], kEdges[16], kThinRule);
    band.addHRule(5.9, kEdges[17], kEdges[19], kThinRule);

    struct Head {
        const char *above;
        const char *symbol;
        const char *below;
    };
    static const Head heads[kColumns] = {
        {"", "Tag", ""},       {"Zeit", "UT", "hh:mm"}, {"Ruhe", "R", "1-5"}, {"Schärfe", "S", "1-5"},
        {"Qualität", "Q", ""}, {"", "gn", ""},          {"", "fn", ""},       {"", "gs", ""},
        {"", "fs", ""},        {"", "g", "=gn+gs"},     {"", "f", "=fn+fs"},  {"", "Re", "=10*g+f"},
        {"", "Rb", ""},        {"", "p", ""},           {"", "s", ""},        {"", "SN", "=10*p+s"},
        {"", "CV", ""},        {"", "A", ""},           {"", "A*", ""},
    };
    for (int c = 1; c <= kColumns; ++c) {
        const Head &h = heads[c - 1];
        const double symbolY = c <= 5 ? 4.5 : 7.1;
        if (*h.above)
            band.addText(Centre(c), 0.4, 6, A::Center, QString::fromUtf8(h.above))->maxWidth = HeadRoom(c);
        band.addText(Centre(c), symbolY, 10, A::Center, QString::fromUtf8(h.symbol))->maxWidth = HeadRoom(c);
        if (*h.below)
            band.addText(Centre(c), 11.1, 6, A::Center, QString::fromUtf8(h.below))->maxWidth = HeadRoom(c);
    }
    auto group = [&](int first, int last, double y, const QString &text) {
        band.addText((kEdges[first - 1] + kEdges[last]) / 2, y, 6, A::Center, text);
    };
    group(6, 12, 0.4, QStringLiteral("Wolfsche Relativzahl"));
    group(6, 7, 3.0, QStringLiteral("Nord"));
    group(8, 9, 3.0, QStringLiteral("Süd"));
    group(10, 12, 3.0, QStringLiteral("gesamt"));
    group(13, 13, 0.4, QStringLiteral("Beck"));
    group(14, 16, 0.4, QStringLiteral("Pettis"));
    group(17, 17, 0.4, QStringLiteral("Klassif.W"));
    group(18, 19, 0.4, QStringLiteral("bloßes Auge"));
}

void TSOB01::buildDetail() {
    using A = TReportAlign;
    TReportBand &band = report_.detail;
    band.name = QStringLiteral("Spalte");
    band.height = 5.6;
    band.bottomRule = kThinRule;
    band.beforePrint = [this] { SpalteBeforePrint(); };

    int seeingRule = 0;
    for (int edge = 1; edge < kColumns; ++edge) {
        TReportRule *rule = band.addVRule(kEdges[edge], 0, band.height, kThinRule);
        if (edge >= 2 && edge <= 4)
            seeingRules_[seeingRule++] = rule;
    }

    // Same baseline as the 10 pt values.
    band.addField(6.6, 0.9, 11, A::Right, [this] { return QString::number(dayCounter_); });
    // UT comes first: it decides whether the row's values are printed.
    timeFields_[0] = band.addField(18.1, 1.2, 10, A::Right, [this] {
        observed_ = day().observed();
        return day().Zeit.text();
    });
    for (int c = 3; c <= kColumns; ++c) {
        const int field = FieldOf(c);
        TReportText *text =
            band.addField(Centred(c) ? Centre(c) : ValueEdge(c), 1.2, 10, Centred(c) ? A::Center : A::Right,
                          [this, field] { return valueText(CountedField(day(), field)); });
        if (c <= 5)
            timeFields_[c - 2] = text;
    }
    band.addField(10.7, 2.4, 8, A::Left, [this] {
        const bool show = observed_ && !day().Bemerkung.empty() && data_.profile.Aus.on(CatBemerkung);
        return show ? day().Bemerkung.text() : QString();
    });
}

void TSOB01::buildSummary() {
    using A = TReportAlign;
    TReportBand &band = report_.summary;
    band.name = QStringLiteral("Zusammenfassung");
    band.height = 30.7;
    band.topRule = kHeavyRule;

    for (double y : {7.0, 14.2, 21.2})
        band.addHRule(y, 0, kBandWidth, kThinRule);
    // Columns 1 and 2 form one cell for the captions.
    for (int edge = 2; edge < kColumns; ++edge)
        band.addVRule(kEdges[edge], 0, 21.4, kThinRule);

    static const double rowY[3] = {2.4, 9.4, 16.4};
    AddSummaryCaptions(band, rowY);
    for (int c = 3; c <= kColumns; ++c) {
        const int field = FieldOf(c);
        const int decimals = kMeanDecimals[c - 3];
        const double x = Centred(c) ? Centre(c) : ValueEdge(c);
        const A align = Centred(c) ? A::Center : A::Right;
        const TMonthTotals &totals = data_.totals;
        band.addField(x, rowY[0], 10, align, [&totals, field] {
            return totals.Counts[field] >= 1 ? FormInteger(totals.Sums[field]) : QString();
        });
        band.addField(x, rowY[1], 10, align, [&totals, field] {
            return totals.Counts[field] >= 1 ? FormInteger(totals.Counts[field]) : QString();
        });
        band.addField(x, rowY[2], 10, align, [&totals, field, decimals] {
            return totals.Counts[field] >= 1 ? FormMean(totals.mean(field), decimals) : QString();
        });
    }
    AddFormFootnotes(band, QStringLiteral("Formblatt: SOB01"));
}

void TSOB01::SOB01BeforePrint() {
    dayCounter_ = 0;
    observed_ = false;
}

bool TSOB01::SOB01NeedData() {
    if (dayCounter_ >= data_.days)
        return false;
    ++dayCounter_;
    return true;
}

void TSOB01::SpalteBeforePrint() {
    const bool twoLines = !day().Bemerkung.empty() && data_.profile.Aus.on(CatBemerkung);
    for (TReportRule *rule : seeingRules_)
        rule->y2 = twoLines ? 2.4 : report_.detail.height;
    for (TReportText *text : timeFields_) {
        text->y = twoLines ? 0.0 : 1.2;
        text->pointSize = twoLines ? 8 : 10;
    }
}

QString TSOB01::valueText(std::int32_t value) const {
    return observed_ && value != -1 ? FormInteger(value) : QString();
}

int PrintSob01(QPaintDevice *device, const TYearBuffer &yearData, int month, int year,
               const TObserverProfile &profile, const TMonthTotals &totals) {
    TSOB01 form;
    form.setMonth(yearData, month, year, profile, totals);
    return form.report().print(device);
}

void WriteSob01Pdf(const QString &fileName, const TYearBuffer &yearData, int month, int year,
                   const TObserverProfile &profile, const TMonthTotals &totals) {
    TSOB01 form;
    form.setMonth(yearData, month, year, profile, totals);
    form.report().writePdf(fileName, QStringLiteral("SOB01 %1/%2").arg(month).arg(year));
}
