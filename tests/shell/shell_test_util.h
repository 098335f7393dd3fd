#pragma once

#include "shell/shell_resources.h"
#include "shell/tarvo_application_ui.h"
#include "storage/ini_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `action` on the first modal dialog of type T that becomes the active
// modal widget (polling, as a modal dialog runs its own event loop). Fails
// the action silently after 10 s; the test's own checks then report it.
template <class T> void OnModal(std::function<void(T *)> action) {
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            action(dialog);
        } else if (clock->elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            delete clock;
        }
    });
    timer->start();
}

template <class W> W *Child(QObject *parent, const char *name) {
    W *w = parent->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

inline QString IniValue(const QString &path, const QString &section, const QString &key) {
    return IniFile(path).readString(section, key, QStringLiteral("<fehlt>"));
}

// A test main with the program's application class, its resources and the
// German texts of the program.
#define TARVO_SHELL_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char *argv[]) {                                                                       \
        TarvoApplication app(argc, argv);                                                                    \
        InitShellResources();                                                                                \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
