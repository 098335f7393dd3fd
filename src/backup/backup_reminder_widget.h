#pragma once

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;

// The note that suggests a backup when the program closes: a small window in
// a corner of the screen that asks nothing and blocks nothing. It closes by
// itself after a while, on "Schließen" or Esc; "Jetzt sichern…" opens the
// backup dialog.
class TBackupReminder : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShownMilliseconds = 20000;

    explicit TBackupReminder(const QString &text, QWidget *parent = nullptr);

    void BtnSichernClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *LText;
    QPushButton *BtnSichern;
    QPushButton *BtnSchliessen;
};

// Shows the note when a backup is due on `today` (see BackupReminderDue) and
// returns it (the one already shown, if any); nullptr when none is due. Never
// throws: a settings file that cannot be read only means no note.
TBackupReminder *ShowBackupReminderIfDue(const QDate &today = QDate::currentDate());
