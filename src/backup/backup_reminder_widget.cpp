#include "backup_reminder_widget.h"

#include "backup_dlg.h"
#include "backup_settings.h"

#include "storage/tarvo_error.h"
#include "uikit/widget_names.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

TBackupReminder::TBackupReminder(const QString &text, QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TBackupReminder"));
    setWindowTitle(QStringLiteral("TARVO32 – Datensicherung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto *icon = new QLabel;
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(size, size));
    LText = Named(new QLabel(text), "LText");
    LText->setWordWrap(true);
    LText->setMinimumWidth(LText->fontMetrics().averageCharWidth() * 60);
    BtnSichern = Named(new QPushButton(QStringLiteral("Jetzt &sichern…")), "BtnSichern");
    BtnSchliessen = Named(new QPushButton(QStringLiteral("S&chließen")), "BtnSchliessen");
    BtnSchliessen->setDefault(true);

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(icon, 0, Qt::AlignTop);
    textRow->addWidget(LText, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnSichern);
    buttons->addWidget(BtnSchliessen);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addLayout(buttons);

    connect(BtnSichern, &QPushButton::clicked, this, &TBackupReminder::BtnSichernClick);
    connect(BtnSchliessen, &QPushButton::clicked, this, &QWidget::close);
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("CloseTimer"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &QWidget::close);
    timer->start(kShownMilliseconds);
}

void TBackupReminder::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TBackupReminder::BtnSichernClick() {
    if (auto *timer = findChild<QTimer *>(QStringLiteral("CloseTimer")))
        timer->stop(); // the user is busy with it now
    TBackupDlg dialog(this);
    // In the middle of the screen, not in the note's corner.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        dialog.adjustSize();
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    dialog.exec();
    close();
}

TBackupReminder *ShowBackupReminderIfDue(const QDate &today) {
    // One note at a time, however often the program is closed.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *shown = qobject_cast<TBackupReminder *>(w); shown && shown->isVisible())
            return shown;
    BackupSettings settings;
    try {
        settings = LoadBackupSettings();
    } catch (const TarvoError &) {
        return nullptr;
    }
    if (!BackupReminderDue(settings, today, ObservationsExist()))
        return nullptr;
    auto *note = new TBackupReminder(BackupReminderText(settings, today));
    note->adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        note->move(area.right() - note->width() - 24, area.bottom() - note->height() - 48);
    }
    note->show();
    return note;
}
