#pragma once

#include <QHash>
#include <QString>

// Remembers which warnings a dialog has shown, so that a check's message
// comes once for what the fields hold: leaving the fields again without a
// change neither repeats it nor pulls the focus back, and the user can
// always move on to OK, Cancel or another field.
class WarningMemory {
public:
    // Whether the warning `key` is to be shown for the fields' `state` (any
    // text that changes when they change). True the first time, and again
    // once the state differs from the one it was shown for.
    bool firstFor(const QString &key, const QString &state);
    // The check found nothing to warn about: the next warning shows again.
    void forget(const QString &key) { shown_.remove(key); }
    // A new showing of the dialog starts without memory.
    void clear() { shown_.clear(); }

private:
    QHash<QString, QString> shown_;
};
