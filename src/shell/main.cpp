// TARVO 32: the desktop program.
#include "main_window_ui.h"
#include "shell_resources.h"
#include "storage/storage_state.h"
#include "tarvo_application_ui.h"

#include <QIcon>

int main(int argc, char *argv[]) {
    TarvoApplication app(argc, argv);
    // The storage start-up comes first: program directory, data path,
    // version, empty observer lists, dialog slots, column layout.
    StorageStartUp();
    InitShellResources();
    app.setWindowIcon(QIcon(QStringLiteral(":/tarvo.png")));
    app.setDesktopFileName(QStringLiteral("tarvo"));

    TSun window;
    window.show();
    return app.exec();
}
