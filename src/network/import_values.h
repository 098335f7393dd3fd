#pragma once

#include "storage/month_summary.h"

#include <map>
#include <vector>

// A month of a reference file, as year * 12 + month - 1.
inline int MonthKey(int year, int month) {
    return year * 12 + month - 1;
}

// One number read from a reference file and the archive field it goes to.
struct TFieldValue {
    double TMonthSummary::*field;
    double value;
};

// What a reference file holds for the months of a year range.
struct TMonthValues {
    int firstYear = 0;
    int lastYear = 0;
    // Every month of the range the file has a line for, keyed MonthKey, with
    // the numbers read from it (none when they are missing or unreadable).
    std::map<int, std::vector<TFieldValue>> months;
    // The first and last month line anywhere in the file; -1 when it has none.
    int fileFirst = -1;
    int fileLast = -1;

    // Notes a month line of the file, in the range or not.
    void noteFileMonth(int key) {
        if (fileFirst < 0 || key < fileFirst)
            fileFirst = key;
        if (key > fileLast)
            fileLast = key;
    }
};
