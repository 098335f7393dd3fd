#include "tarvo_error.h"

TarvoError::TarvoError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}

TarvoError TarvoError::Io(int code) { return TarvoError(QStringLiteral("E/A-Fehler %1").arg(code)); }

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
