#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program. It carries the German message that the
// application-wide error display shows to the user.
class TarvoError : public std::runtime_error {
public:
    explicit TarvoError(const QString &message);
    const QString &message() const { return message_; }

    // "E/A-Fehler %d" with the operating system's error code.
    static TarvoError Io(int code);
    // The same for a file the user chose, named in the message: "Die Datei %s
    // wurde nicht gefunden (E/A-Fehler 2)", or "... kann nicht gelesen werden".
    static TarvoError FileIo(const QString &fileName, int code);
    // "Versuch hinter dem Dateiende zu lesen"
    static TarvoError EndOfFile();
    // "In %s kann nicht geschrieben werden"
    static TarvoError CannotWrite(const QString &fileName);
    // "'%s' ist kein gültiger Integerwert"
    static TarvoError NotAnInteger(const QString &text);
    // "'%s' ist kein gültiger Gleitkommawert"
    static TarvoError NotAFloat(const QString &text);

private:
    QString message_;
};
