#include "dialog_slot_table_ui.h"

#include "storage/storage_state.h"

void DialogSlotTable::store(int slot, QDialog *dialog) {
    dialogs_[slot] = dialog;
    Storage().DialogSlots[slot] = true;
}

void DialogSlotTable::releaseAll() {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!Storage().DialogSlots[slot])
            continue;
        // A dialog may already be gone with the dialog that owned it.
        delete dialogs_[slot].data();
        dialogs_[slot] = nullptr;
        Storage().DialogSlots[slot] = false;
    }
}
