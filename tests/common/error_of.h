#pragma once

#include "storage/tarvo_error.h"

#include <QString>

// The message of the TarvoError `action` throws (empty when it throws none).
template <class F> QString ErrorOf(F action) {
    try {
        action();
    } catch (const TarvoError &e) {
        return e.message();
    }
    return QString();
}
