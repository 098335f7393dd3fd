#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>

class QWidget;

// Runs a check when the keyboard focus leaves a group of controls (a group
// box, a page, a single edit) for another control of the same window.
// Focus moving to another window (a message box, a second dialog) does not
// count as leaving, and no check starts while another one is running, so a
// check may show a message box and move the focus itself.
class FocusGroupWatcher : public QObject {
    Q_OBJECT
public:
    explicit FocusGroupWatcher(QWidget *window);

    // `onExit` runs when the focus leaves `group` (or any widget inside it).
    void addGroup(QWidget *group, std::function<void()> onExit);
    // While disabled no check runs (for example while the dialog fills its fields).
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }

private:
    void focusChanged(QWidget *old, QWidget *now);

    struct Group {
        QPointer<QWidget> widget;
        std::function<void()> onExit;
    };
    QPointer<QWidget> window_;
    QVector<Group> groups_;
    bool enabled_ = true;
    bool running_ = false;
};
