#include "warning_memory.h"

bool WarningMemory::firstFor(const QString &key, const QString &state) {
    const auto it = shown_.constFind(key);
    if (it != shown_.cend() && *it == state)
        return false;
    shown_.insert(key, state);
    return true;
}
