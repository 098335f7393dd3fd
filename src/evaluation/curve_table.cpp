#include "curve_table.h"

const std::array<TCurveInfo, kCurveCount> &Curves() {
    using S = TMonthSummary;
    using K = TCurveKind;
    static const std::array<TCurveInfo, kCurveCount> curves{{
        {1, "RE", "Re", "Re", "Re:", &S::MeanRe, 1, "re", K::OwnMean, 9, 0, true},
        {2, "REN", "Re Nord", "Re Nord", "Re Nord:", &S::MeanReNord, 1, "ren", K::OwnMean, 3, 0, true},
        {3, "RES", "Re Süd", "Re Süd", "Re Süd:", &S::MeanReSued, 1, "res", K::OwnMean, 5, 0, true},
        {4, "M13", "R13", "R13", "R13:", &S::R13, 1, "r13", K::Smoothed, 9, 6, true},
        {5, "M17", "P17", "P17", "P17:", &S::P17, 1, "p17", K::Smoothed, 9, 8, true},
        {6, "Beck", "Beck", "Beck", "Beck:", &S::MeanBeck, 0.1, "beck", K::OwnMean, 10, 0, true},
        {7, "Petis", "Pettis", "Pettis", "Pettis:", &S::MeanSN, 1, "pettis", K::OwnMean, 13, 0, true},
        {8, "CV", "CV", "CV", "CV:", &S::MeanCV, 1, "cv", K::OwnMean, 14, 0, false},
        {9, "A", "A", "A", "A:", &S::MeanA, 100, "a", K::OwnMean, 15, 0, false},
        {10, "Ab", "A*", "A*", "A*:", &S::MeanAb, 100, "ab", K::OwnMean, 16, 0, false},
        {11, "Tarvo_Def", "Tarvo Def", "Tarvo_Def", "Tarvo Def:", &S::NetDef, 1, "tarvodef", K::Imported, -1,
         0, true},
        {12, "Tarvo_Prov", "Tarvo Prov", "Tarvo_Prov", "Tarvo Prov:", &S::NetProv, 1, "tarvoprov",
         K::Imported, -1, 0, true},
        {13, "Zuer", "Zürich", "Zürich", "Zürich:", &S::Zuerich, 1, "zuerich", K::Imported, -1, 0, true},
        {14, "SIDC", "SIDC", "SIDC", "SIDC:", &S::SIDC, 1, "sidc", K::Imported, -1, 0, true},
        {15, "SIDC_M", "SIDC M", "SIDC-Mittel", "SIDC mittel:", &S::SIDCM, 1, "sidcm", K::Imported, -1, 0,
         true},
        {16, "ANETZ", "A-Netz", "A-Netz", "A-Netz:", &S::ANetz, 1, "anetz", K::Imported, -1, 0, false},
        {17, "AbNetz", "A*-Netz", "A*-Netz", "A*-Netz:", &S::AbNetz, 1, "abnetz", K::Imported, -1, 0, false},
        {18, "Fo", "Fo", "Fo", "Fo:", &S::MeanFo, 1, "fo", K::OwnMean, 17, 0, false},
        {19, "Fm", "Fm", "Fm", "Fm:", &S::MeanFm, 1, "fm", K::OwnMean, 18, 0, false},
        {20, "FEF", "FEF", "FEF", "FEF:", &S::MeanFEF, 1, "fef", K::OwnMean, 19, 0, false},
        {21, "FEP", "FEP", "FEP", "FEP:", &S::MeanFEP, 1, "fep", K::OwnMean, 20, 0, false},
        {22, "pfn", "pfn", "pfn", "pfn:", &S::MeanPfn, 1, "pfn", K::OwnMean, 21, 0, false},
        {23, "pfs", "pfs", "pfs", "pfs:", &S::MeanPfs, 1, "pfs", K::OwnMean, 22, 0, false},
        {24, "P9", "P9", "P9", "P9 :", &S::P9, 1, "p9", K::Smoothed, 9, 4, true},
    }};
    return curves;
}

const std::array<int, 13> &ToolBarRow1() {
    // RE, REN, RES, P9, M13, M17, Beck, Petis, CV, A, Ab, Tarvo_Def, Tarvo_Prov
    static const std::array<int, 13> row{0, 1, 2, 23, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    return row;
}

const std::array<int, 11> &ToolBarRow2() {
    // Zuer, SIDC, SIDC_M, ANETZ, AbNetz, Fo, Fm, FEF, FEP, pfn, pfs
    static const std::array<int, 11> row{12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    return row;
}

const std::array<int, kCurveCount> &ReadOutOrder() {
    // P9 follows P17 in the read-out.
    static const std::array<int, kCurveCount> order{0,  1,  2,  3,  4,  23, 5,  6,  7,  8,  9,  10,
                                                    11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    return order;
}

QColor ColourFromFarbe(std::int32_t farbe) {
    const auto v = static_cast<std::uint32_t>(farbe);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

std::int32_t FarbeFromColour(const QColor &colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::int32_t>(std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
                                     (std::uint32_t(rgb.blue()) << 16));
}

std::optional<int> CurveByName(const QString &name) {
    const QString wanted = name.trimmed().toLower();
    for (int c = 0; c < kCurveCount; ++c) {
        const QString caption = QString::fromUtf8(Curves()[c].caption).toLower().remove(QLatin1Char(' '));
        if (wanted == QLatin1String(Curves()[c].name) || wanted == caption)
            return c;
    }
    return std::nullopt;
}

TCurveSwitches CurvesFromNames(const QStringList &names, QStringList *unknown) {
    TCurveSwitches shown{};
    for (const QString &name : names) {
        if (const std::optional<int> c = CurveByName(name))
            shown[*c] = true;
        else if (unknown)
            unknown->append(name);
    }
    return shown;
}

QStringList CurveNames(const TCurveSwitches &shown) {
    QStringList names;
    for (int c = 0; c < kCurveCount; ++c)
        if (shown[c])
            names << QLatin1String(Curves()[c].name);
    return names;
}

TCurveSwitches DefaultCurves() {
    return CurvesFromNames(
        {QStringLiteral("re"), QStringLiteral("r13"), QStringLiteral("sidc"), QStringLiteral("sidcm")});
}
