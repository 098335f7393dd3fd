#pragma once

#include "shell/shell_resources.h"
#include "shell/tarvo_application_ui.h"
#include "storage/ini_file.h"
#include "../common/modal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

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
