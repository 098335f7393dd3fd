#include "form_layout.h"

#include "calendar/tpdate.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QLocale>

void SetUpFormPage(TReport &report, double bandWidth) {
    report.page = TReportPage{};
    report.page.top = 10;
    report.page.bottom = 15;
    report.page.left = 20;
    report.page.right = 10;
    report.page.frameWidth = kHeavyRule;
    report.bandWidth = bandWidth;
}

void AddFormTitle(TReportBand &band, double bandWidth, const QString &headline,
                  const TObserverProfile *profile, const QString *month, const QString *year) {
    using A = TReportAlign;
    band.name = QStringLiteral("Titel");
    band.height = 42.2;
    band.bottomRule = kHeavyRule;
    band.addText(10.3, 2.8, 20, A::Left, headline);
    band.addText(104.4, 4.5, 14, A::Left, QStringLiteral("im Monat:"));
    band.addField(128.2, 4.5, 14, A::Left, [month] { return *month; });
    band.addText(136.4, 4.5, 14, A::Left, QStringLiteral("Jahr:"));
    band.addField(149.4, 4.5, 14, A::Left, [year] { return *year; });
    band.addHRule(11.9, 0, bandWidth, kThinRule);

    band.addText(5.2, 13.5, 10, A::Left, QStringLiteral("Beobachter:"));
    band.addField(27.8, 13.5, 10, A::Left, [profile] { return profile->Name1.text(); });
    band.addField(5.3, 18.9, 10, A::Left, [profile] { return profile->Name2.text(); });
    band.addField(5.3, 24.2, 10, A::Left, [profile] { return profile->Name3.text(); });
    band.addField(5.3, 29.5, 10, A::Left, [profile] { return profile->Name4.text(); });
    band.addText(5.2, 37.2, 8, A::Left, QStringLiteral("geogr. Länge"));
    band.addField(24.9, 37.2, 8, A::Left, [profile] { return profile->Laenge.text(); });
    band.addText(46.2, 37.2, 8, A::Left, QStringLiteral("geogr. Breite"));
    band.addField(64.4, 37.2, 8, A::Left, [profile] { return profile->Breite.text(); });

    band.addVRule(80.0, 12.3, band.height, kThinRule);
    band.addText(82.0, 13.6, 10, A::Left, QStringLiteral("Instrument/Methode"));
    band.addText(82.0, 19.4, 10, A::Left, QStringLiteral("Instrument: "));
    band.addField(108.0, 19.4, 10, A::Left, [profile] { return profile->Instrument.text(); });
    band.addText(82.0, 25.1, 10, A::Left, QStringLiteral("Öffnung:"));
    band.addField(115.8, 25.1, 10, A::Right, [profile] { return profile->Oeffn.text(); });
    band.addText(119.1, 25.1, 10, A::Left, QStringLiteral("mm"));
    band.addText(82.0, 30.6, 10, A::Left, QStringLiteral("Brennweite"));
    band.addField(115.8, 30.6, 10, A::Right, [profile] { return profile->Brenn.text(); });
    band.addText(119.1, 30.6, 10, A::Left, QStringLiteral("mm"));
    band.addText(82.0, 36.5, 10, A::Left, QStringLiteral("Vergrößerung:"));
    band.addField(115.6, 36.5, 10, A::Right, [profile] { return profile->Vergr.text(); });
    band.addText(119.1, 36.5, 10, A::Left, QStringLiteral("x"));
}

void AddSummaryCaptions(TReportBand &band, const double (&rowY)[3]) {
    const QString captions[3] = {QStringLiteral("Summe"), QStringLiteral("Anzahl"), QStringLiteral("Mittel")};
    for (int row = 0; row < 3; ++row)
        band.addText(17.2, rowY[row], 10, TReportAlign::Right, captions[row]);
}

void AddFormFootnotes(TReportBand &band, const QString &formName) {
    using A = TReportAlign;
    band.addText(
        1.5, 23.0, 6, A::Left,
        QStringLiteral("Ruhe, Schärfe: modifizierte Kiepenheuer-Skala, Wertestufen: 1 (keine Bildbew.), "
                       "2, 3, 4 oder 5 (Bildbew. >8\")"));
    band.addText(1.5, 25.9, 6, A::Left,
                 QStringLiteral("Qualität: 1=E(xcellent), 2=G(ood), 3=F(air), 4=P(oor), 5=W(orthless)"));
    band.addText(176.5, 23.0, 6, A::Right, formName);
    band.addField(176.9, 25.9, 6, A::Right, [] { return FormProgramLine(); });
}

QString FormProgramLine() {
    QString version = Storage().ProgramVersion;
    if (version.isEmpty())
        version = ReadProgramVersion();
    const QString program = (QStringLiteral("Programm: TARVO32, v") + version).left(36);
    return (program + QStringLiteral(", ") + QLatin1String(kFormIssuer)).left(62);
}

QString FormInteger(std::int64_t value) {
    return QString::number(value);
}

QString FormMean(double mean, int decimals) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(mean, 'f', decimals);
}

void TFormMonth::assign(const TYearBuffer &yearData, int monthNo, int yearNo,
                        const TObserverProfile &observer, const TMonthTotals &monthTotals) {
    if (monthNo < 1 || monthNo > 12)
        throw TarvoError(QStringLiteral("Ungültiger Monat %1").arg(monthNo));
    block = yearData.Months[monthNo];
    month = monthNo;
    year = yearNo;
    profile = observer;
    totals = monthTotals;
    // The totals carry the month length; a caller that left it out still
    // gets one row per day of the month.
    days =
        totals.DaysInMonth >= 1 && totals.DaysInMonth <= 31 ? totals.DaysInMonth : MonthLength(month, year);
}
