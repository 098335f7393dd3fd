#pragma once

#include "storage/storage_state.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>

// The dialogs made on first use (the slots of DialogSlots in the storage
// state): a dialog is created the first time it is needed, its slot flag is
// set, later openings reuse it, and releaseAll() deletes all of them. The
// main window owns the program's table and hands it to the windows that open
// dialogs of their own (the month table, and from it the entry dialog); a
// window opened without one (a test, a screenshot) keeps a table of its own.
// The report forms, which are no dialogs, are kept in their slots the same way.
class DialogSlotTable {
public:
    static constexpr int kSlots = 31;

    DialogSlotTable() = default;
    ~DialogSlotTable() { releaseAll(); }
    DialogSlotTable(const DialogSlotTable &) = delete;
    DialogSlotTable &operator=(const DialogSlotTable &) = delete;

    // The dialog of `slot`, created with `parent` on first use.
    template <class Dialog, class... Args> Dialog *get(int slot, QWidget *parent, Args &&...args) {
        if (!dialogs_[slot])
            store(slot, new Dialog(parent, std::forward<Args>(args)...));
        return static_cast<Dialog *>(dialogs_[slot].data());
    }
    // The dialog of `slot` while it exists.
    QDialog *at(int slot) const { return dialogs_.at(slot).data(); }
    // The object of `slot` that is no dialog, made on first use.
    template <class Object> Object &kept(int slot) {
        if (!objects_[slot]) {
            objects_[slot] = std::make_shared<Object>();
            held_[slot] = true;
            Storage().DialogSlots[slot] = true;
        }
        return *static_cast<Object *>(objects_[slot].get());
    }
    // Deletes what every slot that is set holds and clears the flags.
    void releaseAll();

private:
    void store(int slot, QDialog *dialog);

    std::array<QPointer<QDialog>, kSlots> dialogs_{};
    std::array<std::shared_ptr<void>, kSlots> objects_{};
    std::array<bool, kSlots> held_{}; // what this table set; a dialog may be gone with its owner
};
