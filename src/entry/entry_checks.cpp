#include "entry_checks.h"

#include "entry_number.h"
#include "entry_time.h"
#include "storage/cp1252.h"
#include "storage/day_fields.h"

#include <QHash>
#include <QLatin1StringView>
#include <cstring>
#include <initializer_list>
#include <optional>

namespace {

QString Text(const EntryTexts &texts, const char *name) {
    return texts.value(QLatin1StringView(name));
}
bool Filled(const EntryTexts &texts, const char *name) {
    return !Text(texts, name).trimmed().isEmpty();
}

void Refuse(BoxCheck &r, const QString &message, const char *focus) {
    r.complete = false;
    r.messages.append({message, QLatin1StringView(focus), CheckMessage::Information});
}

// The text of a field as it can be stored (Windows-1252, at most `width`
// characters). A character the code page cannot hold would silently become
// "?": the entry is refused instead. A letter typed as base and accent is
// taken as the one character it shows.
bool StorableText(const EntryTexts &texts, const char *name, int width, BoxCheck &r, QString &text) {
    text = Text(texts, name).normalized(QString::NormalizationForm_C).left(width);
    if (FromCp1252(ToCp1252(text)) == text)
        return true;
    Refuse(r, QStringLiteral("\"%1\" enthält Zeichen, die nicht gespeichert werden können.").arg(text), name);
    return false;
}

// Reads one field; on a refused entry the check is marked incomplete.
bool Parse(const EntryTexts &texts, const char *name, NumberRange range, BoxCheck &r, std::int64_t &value) {
    const NumberInput in = ParseEntryNumber(Text(texts, name), range);
    if (!in.ok()) {
        Refuse(r,
               EntryFieldCaption(QLatin1StringView(name)) + QStringLiteral(": ") +
                   NumberInputMessage(in, range),
               name);
        return false;
    }
    value = in.value;
    return true;
}

// Reads a number field with the range its width allows.
bool Parse(const EntryTexts &texts, const char *name, BoxCheck &r, std::int64_t &value) {
    return Parse(texts, name, FieldRange(kDayFields[static_cast<std::size_t>(DayFieldIndex(name))].Width), r,
                 value);
}

// Stores the number fields named, in order, and stops at the first refused
// one. A field takes what its width holds (no negative numbers), the seeing
// fields only 1..5.
bool StoreNumbers(const EntryTexts &texts, std::initializer_list<const char *> names, TDayRecord &day,
                  BoxCheck &r, std::optional<NumberRange> range = std::nullopt) {
    for (const char *name : names) {
        const TDayField &field = kDayFields[static_cast<std::size_t>(DayFieldIndex(name))];
        std::int64_t value = -1;
        if (!Parse(texts, name, range ? *range : FieldRange(field.Width), r, value))
            return false;
        SetDayNumber(day, field, value);
    }
    return true;
}

QString WolfTooLargeMessage() {
    return QStringLiteral("Die Relativzahl Re = 10 · g + f darf höchstens %1 sein").arg(kDerivedMax);
}

QString PettisTooLargeMessage() {
    return QStringLiteral("Die Pettis-Zahl SN = 10 · p + s darf höchstens %1 sein").arg(kDerivedMax);
}

QString PettisIncompleteMessage() {
    return QStringLiteral("Für die Pettis-Zahl bitte p und s angeben");
}

constexpr const char *kNorthSouth[4] = {"g_n", "f_n", "g_s", "f_s"};

int FilledNorthSouth(const EntryTexts &texts) {
    int n = 0;
    for (const char *name : kNorthSouth)
        n += Filled(texts, name) ? 1 : 0;
    return n;
}

void SetTotals(TDayRecord &day, int g, int f, int re) {
    day.g = static_cast<std::int16_t>(g);
    day.f = static_cast<std::int16_t>(f);
    day.Re = static_cast<std::int16_t>(re);
}

} // namespace

QString EntryFieldCaption(const QString &name) {
    static const QHash<QString, QString> captions = {
        {QStringLiteral("Zeit"), QStringLiteral("Weltzeit")},
        {QStringLiteral("Schaerfe"), QStringLiteral("Schärfe")},
        {QStringLiteral("Qualitaet"), QStringLiteral("Qualität")},
        {QStringLiteral("g_n"), QStringLiteral("Gruppen Nord")},
        {QStringLiteral("f_n"), QStringLiteral("Flecken Nord")},
        {QStringLiteral("g_s"), QStringLiteral("Gruppen Süd")},
        {QStringLiteral("f_s"), QStringLiteral("Flecken Süd")},
        {QStringLiteral("g"), QStringLiteral("Gruppen gesamt")},
        {QStringLiteral("f"), QStringLiteral("Flecken gesamt")},
        {QStringLiteral("Ab"), QStringLiteral("A*")},
        {QStringLiteral("z_f"), QStringLiteral("Z/F")},
        {QStringLiteral("Po"), QStringLiteral("P")},
        {QStringLiteral("LN"), QStringLiteral("L-Nord")},
        {QStringLiteral("LS"), QStringLiteral("L-Süd")},
        {QStringLiteral("LGES"), QStringLiteral("L-Gesamt")}};
    // The other fields are shown under their own names (Ruhe, Rs, CV, Fo, ...).
    return captions.value(name, name);
}

QString GroupsAboveSpotsMessage() {
    return QStringLiteral("Die Anzahl der Flecken kann nicht kleiner sein,\nals die Anzahl der Gruppen");
}
QString IncompleteNorthSouthMessage() {
    return QStringLiteral("Das geht so nicht!!");
}
QString SpotsMissingMessage() {
    return QStringLiteral("Wenn Gruppen vorhanden sind, müssen auch Flecken da sein");
}

QString DayWithoutTimeQuestion() {
    return QStringLiteral("Für diesen Tag ist keine Weltzeit eingegeben. Ohne Zeit zählt der Tag als "
                          "nicht beobachtet, und die eingegebenen Zahlen werden nicht ausgewertet.\n\n"
                          "Möchten Sie die Zeit jetzt eingeben?");
}
QString NoCategoryNotice() {
    return QStringLiteral("Für diesen Beobachter ist keine Zählung zur Eingabe eingeschaltet. Sie wird unter "
                          "„Optionen › Beobachter › Eingabe“ eingeschaltet (zum Beispiel "
                          "„Wolfsche Relativzahlen“).");
}

int TenTimesPlus(int tens, int units) {
    return 10 * tens + units;
}

bool HasObservationValues(const TDayRecord &day) {
    for (const TDayField &field : kDayFields) {
        if (field.Kind == TDayFieldKind::Number && DayNumber(day, field) != -1)
            return true;
    }
    return !day.z_f.empty() || !day.Po.empty() || day.Fl != 0;
}

void ClearUnobservedDay(TDayRecord &day) {
    for (const TDayField &field : kDayFields)
        if (field.Kind == TDayFieldKind::Number)
            SetDayNumber(day, field, -1);
    day.z_f.assign(QString());
    day.Po.assign(QString());
    day.Fl = 0;
}

void FinishEntry(TDayRecord &day) {
    if (CheckTimeText(day.Zeit.text()) == TimeStatus::Empty)
        day.Zeit.assign(QString());
}

BoxCheck CheckGeneralBox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    QString remark;
    if (!StorableText(texts, "Bemerkung", 15, r, remark))
        return r;
    day.Bemerkung.assign(remark);
    QString time = Text(texts, "Zeit");
    const TimeStatus status = CheckTimeText(time);
    if (status == TimeStatus::Incomplete || status == TimeStatus::OutOfRange) {
        r.complete = false;
        r.messages.append({TimeMessage(status), QStringLiteral("Zeit"), CheckMessage::Error});
        return r;
    }
    if (status == TimeStatus::Empty)
        time = QStringLiteral("  :  ");
    day.Zeit.assign(time);
    StoreNumbers(texts, {"Ruhe", "Schaerfe", "Qualitaet"}, day, r, kSeeingRange);
    return r;
}

bool TotalsFromNorthSouth(const EntryTexts &texts, bool nsOn) {
    const int filled = FilledNorthSouth(texts);
    return nsOn ? filled > 0 : filled == 4;
}

QString SpotFieldMessage(const EntryTexts &texts, const QString &field) {
    const char *groups = field == QLatin1StringView("f_n")   ? "g_n"
                         : field == QLatin1StringView("f_s") ? "g_s"
                                                             : nullptr;
    if (!groups)
        return {};
    if (!Filled(texts, field.toLatin1().constData()) && Filled(texts, groups))
        return SpotsMissingMessage();
    return {};
}

BoxCheck CheckWolfBox(const EntryTexts &texts, bool nsOn, TDayRecord &day) {
    BoxCheck r;
    const int filled = FilledNorthSouth(texts);
    if (filled == 4) {
        std::int64_t v[4];
        for (int i = 0; i < 4; ++i) {
            if (!Parse(texts, kNorthSouth[i], r, v[i]))
                return r;
        }
        const std::int64_t g = v[0] + v[2];
        const std::int64_t f = v[1] + v[3];
        const std::int64_t re = 10 * g + f;
        if (re > kDerivedMax) {
            Refuse(r, WolfTooLargeMessage(), "g_n");
            return r;
        }
        for (int i = 0; i < 4; ++i)
            SetDayNumber(day, DayFieldIndex(kNorthSouth[i]), v[i]);
        SetTotals(day, int(g), int(f), int(re));
        r.derivedChanged = true;
        // These only inform: the values stay stored.
        if (v[0] > v[1])
            r.messages.append({GroupsAboveSpotsMessage(), QStringLiteral("f_n"), CheckMessage::Information});
        if (v[2] > v[3])
            r.messages.append({GroupsAboveSpotsMessage(), QStringLiteral("f_s"), CheckMessage::Information});
        return r;
    }
    if (nsOn && filled > 0) {
        Refuse(r, IncompleteNorthSouthMessage(), "g_n");
        return r;
    }
    // Totals typed directly. With N-S off, hidden incomplete north/south
    // values cannot be corrected here, so they do not block the totals. With
    // N-S on and no split given, the totals fields stay open and what they
    // hold (a day counted without the split) is kept, not dropped unasked.
    const auto clearSplit = [&] {
        if (nsOn)
            day.g_n = day.f_n = day.g_s = day.f_s = -1;
    };
    const bool gFilled = Filled(texts, "g");
    const bool fFilled = Filled(texts, "f");
    if (!gFilled && !fFilled) {
        clearSplit();
        SetTotals(day, -1, -1, -1);
        r.derivedChanged = true;
        return r;
    }
    if (gFilled != fFilled) {
        Refuse(r, IncompleteNorthSouthMessage(), gFilled ? "f" : "g");
        return r;
    }
    std::int64_t g = -1, f = -1;
    if (!Parse(texts, "g", r, g) || !Parse(texts, "f", r, f))
        return r;
    const std::int64_t re = 10 * g + f;
    if (re > kDerivedMax) {
        Refuse(r, WolfTooLargeMessage(), "g");
        return r;
    }
    clearSplit();
    SetTotals(day, int(g), int(f), int(re));
    r.derivedChanged = true;
    return r;
}

BoxCheck CheckBeckBox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    StoreNumbers(texts, {"Rs"}, day, r);
    return r;
}

BoxCheck CheckPettisBox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    const bool pFilled = Filled(texts, "p");
    const bool sFilled = Filled(texts, "s");
    if (!pFilled && !sFilled) {
        // Both emptied: the Pettis values are not given.
        day.p = day.s = day.SN = -1;
        r.derivedChanged = true;
        return r;
    }
    std::int64_t p = -1, s = -1;
    if ((pFilled && !Parse(texts, "p", r, p)) ||
        (sFilled && !Parse(texts, "s", r, s)))
        return r;
    if (pFilled != sFilled) {
        Refuse(r, PettisIncompleteMessage(), pFilled ? "s" : "p");
        return r;
    }
    const std::int64_t sn = 10 * p + s;
    if (sn > kDerivedMax) {
        Refuse(r, PettisTooLargeMessage(), "p");
        return r;
    }
    day.p = static_cast<std::int16_t>(p);
    day.s = static_cast<std::int16_t>(s);
    day.SN = static_cast<std::int16_t>(sn);
    r.derivedChanged = true;
    return r;
}

BoxCheck CheckCvBox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    StoreNumbers(texts, {"CV"}, day, r);
    return r;
}

BoxCheck CheckABox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    StoreNumbers(texts, {"A", "Ab"}, day, r);
    return r;
}

BoxCheck CheckFackelBox(const EntryTexts &texts, bool flChecked, TDayRecord &day) {
    BoxCheck r;
    QString drawing, position;
    if (!StorableText(texts, "z_f", 5, r, drawing) || !StorableText(texts, "Po", 5, r, position))
        return r;
    if (!StoreNumbers(texts, {"Fo", "Fm", "FEF", "FEP", "pfn", "pfs"}, day, r))
        return r;
    day.z_f.assign(drawing);
    day.Po.assign(position);
    day.Fl = flChecked ? 'X' : 0;
    return r;
}

BoxCheck CheckLbBox(const EntryTexts &texts, TDayRecord &day) {
    BoxCheck r;
    StoreNumbers(texts, {"LN", "LS", "LGES"}, day, r);
    return r;
}
