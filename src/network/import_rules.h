#pragma once

#include <QString>

// Earliest first year the two imports accept.
constexpr int kSidcFirstYear = 1749;
constexpr int kNetDefFirstYear = 1977;

// A year typed with two digits: 0..49 means 2000..2049, 50..99 means 1950..1999.
int ExpandTwoDigitYear(int year);

// The imports' year rule: minYear <= first <= current year, first <= last <= current year.
bool ImportYearsValid(int minYear, int firstYear, int lastYear, int currentYear);
// Why the years break the rule, naming the field ("von Jahr", "bis Jahr");
// empty when they keep it. A year that is no number is given as -1.
QString ImportYearsProblem(int minYear, int firstYear, int lastYear, int currentYear);

// The texts the imports tell the user.
QString SidcImportedMessage();
QString NetDefImportedMessage();
// Said once after an import from an old column file.
QString OldSidcScaleNotice();
// Source and licence of the SILSO data.
QString SilsoAttribution();
