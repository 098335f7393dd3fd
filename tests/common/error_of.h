#pragma once

#include "storage/tarvo_error.h"

#include <QString>
#include <functional>

// The German message of the TarvoError an action throws; empty when it throws none.
inline QString ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const TarvoError &e) {
        return e.message();
    }
    return QString();
}
