#pragma once

// Helpers shared by the entry dialog tests.

#include "entry/entry_checks.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstring>

// Answers every message box that comes up and records its text and title.
class MessageCatcher : public QObject {
public:
    MessageCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                titles << box->windowTitle();
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }
    void clear() {
        texts.clear();
        titles.clear();
    }
    QStringList texts;
    QStringList titles;

private:
    QTimer timer_;
};

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
