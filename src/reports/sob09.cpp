#include "sob09.h"

#include "storage/cp1252.h"

namespace {

constexpr double kBandWidth = 180.1;
// Column edges in mm; column c (1-based) runs from kEdges[c - 1] to kEdges[c].
constexpr double kEdges[] = {0,    7.9,  19.0, 26.5, 33.9,  41.3,  50.4,  59.5,
                             68.6, 77.7, 86.8, 95.9, 107.5, 119.1, 128.2, 180.1};
constexpr int kColumns = 15;
constexpr int kFirstFaculaeField = CountedFieldIndex("Fo"); // then Fm, FEF, FEP, pfn, pfs

double Centre(int column) {
    return (kEdges[column - 1] + kEdges[column]) / 2;
}

} // namespace

TSOB09::TSOB09() {
    SetUpFormPage(report_, kBandWidth);
    AddFormTitle(report_.title, kBandWidth, QStringLiteral("FACKELAKTIVITÄT"), &data_.profile, &Mo, &Jahr);
    buildColumnHeader();
    buildDetail();
    buildSummary();
    report_.beforePrint = [this] { SOB01BeforePrint(); };
    report_.needData = [this] { return SOB01NeedData(); };
}

void TSOB09::setMonth(const TYearBuffer &yearData, int month, int year, const TObserverProfile &profile,
                      const TMonthTotals &totals) {
    data_.assign(yearData, month, year, profile, totals);
    Mo = QString::number(month);
    Jahr = QString::number(year);
}

void TSOB09::buildColumnHeader() {
    using A = TReportAlign;
    TReportBand &band = report_.columnHeader;
    band.name = QStringLiteral("Spaltenkopf");
    band.height = 14.9;
    band.bottomRule = kHeavyRule;

    for (int edge = 1; edge < kColumns; ++edge) {
        const double x = kEdges[edge];
        double top = 0;
        if (x == 50.4 || x == 59.5 || x == 86.8)
            top = 6.0;
        else if (x == 68.6)
            top = 3.0;
        band.addVRule(x, top, band.height, kThinRule);
    }
    // Lines under the group headings, where the rules inside a group begin.
    band.addHRule(3.0, kEdges[5], kEdges[9], kThinRule);
    band.addHRule(6.0, kEdges[5], kEdges[8], kThinRule);
    band.addHRule(6.0, kEdges[9], kEdges[11], kThinRule);

    struct Head {
        const char *above;
        const char *symbol;
        const char *below;
    };
    static const Head heads[kColumns - 1] = {
        {"", "Tag", ""},       {"Zeit", "UT", "hh:mm"}, {"Ruhe", "R", "1-5"}, {"Schärfe", "S", "1-5"},
        {"Qualität", "Q", ""}, {"", "Fo", ""},          {"", "Fm", ""},       {"", "FEF", ""},
        {"", "FEP", ""},       {"", "pfn", ""},         {"", "pfs", ""},      {"", "Z/F", ""},
        {"", "P", ""},         {"", "Fl", ""},
    };
    for (int c = 1; c < kColumns; ++c) {
        const Head &h = heads[c - 1];
        const double room = ColumnHeadRoom(kEdges[c - 1], kEdges[c]);
        if (*h.above)
            band.addText(Centre(c), 0.5, 6, A::Center, QString::fromUtf8(h.above))->maxWidth = room;
        band.addText(Centre(c), c <= 5 ? 4.5 : 7.1, 10, A::Center, QString::fromUtf8(h.symbol))->maxWidth =
            room;
        if (*h.below)
            band.addText(Centre(c), 11.2, 6, A::Center, QString::fromUtf8(h.below))->maxWidth = room;
    }
    band.addText(139.9, 7.1, 10, A::Center, QStringLiteral("Bemerkungen"));
    band.addText(59.0, 0.5, 6, A::Left, QStringLiteral("Hauptzone"));
    band.addText(48.1, 3.1, 6, A::Left, QStringLiteral("Flächenfackeln"));
    band.addText(84.3, 0.5, 6, A::Left, QStringLiteral("Polzone"));
}

void TSOB09::buildDetail() {
    using A = TReportAlign;
    TReportBand &band = report_.detail;
    band.name = QStringLiteral("Spalte");
    band.height = 5.6;
    band.bottomRule = kThinRule;
    for (int edge = 1; edge < kColumns; ++edge)
        band.addVRule(kEdges[edge], 0, band.height, kThinRule);

    band.addField(6.6, 0.9, 11, A::Right, [this] { return QString::number(dayCounter_); });
    // UT comes first: it decides whether the row shows anything.
    band.addField(18.0, 1.2, 10, A::Right, [this] {
        const TDayRecord &d = day();
        faculae_ = d.observed() && (d.Fo != -1 || d.Fm != -1 || d.FEF != -1 || d.FEP != -1);
        return faculae_ ? d.Zeit.text() : QString();
    });
    band.addField(Centre(3), 1.2, 10, A::Center, [this] { return seeingText(0, day().Ruhe); });
    band.addField(Centre(4), 1.2, 10, A::Center, [this] { return seeingText(1, day().Schaerfe); });
    band.addField(Centre(5), 1.2, 10, A::Center, [this] { return seeingText(2, day().Qualitaet); });
    static const double valueEdges[6] = {50.1, 59.0, 68.3, 77.2, 86.5, 95.7};
    for (int i = 0; i < 6; ++i) {
        band.addField(valueEdges[i], 1.2, 10, A::Right, [this, i] {
            return valueText(static_cast<std::int16_t>(CountedField(day(), kFirstFaculaeField + i)));
        });
    }
    band.addField(107.2, 1.2, 10, A::Right, [this] { return faculae_ ? day().z_f.text() : QString(); });
    band.addField(118.6, 1.2, 10, A::Right, [this] { return faculae_ ? day().Po.text() : QString(); });
    band.addField(127.7, 1.2, 10, A::Right, [this] {
        const char fl = day().Fl;
        return faculae_ && fl != 0 ? FromCp1252(QByteArrayView(&fl, 1)) : QString();
    });
    band.addField(130.8, 1.2, 10, A::Left, [this] { return faculae_ ? day().Bemerkung.text() : QString(); });
}

void TSOB09::buildSummary() {
    using A = TReportAlign;
    TReportBand &band = report_.summary;
    band.name = QStringLiteral("Zusammenfassung");
    band.height = 30.8;
    band.topRule = kHeavyRule;

    for (double y : {7.1, 14.1, 21.2})
        band.addHRule(y, 0, kBandWidth, kThinRule);
    // Columns 1 and 2 form one cell for the captions; nothing is summed
    // right of the pfs column.
    for (int edge = 2; edge <= 11; ++edge)
        band.addVRule(kEdges[edge], 0, 21.5, kThinRule);

    static const double rowY[3] = {2.3, 9.4, 16.5};
    AddSummaryCaptions(band, rowY);
    // Seeing: the form's own sums over the printed rows.
    for (int i = 0; i < 3; ++i) {
        const double x = Centre(3 + i);
        band.addField(x, rowY[0], 10, A::Center,
                      [this, i] { return seeingCounts_[i] >= 1 ? FormInteger(seeingSums_[i]) : QString(); });
        band.addField(x, rowY[1], 10, A::Center, [this, i] {
            return seeingCounts_[i] >= 1 ? FormInteger(seeingCounts_[i]) : QString();
        });
        band.addField(x, rowY[2], 10, A::Center, [this, i] {
            const int count = seeingCounts_[i];
            return count >= 1 ? FormMean(static_cast<double>(seeingSums_[i]) / count, 1) : QString();
        });
    }
    // Faculae: the month table's totals over every observed day.
    const TMonthTotals &totals = data_.totals;
    for (int i = 0; i < 6; ++i) {
        const int field = kFirstFaculaeField + i;
        const double x = kEdges[6 + i] - 0.2;
        band.addField(x, rowY[0], 10, A::Right, [&totals, field] {
            return totals.Counts[field] >= 1 ? FormInteger(totals.Sums[field]) : QString();
        });
        band.addField(x, rowY[1], 10, A::Right, [&totals, field] {
            return totals.Counts[field] >= 1 ? FormInteger(totals.Counts[field]) : QString();
        });
        band.addField(x, rowY[2], 10, A::Right, [&totals, field] {
            return totals.Counts[field] >= 1 ? FormMean(totals.mean(field), 1) : QString();
        });
    }
    AddFormFootnotes(band, QStringLiteral("Formblatt: SOB09"));
}

void TSOB09::SOB01BeforePrint() {
    dayCounter_ = 0;
    faculae_ = false;
    for (int i = 0; i < 3; ++i) {
        seeingSums_[i] = 0;
        seeingCounts_[i] = 0;
    }
}

bool TSOB09::SOB01NeedData() {
    if (dayCounter_ >= data_.days)
        return false;
    ++dayCounter_;
    return true;
}

QString TSOB09::seeingText(int index, std::int16_t value) {
    if (!faculae_ || value == -1)
        return QString();
    seeingSums_[index] += value;
    ++seeingCounts_[index];
    return FormInteger(value);
}

QString TSOB09::valueText(std::int16_t value) const {
    return faculae_ && value != -1 ? FormInteger(value) : QString();
}

int PrintSob09(QPaintDevice *device, const TYearBuffer &yearData, int month, int year,
               const TObserverProfile &profile, const TMonthTotals &totals) {
    TSOB09 form;
    form.setMonth(yearData, month, year, profile, totals);
    return form.report().print(device);
}

void WriteSob09Pdf(const QString &fileName, const TYearBuffer &yearData, int month, int year,
                   const TObserverProfile &profile, const TMonthTotals &totals) {
    TSOB09 form;
    form.setMonth(yearData, month, year, profile, totals);
    form.report().writePdf(fileName, QStringLiteral("SOB09 %1/%2").arg(month).arg(year));
}
