#pragma once

#include "storage/storage_state.h"

#include <QDialog>
#include <QPointer>
#include <array>

// The dialogs made on first use: a dialog is created the first time it is
// needed, its slot flag (DialogSlots of the storage state) is set, later
// openings reuse it, and the main window releases all of them when it closes.
class DialogSlotTable {
public:
    static constexpr int kSlots = 31;

    // The dialog of `slot`, created with `parent` on first use.
    template <class Dialog, class... Args> Dialog *get(int slot, QWidget *parent, Args &&...args) {
        if (!dialogs_[slot])
            store(slot, new Dialog(parent, std::forward<Args>(args)...));
        return static_cast<Dialog *>(dialogs_[slot].data());
    }
    // The dialog of `slot` while it exists.
    QDialog *at(int slot) const { return dialogs_.at(slot).data(); }
    // Deletes the dialog of every slot that is set and clears the flags.
    void releaseAll();

private:
    void store(int slot, QDialog *dialog);

    std::array<QPointer<QDialog>, kSlots> dialogs_{};
};
