// tarvo-cli: the headless companion of Tarvo over the same libraries.
#include "cli_command.h"

#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

const char kUsageLine[] = "Aufruf: tarvo-cli [--home DIR] [--observer KEY] COMMAND ...\n";

// "  name usage", without a trailing blank for a command without arguments.
QString CommandLine(const CliCommand &c) {
    QString line = QStringLiteral("  ") + QLatin1String(c.name);
    if (*c.usage)
        line += QLatin1Char(' ') + QLatin1String(c.usage);
    return line + QLatin1Char('\n');
}

void PrintUsage() {
    QString text = QLatin1String(kUsageLine);
    for (const CliCommand &c : CliCommands())
        text += CommandLine(c);
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// What --help prints: the usage with the options, every command with its
// description, and the exit codes.
QString HelpText() {
    QString text =
        QLatin1String(kUsageLine) +
        QStringLiteral("       tarvo-cli --help | --version\n\n"
                       "Arbeitet ohne Fenster auf denselben Dateien wie das Programm tarvo.\n\n"
                       "Optionen:\n"
                       "  --home DIR        DIR als Programmordner verwenden (tarvo.ini und die\n"
                       "                    Beobachterordner); sonst derselbe Ordner wie für tarvo\n"
                       "  --observer KEY    nur für diesen Aufruf mit dem Beobachter KEY arbeiten\n"
                       "  --help            diese Hilfe zeigen\n"
                       "  --version         die Programmversion zeigen\n\n"
                       "Befehle:\n");
    for (const CliCommand &c : CliCommands()) {
        text += CommandLine(c);
        if (*c.description)
            text += QStringLiteral("      %1\n").arg(QString::fromUtf8(c.description));
    }
    text += QStringLiteral("\nRückgabewert: 0 bei Erfolg, 1 bei einem Fehler, 2 bei einem falschen Aufruf.\n"
                           "Mehr dazu: man tarvo-cli\n");
    return text;
}

void PrintError(const QString &message) { std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData()); }

} // namespace

// Qt's note about a missing XDG_RUNTIME_DIR says nothing to the user of a
// command-line tool; everything else goes to stderr as usual.
void MessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().append('\n').constData(), stderr);
}

int main(int argc, char *argv[]) {
    qInstallMessageHandler(MessageHandler);
    // The report forms are painted, which needs a GUI application; the
    // offscreen platform lets it run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The same data folder as the program's when no other is given.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvo"));
    QStringList args = app.arguments().mid(1);
    QString home;
    QString observer;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            CliPrint(HelpText());
            return 0;
        }
        if (option == QLatin1String("--version")) {
            CliPrint(QStringLiteral("tarvo-cli %1\n").arg(ReadProgramVersion()));
            return 0;
        }
        if ((option == QLatin1String("--home") || option == QLatin1String("--observer")) && !args.isEmpty())
            (option == QLatin1String("--home") ? home : observer) = args.takeFirst();
        else {
            PrintUsage();
            return 2;
        }
    }
    if (args.isEmpty()) {
        PrintUsage();
        return 2;
    }
    const QString name = args.takeFirst();
    const CliCommand *command = nullptr;
    for (const CliCommand &c : CliCommands())
        if (name == QLatin1String(c.name))
            command = &c;
    if (!command) {
        PrintUsage();
        return 2;
    }
    try {
        StorageStartUp(home);
        CliSession session{EmptyProfile()};
        // The first start, which creates tarvo.ini, is the program's: without
        // the file there is no observer, and nothing is written.
        if (QFileInfo::exists(Storage().ProgramDir + QStringLiteral("tarvo.ini")))
            LoadProgramSettings(session.profile);
        if (!observer.isEmpty())
            ChooseObserver(observer, session.profile, ObserverChoice::ThisRunOnly);
        if (command->needs == CliNeeds::Observer)
            CliRequireObserver();
        const int code = command->handler(session, args);
        std::fflush(stdout);
        return code;
    } catch (const CliUsageError &e) {
        PrintError(QString::fromStdString(e.what()));
        // Every form of the command (import has two).
        for (const CliCommand &c : CliCommands())
            if (name == QLatin1String(c.name))
                std::fprintf(stderr, "Aufruf: tarvo-cli %s %s\n", c.name, c.usage);
        return 2;
    } catch (const TarvoError &e) {
        PrintError(e.message());
        return 1;
    }
}
