#include "dialog_slots.h"

void DialogSlotTable::store(int slot, QDialog *dialog) {
    dialogs_[slot] = dialog;
    held_[slot] = true;
    Storage().DialogSlots[slot] = true;
}

void DialogSlotTable::releaseAll() {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!held_[slot])
            continue;
        // A dialog may already be gone with the dialog that owned it.
        delete dialogs_[slot].data();
        dialogs_[slot] = nullptr;
        objects_[slot].reset();
        held_[slot] = false;
        Storage().DialogSlots[slot] = false;
    }
}
