#pragma once

// Helpers for driving modal dialogs and message boxes in GUI tests. A modal
// dialog runs its own event loop, so the helpers poll from a timer instead of
// relying on how deeply the loops are nested.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Runs `action` on the first visible modal widget of type T. Gives up after
// 10 s; the test's own checks then report the dialog that never came.
template <class T> void OnModal(std::function<void(T *)> action) {
    auto *timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        const bool found = dialog && dialog->isVisible();
        if (!found && clock->elapsed() < 10000)
            return;
        timer->stop();
        timer->deleteLater();
        if (found)
            action(dialog);
    });
    timer->start();
}

// Closes every message box that comes up with OK and keeps its text and title.
// A question that has a button named as set with answerWith() is answered
// with that button instead.
class MessageBoxCatcher : public QObject {
public:
    MessageBoxCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                titles << box->windowTitle();
                if (auto *button = box->findChild<QAbstractButton *>(answer_); button && !answer_.isEmpty())
                    button->click();
                else
                    box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }
    void clear() {
        texts.clear();
        titles.clear();
    }
    // The object name of the button that answers questions from now on.
    void answerWith(const QString &buttonName) { answer_ = buttonName; }
    QStringList texts;
    QStringList titles;

private:
    QTimer timer_;
    QString answer_;
};

// Waits until the events and zero-time timers posted so far (and those they
// post in turn) have been handled and no message box waits for an answer:
// the condition a test checks "nothing more happens" against, instead of a
// fixed pause. False when that takes longer than `timeoutMs`.
inline bool Settled(int timeoutMs = 5000) {
    for (int round = 0; round < 2; ++round) {
        auto reached = std::make_shared<bool>(false);
        QTimer::singleShot(0, [reached] { *reached = true; });
        if (!QTest::qWaitFor(
                [reached] { return *reached && !qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); },
                timeoutMs))
            return false;
    }
    return true;
}

// The named child, or a fatal failure naming what is missing.
template <class W> W *Child(QObject *parent, const char *name) {
    W *w = parent->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}
