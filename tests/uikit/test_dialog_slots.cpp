// The table of dialogs made on first use: made once, kept, released with their flags.
#include "storage/storage_state.h"
#include "uikit/dialog_slots.h"

#include <QDialog>
#include <QPointer>
#include <QtTest>

namespace {

struct Form {
    static int alive;
    Form() { ++alive; }
    ~Form() { --alive; }
};
int Form::alive = 0;

} // namespace

class TestDialogSlots : public QObject {
    Q_OBJECT
private slots:
    void init() { StorageStartUp(QDir::tempPath()); }

    void madeOnceKeptAndReleased() {
        QWidget owner;
        DialogSlotTable table;
        QVERIFY(!table.at(SlotAbout));
        QDialog *about = table.get<QDialog>(SlotAbout, &owner);
        QCOMPARE(table.get<QDialog>(SlotAbout, &owner), about);
        QCOMPARE(about->parentWidget(), &owner);
        QVERIFY(Storage().DialogSlots[SlotAbout]);
        // A dialog owned by another slot's dialog goes with it; its flag is cleared all the same.
        QDialog *child = table.get<QDialog>(SlotAddBeob, about);
        QPointer<QDialog> watched = child;
        Form &form = table.kept<Form>(SlotSOB01);
        QCOMPARE(&table.kept<Form>(SlotSOB01), &form);
        QCOMPARE(Form::alive, 1);
        QVERIFY(Storage().DialogSlots[SlotSOB01]);
        table.releaseAll();
        QVERIFY(!watched);
        QCOMPARE(Form::alive, 0);
        QVERIFY(std::none_of(Storage().DialogSlots.begin(), Storage().DialogSlots.end(),
                             [](bool set) { return set; }));
        QVERIFY(table.get<QDialog>(SlotAbout, &owner) != nullptr); // made anew after a release
    }

    void aTableReleasesWhatItHoldsWhenItGoes() {
        QPointer<QDialog> dialog;
        {
            DialogSlotTable table;
            dialog = table.get<QDialog>(SlotTab, nullptr);
            table.kept<Form>(SlotSOB09);
        }
        QVERIFY(!dialog);
        QCOMPARE(Form::alive, 0);
        QVERIFY(!Storage().DialogSlots[SlotTab]);
    }
};

QTEST_MAIN(TestDialogSlots)
#include "test_dialog_slots.moc"
