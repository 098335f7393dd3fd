#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs `action` on the next modal widget of type T once it is shown. The
// poll keeps the test independent of how deep the modal loops are nested.
template <typename T> void WhenModal(std::function<void(T *)> action) {
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        T *w = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(w);
    });
    timer->start();
}

// Starts the GUI tests on an offscreen screen of the given size ("1024x768").
#define TARVO_MONTH_GUI_MAIN(TestClass, size)                                                                \
    int main(int argc, char **argv) {                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TARVO_TEST_DATA "/month/screen_" size ".json");   \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
