#pragma once

#include "storage/profile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

// What every command gets: the loaded profile of the chosen observer.
struct CliSession {
    TObserverProfile profile;
};

// A command returns the exit code; it throws TarvoError for an error (exit 1)
// and CliUsageError for wrong arguments (exit 2).
using CliHandler = int (*)(CliSession &session, const QStringList &args);

struct CliUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What a command works on: the current observer's data (the usual case; the
// command then fails when there is no current observer, instead of reading
// and writing in the program folder), or nothing of an observer.
enum class CliNeeds { Observer, NoObserver };

// Each command file registers itself with a static CliCommandRegistrar;
// `description` is the German line that --help shows for the command.
struct CliCommandRegistrar {
    CliCommandRegistrar(const char *name, const char *usage, CliHandler handler, const char *description = "",
                        CliNeeds needs = CliNeeds::Observer);
};

struct CliCommand {
    const char *name;
    const char *usage;
    CliHandler handler;
    const char *description;
    CliNeeds needs;
};
const QList<CliCommand> &CliCommands();

// Output helpers: text as UTF-8, or raw bytes (network lines are Windows-1252).
void CliPrint(const QString &text);
void CliWriteBytes(const QByteArray &bytes);

// Argument helpers that throw CliUsageError on bad input.
int CliIntArgument(const QString &text, const char *what, int min, int max);
void CliExpectArgs(const QStringList &args, int min, int max);
// Throws TarvoError "Es ist kein Beobachter eingerichtet" when no observer is
// current (for a command whose forms differ in what they work on).
void CliRequireObserver();

// A CSV cell: quoted when it holds a comma, a quote or a line break.
QString CsvCell(const QString &text);
// A double with up to 17 significant digits and '.' as decimal point.
QString CsvDouble(double value);
