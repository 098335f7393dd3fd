#pragma once

#include <QLabel>
#include <QString>

// Gives a widget the object name the program and its tests find it by, and
// returns it, so that a control is made and named in one expression.
template <class W> W *Named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A caption whose accelerator ("&Jahr") moves the focus to `buddy`.
inline QLabel *BuddyLabel(const QString &text, QWidget *buddy, QWidget *parent = nullptr) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}
