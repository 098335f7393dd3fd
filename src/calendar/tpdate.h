#pragma once

#include <QString>

// Calendar rules and picture-driven readers for date and time texts.
//
// A picture marks with letters where the fields of a text stand: d day,
// m month, y year in a date picture; h hour, m minute, s second, t the A/P
// marker and e the M of an AM/PM suffix in a time picture. d, m, y, h and s
// match in either case, t and e only in lower case; every other character is
// a separator.

constexpr int YearPivot = 1900;

// Local calendar year and month when the program started.
int StartYear();
int StartMonth();

bool LeapYear(int year);
// 0..99 become 1900..1999 (2000.. when below YearPivot); other years stay.
int ExpandYear(int year);
// Days of the month (28..31), 0 for month 0 or above 12; the year is expanded.
int MonthLength(int month, int year);
// Valid calendar date between 1600 and 3999 (the year is expanded).
bool CheckDate(int day, int month, int year);

// Reads the field `letter` of the text as the picture places it.
int PictureField(const QString &picture, const QString &text, QChar letter, int defaultValue, int errorValue);

struct DateFields {
    int day = -1;
    int month = -1;
    int year = -1;
    bool valid = false;
};
DateFields ReadDate(const QString &picture, const QString &text);

struct TimeFields {
    int hours = -1;
    int minutes = -1;
    int seconds = -1;
    bool valid = false;
};
TimeFields ReadTime(const QString &picture, const QString &text);

bool CheckTime(int hours, int minutes, int seconds);
// Seconds since midnight; 60 minutes or seconds carry over.
int SecondsOfDay(int hours, int minutes, int seconds);
// ReadTime and SecondsOfDay; -1 when the time is not valid.
int ReadTimeSeconds(const QString &picture, const QString &text);
