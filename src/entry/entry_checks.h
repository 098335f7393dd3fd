#pragma once

#include "storage/day_record.h"

#include <QHash>
#include <QString>
#include <QVector>

// The texts of the entry dialog's fields, keyed by the control's name
// ("Zeit", "g_n", "Rs", ...). A missing key reads as an empty field.
using EntryTexts = QHash<QString, QString>;

// A message a box check asks the dialog to show, and the field that gets the
// focus afterwards.
struct CheckMessage {
    enum Kind { Information, Error };
    QString text;
    QString focus;
    Kind kind = Information;
};

// The outcome of one box check.
struct BoxCheck {
    // Every value of the box was stored: the box is no longer pending. A
    // refused entry (not a number, out of range, incomplete) leaves it false.
    bool complete = true;
    // The derived numbers (Re with g and f, or SN) changed and are to be shown.
    bool derivedChanged = false;
    QVector<CheckMessage> messages;
};

// The entry dialog's boxes, in the order OK checks them.
enum class EntryBox { General, Wolf, Beck, Pettis, CV, A, Fackel, LB };

// A day opened without observation starts with every number "not given", no
// texts and no faculae mark; remark and reserved bytes stay as they are.
void ClearUnobservedDay(TDayRecord &day);

// Whether the day holds any number, faculae text or mark besides its time
// and remark (what is lost from view when the day counts as not observed).
bool HasObservationValues(const TDayRecord &day);

// The last step of OK: an untouched time "  :  " becomes empty (not observed).
void FinishEntry(TDayRecord &day);

// The checks store what the fields hold into `day`. On a refused field the
// fields before it keep what was stored, it and the later ones are not stored.
BoxCheck CheckGeneralBox(const EntryTexts &texts, TDayRecord &day);
// `nsOn`: the north/south fields are shown (entry switch N-S).
BoxCheck CheckWolfBox(const EntryTexts &texts, bool nsOn, TDayRecord &day);
BoxCheck CheckBeckBox(const EntryTexts &texts, TDayRecord &day);
BoxCheck CheckPettisBox(const EntryTexts &texts, TDayRecord &day);
BoxCheck CheckCvBox(const EntryTexts &texts, TDayRecord &day);
BoxCheck CheckABox(const EntryTexts &texts, TDayRecord &day);
// `flChecked`: the check box "Fl".
BoxCheck CheckFackelBox(const EntryTexts &texts, bool flChecked, TDayRecord &day);
BoxCheck CheckLbBox(const EntryTexts &texts, TDayRecord &day);

// Whether the totals g and f are derived from the north/south fields (and so
// read-only): with N-S on as soon as one of them holds text; with N-S off only
// when all four hidden fields hold values.
bool TotalsFromNorthSouth(const EntryTexts &texts, bool nsOn);

// Message of leaving a north/south spot field (`field` is "f_n" or "f_s")
// while its group field holds text and it is empty; empty when all is well.
QString SpotFieldMessage(const EntryTexts &texts, const QString &field);

// Derived numbers. Re = 10·g + f and SN = 10·p + s; both are stored in 16
// bits, so a result above 32767 is refused rather than wrapped.
constexpr int kDerivedMax = 32767;
int TenTimesPlus(int tens, int units);

// The name a field is shown with ("f_n" is "Flecken Nord"); a refused number
// is reported with it: "Flecken Nord: Das ist keine Zahl".
QString EntryFieldCaption(const QString &name);

// Fixed message texts.
QString GroupsAboveSpotsMessage();
QString IncompleteNorthSouthMessage();
QString SpotsMissingMessage();
// OK with numbers but without a time.
QString DayWithoutTimeQuestion();
// The entry dialog opened with no counting category switched on.
QString NoCategoryNotice();
