#include "tarvo_error.h"

#include <QDir>
#include <cerrno>

TarvoError::TarvoError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}

TarvoError TarvoError::Io(int code) { return TarvoError(QStringLiteral("E/A-Fehler %1").arg(code)); }

TarvoError TarvoError::FileIo(const QString &fileName, int code) {
    const QString shown = QDir::toNativeSeparators(fileName);
    return TarvoError(
        code == ENOENT
            ? QStringLiteral("Die Datei %1 wurde nicht gefunden (E/A-Fehler %2)").arg(shown).arg(code)
            : QStringLiteral("Die Datei %1 kann nicht gelesen werden (E/A-Fehler %2)").arg(shown).arg(code));
}

TarvoError TarvoError::EndOfFile() { return TarvoError(QStringLiteral("Versuch hinter dem Dateiende zu lesen")); }

TarvoError TarvoError::CannotWrite(const QString &fileName) {
    return TarvoError(QStringLiteral("In %1 kann nicht geschrieben werden").arg(fileName));
}

TarvoError TarvoError::NotAnInteger(const QString &text) {
    return TarvoError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}

TarvoError TarvoError::NotAFloat(const QString &text) {
    return TarvoError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
}
