#pragma once

// Fixture months and helpers shared by the form tests.
#include "storage/month_totals.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <cstring>

inline TDayRecord EmptyDay() {
    TDayRecord r;
    std::memset(&r, 0xFF, sizeof r); // every number -1
    r.Bemerkung.assign(QString());
    r.Zeit.assign(QString());
    r.z_f.assign(QString());
    r.Po.assign(QString());
    r.Fl = 0;
    std::memset(r.Reserved1, 0, sizeof r.Reserved1);
    std::memset(r.Reserved2, 0, sizeof r.Reserved2);
    return r;
}

inline void SetSpots(TDayRecord &r, const char *zeit, std::array<int, 17> v) {
    r.Zeit.assign(QString::fromLatin1(zeit));
    r.Ruhe = v[0];
    r.Schaerfe = v[1];
    r.Qualitaet = v[2];
    r.g_n = v[3];
    r.f_n = v[4];
    r.g_s = v[5];
    r.f_s = v[6];
    r.g = v[7];
    r.f = v[8];
    r.Re = v[9];
    r.Rs = v[10];
    r.p = v[11];
    r.s = v[12];
    r.SN = v[13];
    r.CV = v[14];
    r.A = static_cast<std::int8_t>(v[15]);
    r.Ab = static_cast<std::int8_t>(v[16]);
}

inline void SetFaculae(TDayRecord &r, std::array<int, 6> v, const char *zf, const char *po, char fl) {
    r.Fo = v[0];
    r.Fm = v[1];
    r.FEF = v[2];
    r.FEP = v[3];
    r.pfn = v[4];
    r.pfs = v[5];
    r.z_f.assign(QString::fromLatin1(zf));
    r.Po.assign(QString::fromLatin1(po));
    r.Fl = fl;
}

// The fixture year 2004 (and its February used as 2003):
// - March: a filled month, every day observed except 7 (values but no time)
//   and 9 (remark, no time); A = 5 on all 29 observed days.
// - February: two observed days with known sums; a third day has values but
//   no time. The header record holds sums that must not be printed.
// - April: the faculae cases.
inline TYearBuffer FixtureYear() {
    TYearBuffer y;
    for (auto &block : y.Months)
        for (auto &day : block.Days)
            day = EmptyDay();

    for (int d = 1; d <= 31; ++d) {
        TDayRecord &r = y.Day(3, d);
        const int gn = d % 4, fn = gn * 3 + d % 2, gs = d % 3, fs = gs * 2;
        const int p = d % 3, s = p * 2 + 1;
        const QByteArray time = QStringLiteral("%1:%2")
                                    .arg(6 + d % 6, 2, 10, QLatin1Char('0'))
                                    .arg((d * 7) % 60, 2, 10, QLatin1Char('0'))
                                    .toLatin1();
        SetSpots(r, time.constData(),
                 {1 + d % 5, 1 + (d + 2) % 5, 1 + (d + 1) % 5, gn, fn, gs, fs, gn + gs, fn + fs,
                  10 * (gn + gs) + fn + fs, 100 + d * 13, p, s, 10 * p + s, d * 2, 5, d % 2});
        SetFaculae(r, {d % 6, (d * 5) % 7, d % 3, d % 2, d % 4, d % 5 == 0 ? 1 : -1}, d % 2 ? "Z" : "F",
                   d % 3 ? "N" : "S", d % 4 == 0 ? 'X' : 0);
    }
    SetSpots(y.Day(3, 5), "09:15", {2, 3, 1, 1, 4, 2, 5, 3, 9, 39, 55, 2, 6, 26, 12, 5, 0});
    y.Day(3, 7).Zeit.assign(QString()); // values stay, the day was not observed
    y.Day(3, 9).Zeit.assign(QString());
    y.Day(3, 9).Bemerkung.assign(QStringLiteral("Regen"));
    SetSpots(y.Day(3, 12), "10:05", {3, 3, 2, -1, 0, 1, 2, 1, 2, 12, -1, 0, -1, 0, 7, 5, -1});
    y.Day(3, 3).Bemerkung.assign(QStringLiteral("Dunst"));
    y.Day(3, 20).Bemerkung.assign(QStringLiteral("Wolkenlücken"));
    SetSpots(y.Day(3, 31), "12:59", {5, 5, 5, 9, 99, 9, 99, 18, 198, 378, 70000, 9, 99, 189, 321, 5, 1});

    SetSpots(y.Day(2, 1), "08:00", {3, 2, 1, 1, 2, 0, 0, 1, 2, 3, 10, 1, 1, 11, -1, 2, -1});
    SetSpots(y.Day(2, 2), "09:30", {4, -1, 2, 2, 5, 1, 1, 3, 6, 4, 12340, 0, 3, 3, -1, 3, 1});
    SetSpots(y.Day(2, 3), "", {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5});
    y.Months[2].Header().CV = 999;
    y.Months[2].Header().Re = 4321;

    TDayRecord &a2 = y.Day(4, 2);
    SetSpots(a2, "10:00", {2, 3, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    SetFaculae(a2, {4, 2, 1, 0, 1, -1}, "Z", "N", 'X');
    a2.Bemerkung.assign(QStringLiteral("Fackeln"));
    TDayRecord &a3 = y.Day(4, 3);
    SetSpots(a3, "10:30", {3, -1, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    SetFaculae(a3, {-1, 5, -1, -1, -1, 2}, "", "S", 0);
    TDayRecord &a4 = y.Day(4, 4); // polar faculae only: not printed, but summed
    SetSpots(a4, "11:00", {5, 4, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    SetFaculae(a4, {-1, -1, -1, -1, 3, -1}, "F", "", 'X');
    a4.Bemerkung.assign(QStringLiteral("nur Pol"));
    TDayRecord &a5 = y.Day(4, 5);
    SetSpots(a5, "11:30", {-1, 2, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    SetFaculae(a5, {1, -1, -1, -1, -1, -1}, "", "", 0);
    TDayRecord &a6 = y.Day(4, 6); // faculae but no time
    SetFaculae(a6, {7, 7, 7, 7, 7, 7}, "Z", "N", 'X');
    return y;
}

inline TObserverProfile FixtureProfile(bool printRemarks) {
    TObserverProfile p = EmptyProfile();
    p.Name1.assign(QStringLiteral("HMUS"));
    p.Name2.assign(QStringLiteral("Hans Müller"));
    p.Name3.assign(QStringLiteral("Sonnenweg 5"));
    p.Name4.assign(QStringLiteral("12345 Sternberg"));
    p.Laenge.assign(QStringLiteral("13.4 O"));
    p.Breite.assign(QStringLiteral("52.5 N"));
    p.Instrument.assign(QStringLiteral("Refr."));
    p.Oeffn.assign(QStringLiteral("80"));
    p.Brenn.assign(QStringLiteral("1200"));
    p.Vergr.assign(QStringLiteral("48"));
    p.Aus.set(CatBemerkung, printRemarks);
    return p;
}

// The page's text as pdftotext lays it out.
inline QString PdfText(const QString &pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int PdfPages(const QString &pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

inline QStringList Tokens(const QString &line) {
    return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The lines of the detail rows: after the column header, before "Summe".
inline QStringList DetailLines(const QString &text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList out;
    bool inRows = false;
    for (const QString &line : lines) {
        const QStringList t = Tokens(line);
        if (!t.isEmpty() && t.first() == QLatin1String("Summe"))
            break;
        if (inRows && !t.isEmpty())
            out << line;
        if (line.contains(QLatin1String("hh:mm")))
            inRows = true;
    }
    return out;
}

// The tokens of the detail line that starts with the day number.
inline QStringList RowTokens(const QString &text, int day) {
    for (const QString &line : DetailLines(text)) {
        const QStringList t = Tokens(line);
        if (t.first() == QString::number(day))
            return t;
    }
    return {};
}

// Day numbers that start detail lines, in order.
inline QList<int> RowDays(const QString &text) {
    QList<int> days;
    for (const QString &line : DetailLines(text)) {
        bool ok = false;
        const int n = Tokens(line).first().toInt(&ok);
        if (ok)
            days << n;
    }
    return days;
}

// The tokens of the summary line that starts with `caption`.
inline QStringList SummaryTokens(const QString &text, const QString &caption) {
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList t = Tokens(line);
        if (!t.isEmpty() && t.first() == caption)
            return t;
    }
    return {};
}

// Centre, in mm from the paper's edge, of the dark pixels on a scan line
// between two positions; -1 when there are none.
inline double DarkCentreAlongX(const QImage &image, double yMm, double fromMm, double toMm) {
    const double pxPerMm = image.dotsPerMeterX() / 1000.0;
    const int y = qRound(yMm * pxPerMm);
    double sum = 0;
    int count = 0;
    for (int x = qRound(fromMm * pxPerMm); x <= qRound(toMm * pxPerMm); ++x)
        if (qGray(image.pixel(x, y)) < 128) {
            sum += x + 0.5;
            ++count;
        }
    return count == 0 ? -1 : sum / count / pxPerMm;
}

inline double DarkCentreAlongY(const QImage &image, double xMm, double fromMm, double toMm) {
    const double pxPerMm = image.dotsPerMeterY() / 1000.0;
    const int x = qRound(xMm * pxPerMm);
    double sum = 0;
    int count = 0;
    for (int y = qRound(fromMm * pxPerMm); y <= qRound(toMm * pxPerMm); ++y)
        if (qGray(image.pixel(x, y)) < 128) {
            sum += y + 0.5;
            ++count;
        }
    return count == 0 ? -1 : sum / count / pxPerMm;
}

// Pixels with ink (darker than light grey) in a rectangle given in mm from
// the paper's edge.
inline int InkIn(const QImage &image, double x1Mm, double y1Mm, double x2Mm, double y2Mm) {
    const double pxPerMm = image.dotsPerMeterX() / 1000.0;
    int ink = 0;
    for (int y = qRound(y1Mm * pxPerMm); y <= qRound(y2Mm * pxPerMm); ++y)
        for (int x = qRound(x1Mm * pxPerMm); x <= qRound(x2Mm * pxPerMm); ++x)
            if (qGray(image.pixel(x, y)) < 192)
                ++ink;
    return ink;
}
