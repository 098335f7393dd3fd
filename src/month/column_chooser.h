#pragma once

#include "storage/column_layout.h"

#include <QStringList>
#include <vector>

// The column chooser's two lists: the shown column kinds ("ausgewählt") and
// the hidden ones ("verfügbar"), each ordered by Spalte. The day column
// (kind 0) is never offered.
class TColumnChooser {
public:
    struct Entry {
        int Index = 0; // the layout entry the record came from and goes back to
        TColumnSetting Setting{};
    };

    // Copies kinds 1..25 of the layout into the two lists.
    void open(const TColumnLayout &layout);
    // Writes the lists back: a shown entry gets its grid column (position + 1),
    // a hidden one is written back as it is.
    void apply(TColumnLayout &layout) const;

    const std::vector<Entry> &selected() const { return selected_; }
    const std::vector<Entry> &available() const { return available_; }
    QStringList selectedTitles() const;
    QStringList availableTitles() const;

    // ">": the available entry at `index` becomes the last shown one.
    void add(int index);
    // ">>": every available entry, first to last.
    void addAll();
    // "<": the shown entry at `index` becomes the last available one.
    void remove(int index);
    // "<<": every shown entry, first to last.
    void removeAll();
    // "nach oben" / "nach unten": returns the entry's new position.
    int moveUp(int index);
    int moveDown(int index);

    int width(int index) const;
    void setWidth(int index, int width);

private:
    // Sorts both lists by Spalte the way the chooser always has: for each
    // position, every later entry with a smaller Spalte is swapped into it.
    void refresh();
    static void move(std::vector<Entry> &from, int index, std::vector<Entry> &to, bool visible);

    std::vector<Entry> selected_;
    std::vector<Entry> available_;
};
