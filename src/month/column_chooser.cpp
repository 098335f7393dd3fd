#include "column_chooser.h"

#include <limits>
#include <utility>

namespace {

void ExchangeSort(std::vector<TColumnChooser::Entry> &list) {
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
            if (list[j].Setting.Spalte < list[i].Setting.Spalte)
                std::swap(list[i], list[j]);
}

QStringList Titles(const std::vector<TColumnChooser::Entry> &list) {
    QStringList titles;
    for (const auto &e : list)
        titles << e.Setting.Titel.text();
    return titles;
}

} // namespace

void TColumnChooser::open(const TColumnLayout &layout) {
    selected_.clear();
    available_.clear();
    for (int i = 1; i <= kHighestColumnIndex; ++i) {
        Entry e{i, layout[i]};
        if (e.Setting.Sichtbar != 0) {
            // The list counts from the first column after the day (a damaged
            // file's lowest value must not wrap round).
            const std::int32_t column = e.Setting.Spalte;
            e.Setting.Spalte = column == std::numeric_limits<std::int32_t>::min() ? column : column - 1;
            selected_.push_back(e);
        } else {
            available_.push_back(e);
        }
    }
    refresh();
}

void TColumnChooser::apply(TColumnLayout &layout) const {
    for (size_t k = 0; k < selected_.size(); ++k) {
        TColumnSetting s = selected_[k].Setting;
        s.Nr = selected_[k].Index;
        s.Sichtbar = 1;
        s.Spalte = static_cast<std::int32_t>(k) + 1;
        layout[selected_[k].Index] = s;
    }
    for (const Entry &e : available_) {
        TColumnSetting s = e.Setting;
        s.Nr = e.Index;
        s.Sichtbar = 0;
        layout[e.Index] = s;
    }
}

QStringList TColumnChooser::selectedTitles() const {
    return Titles(selected_);
}
QStringList TColumnChooser::availableTitles() const {
    return Titles(available_);
}

void TColumnChooser::refresh() {
    ExchangeSort(selected_);
    ExchangeSort(available_);
}

void TColumnChooser::move(std::vector<Entry> &from, int index, std::vector<Entry> &to, bool visible) {
    Entry e = from[static_cast<size_t>(index)];
    e.Setting.Sichtbar = visible ? 1 : 0;
    e.Setting.Spalte = static_cast<std::int32_t>(to.size());
    to.push_back(e);
    from.erase(from.begin() + index);
    for (size_t k = static_cast<size_t>(index); k < from.size(); ++k)
        from[k].Setting.Spalte = static_cast<std::int32_t>(k);
}

void TColumnChooser::add(int index) {
    if (index < 0 || index >= static_cast<int>(available_.size()))
        return;
    move(available_, index, selected_, true);
    refresh();
}

void TColumnChooser::addAll() {
    while (!available_.empty())
        move(available_, 0, selected_, true);
    refresh();
}

void TColumnChooser::remove(int index) {
    if (index < 0 || index >= static_cast<int>(selected_.size()))
        return;
    move(selected_, index, available_, false);
    refresh();
}

void TColumnChooser::removeAll() {
    while (!selected_.empty())
        move(selected_, 0, available_, false);
    refresh();
}

int TColumnChooser::moveUp(int index) {
    if (index < 1 || index >= static_cast<int>(selected_.size()))
        return index;
    // Copies, not references: the packed field may be misaligned.
    const std::int32_t spalte = selected_[index].Setting.Spalte;
    selected_[index].Setting.Spalte = selected_[index - 1].Setting.Spalte;
    selected_[index - 1].Setting.Spalte = spalte;
    refresh();
    return index - 1;
}

int TColumnChooser::moveDown(int index) {
    if (index < 0 || index + 1 >= static_cast<int>(selected_.size()))
        return index;
    // Copies, not references: the packed field may be misaligned.
    const std::int32_t spalte = selected_[index].Setting.Spalte;
    selected_[index].Setting.Spalte = selected_[index + 1].Setting.Spalte;
    selected_[index + 1].Setting.Spalte = spalte;
    refresh();
    return index + 1;
}

int TColumnChooser::width(int index) const {
    return index >= 0 && index < static_cast<int>(selected_.size()) ? selected_[index].Setting.Spaltenbreite
                                                                    : 0;
}

void TColumnChooser::setWidth(int index, int width) {
    if (index >= 0 && index < static_cast<int>(selected_.size()))
        selected_[index].Setting.Spaltenbreite = width;
}
