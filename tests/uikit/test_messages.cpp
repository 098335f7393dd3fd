// The program's message boxes keep their titles readable.
#include "../common/modal.h"
#include "uikit/messages.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QtTest>

namespace {

int TitleWidth(const QWidget *box) {
    QFont font = box->font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(box->windowTitle());
}

} // namespace

class TestMessages : public QObject {
    Q_OBJECT

private slots:
    // A short message under a long title: the box is as wide as the title
    // needs, beside the window's icon and buttons.
    void boxIsWideEnoughForItsTitle() {
        QMessageBox box(QMessageBox::Information,
                        QStringLiteral("definitive Relativzahlen TARVO-Netz Import Filter"),
                        QStringLiteral("OK"), QMessageBox::Ok);
        int width = 0, needed = 0;
        OnModal<QMessageBox>([&](QMessageBox *shown) {
            width = shown->width();
            needed = TitleWidth(shown) + 100;
            shown->accept();
        });
        ExecMessageBox(box);
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }

    void shortMessagesToo() {
        int width = 0, needed = 0;
        QString title;
        OnModal<QMessageBox>([&](QMessageBox *shown) {
            width = shown->width();
            needed = TitleWidth(shown) + 100;
            title = shown->windowTitle();
            shown->accept();
        });
        ShowInformation(nullptr, QStringLiteral("Ja"));
        QCOMPARE(title, QStringLiteral("Informationen"));
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }
};

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
