#include "tarvo_application_ui.h"

#include "storage/tarvo_error.h"
#include "uikit/messages.h"
#include "uikit/qt_translation.h"

#include <QMessageBox>
#include <QWidget>

TarvoApplication::TarvoApplication(int &argc, char **argv) : QApplication(argc, argv) {
    // Organisation and application name give the user's data folder
    // (~/.local/share/Tarvo/Tarvo) when the program folder is not writable.
    setOrganizationName(QStringLiteral("Tarvo"));
    setApplicationName(QStringLiteral("Tarvo"));
    // Qt's own dialogs and buttons speak German like the rest of the program.
    if (!InstallQtGermanTranslation(*this))
        qWarning("Qt's German texts (qtbase_de.qm) were not found in %s; install qt6-translations-l10n",
                 qUtf8Printable(QtTranslationsFolder()));
}

bool TarvoApplication::notify(QObject *receiver, QEvent *event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const TarvoError &e) {
        message = e.message();
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("Zu wenig Arbeitsspeicher");
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    }
    // Shown outside the handler, so the exception is gone before the box runs its own event loop.
    showError(message);
    return false;
}

void TarvoApplication::showError(const QString &message) {
    lastError_ = message;
    if (showing_) {
        // An error while the box of an earlier one is open: don't stack boxes.
        qWarning("%s", qUtf8Printable(message));
        return;
    }
    showing_ = true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TARVO32"), message, QMessageBox::Ok,
                    activeModalWidget() ? activeModalWidget() : activeWindow());
    box.setObjectName(QStringLiteral("ErrorDisplay"));
    ExecMessageBox(box);
    showing_ = false;
}
