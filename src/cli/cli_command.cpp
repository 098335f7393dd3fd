#include "cli_command.h"

#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <cstdio>

namespace {
QList<CliCommand> &Registry() {
    static QList<CliCommand> commands;
    return commands;
}
} // namespace

CliCommandRegistrar::CliCommandRegistrar(const char *name, const char *usage, CliHandler handler,
                                         const char *description, CliNeeds needs) {
    Registry().append(CliCommand{name, usage, handler, description, needs});
}

const QList<CliCommand> &CliCommands() { return Registry(); }

void CliPrint(const QString &text) { CliWriteBytes(text.toUtf8()); }

void CliWriteBytes(const QByteArray &bytes) { std::fwrite(bytes.constData(), 1, bytes.size(), stdout); }

int CliIntArgument(const QString &text, const char *what, int min, int max) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        throw CliUsageError(QStringLiteral("ungültige Angabe für %1: '%2'").arg(QLatin1String(what), text).toStdString());
    return value;
}

void CliExpectArgs(const QStringList &args, int min, int max) {
    if (args.size() < min || args.size() > max)
        throw CliUsageError("falsche Anzahl von Argumenten");
}

QString CsvCell(const QString &text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvDouble(double value) { return QString::asprintf("%.17g", value); }

void CliRequireObserver() {
    if (!ObserverIsCurrent())
        throw TarvoError(QStringLiteral("Es ist kein Beobachter eingerichtet"));
}
