#include "month_gui_helpers.h"

#include "month/sonmonat_dlg.h"
#include "storage/storage_state.h"

#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

// An 800x600 screen is below the size the table is made for.
class TestSonMonatSmallScreen : public QObject {
    Q_OBJECT
private slots:
    void warnsAndMaximises() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        TSonMonatDlg dlg;
        dlg.setOpeningDate(QDate(2004, 3, 1));
        QVERIFY(dlg.screen()->geometry().height() < 768);
        QString title;
        QString text;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        dlg.show();
        QCOMPARE(title, QStringLiteral("TARVO32"));
        QCOMPARE(text, QStringLiteral("Beste Darstellung ab Auflösung 1024x768"));
        QTRY_VERIFY(dlg.windowState() & Qt::WindowMaximized);
        dlg.close();
    }
};

TARVO_MONTH_GUI_MAIN(TestSonMonatSmallScreen, "800x600")
#include "test_sonmonat_small_screen.moc"
