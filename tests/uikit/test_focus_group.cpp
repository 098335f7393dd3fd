// The focus-group helper on its own: when a group's check runs, and when not.
#include "uikit/focus_group.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

class TestFocusGroup : public QObject {
    Q_OBJECT

    struct Window {
        QWidget widget;
        QGroupBox *box;
        QLineEdit *inner1;
        QLineEdit *inner2;
        QLineEdit *outside;
        QLineEdit *single;
        Window() {
            auto *layout = new QVBoxLayout(&widget);
            box = new QGroupBox(QStringLiteral("Gruppe"));
            auto *boxLayout = new QVBoxLayout(box);
            inner1 = new QLineEdit;
            inner2 = new QLineEdit;
            boxLayout->addWidget(inner1);
            boxLayout->addWidget(inner2);
            outside = new QLineEdit;
            single = new QLineEdit;
            layout->addWidget(box);
            layout->addWidget(outside);
            layout->addWidget(single);
        }
        bool show() {
            widget.show();
            QApplication::setActiveWindow(&widget);
            return QTest::qWaitForWindowActive(&widget);
        }
    };

private slots:
    void checkRunsWhenTheFocusLeavesTheGroup() {
        Window w;
        FocusGroupWatcher watcher(&w.widget);
        QStringList runs;
        watcher.addGroup(w.box, [&] { runs << QStringLiteral("box"); });
        watcher.addGroup(w.single, [&] { runs << QStringLiteral("single"); });
        QVERIFY(w.show());
        w.inner1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.inner1);
        w.inner2->setFocus(); // inside the group: no check
        QTRY_COMPARE(QApplication::focusWidget(), w.inner2);
        QCOMPARE(runs, QStringList());
        w.outside->setFocus();
        QTRY_COMPARE(runs, QStringList{QStringLiteral("box")});
        w.single->setFocus();
        w.inner1->setFocus();
        QTRY_COMPARE(runs, (QStringList{"box", "single"}));
    }

    void noCheckWhileDisabledOrForAnotherWindow() {
        Window w;
        Window other;
        FocusGroupWatcher watcher(&w.widget);
        int runs = 0;
        watcher.addGroup(w.box, [&] { ++runs; });
        QVERIFY(w.show());
        w.inner1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.inner1);
        watcher.setEnabled(false);
        QVERIFY(!watcher.isEnabled());
        w.outside->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.outside);
        QCOMPARE(runs, 0);
        watcher.setEnabled(true);
        w.inner1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.inner1);
        // Another window (a message box, a second dialog) is no leaving.
        QVERIFY(other.show());
        other.outside->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), other.outside);
        QCOMPARE(runs, 0);
    }

    // A check that moves the focus itself starts no second check.
    void checkMayMoveTheFocus() {
        Window w;
        FocusGroupWatcher watcher(&w.widget);
        int boxRuns = 0;
        int singleRuns = 0;
        watcher.addGroup(w.box, [&] {
            ++boxRuns;
            w.inner1->setFocus(); // back into the box, as a refused entry does
        });
        watcher.addGroup(w.single, [&] { ++singleRuns; });
        QVERIFY(w.show());
        w.inner2->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.inner2);
        w.single->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.inner1);
        QCOMPARE(boxRuns, 1);
        QCOMPARE(singleRuns, 0);
    }
};

QTEST_MAIN(TestFocusGroup)
#include "test_focus_group.moc"
