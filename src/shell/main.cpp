// TARVO 32: the desktop program.
#include "main_window_ui.h"
#include "shell_resources.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "tarvo_application_ui.h"

#include <QIcon>
#include <cstdio>
#include <cstring>

namespace {

// --help and --version answer on the terminal before any window (or display)
// is needed. Returns true when one of them was given.
bool AnswerInformationOption(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tarvo %s\n", ReadProgramVersion().toUtf8().constData());
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs("Aufruf: tarvo [--help | --version]\n\n"
                       "TARVO 32 erfasst die täglichen Sonnenfleckenzählungen der Beobachter, zeigt sie\n"
                       "Monat für Monat, druckt die Meldeformulare, sendet die Daten an die Netze und\n"
                       "wertet sie grafisch aus.\n\n"
                       "  --help       diese Hilfe zeigen\n"
                       "  --version    die Programmversion zeigen\n\n"
                       "TARVO_HOME     Ordner für tarvo.ini und die Beobachterordner; sonst nimmt\n"
                       "               das installierte Programm ~/.local/share/Tarvo/Tarvo\n\n"
                       "Mehr dazu: man tarvo, im Programm F1; ohne Fenster: tarvo-cli --help\n",
                       stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[]) {
    if (AnswerInformationOption(argc, argv))
        return 0;
    TarvoApplication app(argc, argv);
    // The storage start-up comes first: program directory, data path,
    // version, empty observer lists, dialog slots, column layout.
    StorageStartUp();
    InitShellResources();
    app.setWindowIcon(QIcon(QStringLiteral(":/tarvo.png")));
    // The menu entry and the metadata are named after the application id.
    app.setDesktopFileName(QStringLiteral("de.tarvo.Tarvo"));

    TSun window;
    window.show();
    return app.exec();
}
