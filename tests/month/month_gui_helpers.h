#pragma once

#include "../common/modal.h"

#include <QApplication>

// Starts the GUI tests on an offscreen screen of the given size ("1024x768").
#define TARVO_MONTH_GUI_MAIN(TestClass, size)                                                                \
    int main(int argc, char **argv) {                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TARVO_TEST_DATA "/month/screen_" size ".json");   \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
