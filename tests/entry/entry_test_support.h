#pragma once

// Helpers shared by the entry dialog tests.

#include "entry/entry_checks.h"
#include "storage/day_record.h"
#include "storage/profile.h"
#include "../common/modal.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstring>

inline TObserverProfile ProfileWithSwitches(bool on) {
    TObserverProfile p = EmptyProfile();
    for (const CategoryKey &key : kCategoryKeys)
        p.Ein.set(key.index, on);
    return p;
}

// A day without observation as a fresh year holds it.
inline TDayRecord UnobservedDay() {
    TDayRecord d;
    std::memset(&d, 0, sizeof d);
    return d;
}

// An observed day with every number "not given".
inline TDayRecord ObservedDay(const QString &time) {
    TDayRecord d = UnobservedDay();
    ClearUnobservedDay(d);
    d.Zeit.assign(time);
    return d;
}
