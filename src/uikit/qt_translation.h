#pragma once

#include <QString>

class QCoreApplication;

// Loads Qt's own German texts (file, colour and print dialogs, standard
// buttons, the line edits' context menus) into the application, whatever the
// system's language: the program's interface is German. The catalogue comes
// from the system (Debian package qt6-translations-l10n). Returns false,
// leaving Qt's English texts, when it cannot be found; the program then goes
// on without them.
bool InstallQtGermanTranslation(QCoreApplication &app);

// The folder the catalogue is looked for in.
QString QtTranslationsFolder();
