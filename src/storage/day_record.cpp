#include "day_record.h"

std::int32_t CountedField(const TDayRecord &d, int index) {
    switch (index) {
    case 0: return d.Ruhe;
    case 1: return d.Schaerfe;
    case 2: return d.Qualitaet;
    case 3: return d.g_n;
    case 4: return d.f_n;
    case 5: return d.g_s;
    case 6: return d.f_s;
    case 7: return d.g;
    case 8: return d.f;
    case 9: return d.Re;
    case 10: return d.Rs;
    case 11: return d.p;
    case 12: return d.s;
    case 13: return d.SN;
    case 14: return d.CV;
    case 15: return d.A;
    case 16: return d.Ab;
    case 17: return d.Fo;
    case 18: return d.Fm;
    case 19: return d.FEF;
    case 20: return d.FEP;
    case 21: return d.pfn;
    case 22: return d.pfs;
    default: return -1;
    }
}

const char *CountedFieldName(int index) {
    static const char *const names[kCountedFieldCount] = {
        "Ruhe", "Schaerfe", "Qualitaet", "g_n", "f_n", "g_s", "f_s", "g",   "f",   "Re",  "Rs", "p",
        "s",    "SN",       "CV",        "A",   "Ab",  "Fo",  "Fm",  "FEF", "FEP", "pfn", "pfs"};
    return index >= 0 && index < kCountedFieldCount ? names[index] : "";
}
