#include "curve_table.h"

const std::array<TCurveInfo, kCurveCount> &Curves() {
    using S = TMonthSummary;
    static const std::array<TCurveInfo, kCurveCount> curves{{
        {1, "RE", "Re", "Re", "Re:", &S::MeanRe, 1},
        {2, "REN", "Re Nord", "Re Nord", "Re Nord:", &S::MeanReNord, 1},
        {3, "RES", "Re Süd", "Re Süd", "Re Süd:", &S::MeanReSued, 1},
        {4, "M13", "R13", "R13", "R13:", &S::R13, 1},
        {5, "M17", "P17", "P17", "P17:", &S::P17, 1},
        {6, "Beck", "Beck", "Beck", "Beck:", &S::MeanBeck, 0.1},
        {7, "Petis", "Pettis", "Pettis", "Pettis:", &S::MeanSN, 1},
        {8, "CV", "CV", "CV", "CV:", &S::MeanCV, 1},
        {9, "A", "A", "A", "A:", &S::MeanA, 100},
        {10, "Ab", "A*", "A*", "A*:", &S::MeanAb, 100},
        {11, "Tarvo_Def", "Tarvo Def", "Tarvo_Def", "Tarvo Def:", &S::NetDef, 1},
        {12, "Tarvo_Prov", "Tarvo Prov", "Tarvo_Prov", "Tarvo Prov:", &S::NetProv, 1},
        {13, "Zuer", "Zürich", "Zürich", "Zürich:", &S::Zuerich, 1},
        {14, "SIDC", "SIDC", "SIDC", "SIDC:", &S::SIDC, 1},
        {15, "SIDC_M", "SIDC M", "SIDC-Mittel", "SIDC mittel:", &S::SIDCM, 1},
        {16, "ANETZ", "A-Netz", "A-Netz", "A-Netz:", &S::ANetz, 1},
        {17, "AbNetz", "A*-Netz", "A*-Netz", "A*-Netz:", &S::AbNetz, 1},
        {18, "Fo", "Fo", "Fo", "Fo:", &S::MeanFo, 1},
        {19, "Fm", "Fm", "Fm", "Fm:", &S::MeanFm, 1},
        {20, "FEF", "FEF", "FEF", "FEF:", &S::MeanFEF, 1},
        {21, "FEP", "FEP", "FEP", "FEP:", &S::MeanFEP, 1},
        {22, "pfn", "pfn", "pfn", "pfn:", &S::MeanPfn, 1},
        {23, "pfs", "pfs", "pfs", "pfs:", &S::MeanPfs, 1},
        {24, "P9", "P9", "P9", "P9 :", &S::P9, 1},
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
