#pragma once

#include <QApplication>
#include <QString>

// The application with the program's single error display: an exception that
// escapes any event handler (a TarvoError with its German message, or any
// other std::exception) is shown in a message box, and the program goes on
// with the state reached so far.
class TarvoApplication : public QApplication {
    Q_OBJECT
public:
    TarvoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The message of the error shown last (empty when none was shown yet).
    const QString &lastErrorMessage() const { return lastError_; }

private:
    void showError(const QString &message);

    QString lastError_;
    bool showing_ = false;
};
