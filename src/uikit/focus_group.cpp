#include "focus_group.h"

#include <QApplication>
#include <QWidget>

namespace {
bool Inside(const QWidget *group, const QWidget *w) { return w && (w == group || group->isAncestorOf(w)); }
} // namespace

FocusGroupWatcher::FocusGroupWatcher(QWidget *window) : QObject(window), window_(window) {
    connect(qApp, &QApplication::focusChanged, this, &FocusGroupWatcher::focusChanged);
}

void FocusGroupWatcher::addGroup(QWidget *group, std::function<void()> onExit) {
    groups_.append(Group{group, std::move(onExit)});
}

void FocusGroupWatcher::focusChanged(QWidget *old, QWidget *now) {
    if (!enabled_ || running_ || !window_ || !old || !now)
        return;
    if (old->window() != window_ || now->window() != window_)
        return;
    // Copy: a check may add or remove groups.
    const QVector<Group> groups = groups_;
    for (const Group &g : groups) {
        if (!g.widget || !Inside(g.widget, old) || Inside(g.widget, now))
            continue;
        running_ = true;
        g.onExit();
        running_ = false;
    }
}
