#include "qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtGermanTranslation(QCoreApplication &app) {
    // Installed once per application; a second call finds it in place.
    if (app.findChild<QTranslator *>(QStringLiteral("QtGermanTranslation")))
        return true;
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QStringLiteral("QtGermanTranslation"));
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QtTranslationsFolder())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
