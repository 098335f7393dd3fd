// The evaluation picture: plot FROM TO OUT.png|OUT.pdf [--curves LIST] [--size WIDTHxHEIGHT].
#include "cli_command.h"

#include "evaluation/eval_plot.h"
#include "plot/plot_writer.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDate>
#include <QRegularExpression>

namespace {

constexpr int kMaxYears = 80;

TCurveSwitches CurvesArgument(const QString &list) {
    QStringList unknown;
    const TCurveSwitches shown = CurvesFromNames(list.split(QLatin1Char(','), Qt::SkipEmptyParts), &unknown);
    TCurveSwitches all{};
    all.fill(true);
    if (!unknown.isEmpty())
        throw CliUsageError(QStringLiteral("unbekannte Kurve '%1' (bekannt: %2)")
                                .arg(unknown.first(), CurveNames(all).join(QLatin1String(",")))
                                .toStdString());
    if (shown == TCurveSwitches{})
        throw CliUsageError("keine Kurve angegeben");
    return shown;
}

QSize SizeArgument(const QString &text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.toLower());
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 320 || size.height() < 200 || size.width() > 10000 || size.height() > 10000)
        throw CliUsageError(
            QStringLiteral(
                "ungültige Angabe für --size: '%1' (Breite x Höhe in Pixeln, 320x200 bis 10000x10000)")
                .arg(text)
                .toStdString());
    return size;
}

int Plot(CliSession &session, const QStringList &args) {
    QStringList positional;
    QString curves = CurveNames(DefaultCurves()).join(QLatin1Char(','));
    QSize size(1280, 800);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool takesValue = arg == QLatin1String("--curves") || arg == QLatin1String("--size");
        if (takesValue && i + 1 == args.size())
            throw CliUsageError(QStringLiteral("zu %1 fehlt die Angabe").arg(arg).toStdString());
        if (arg == QLatin1String("--curves"))
            curves = args[++i];
        else if (arg == QLatin1String("--size"))
            size = SizeArgument(args[++i]);
        else if (arg.startsWith(QLatin1String("--")))
            throw CliUsageError(QStringLiteral("unbekannte Option '%1'").arg(arg).toStdString());
        else
            positional << arg;
    }
    CliExpectArgs(positional, 3, 3);
    const int from = CliIntArgument(positional[0], "FROM", 1700, 9999);
    const int to = CliIntArgument(positional[1], "TO", 1700, 9999);
    if (from > to || to - from >= kMaxYears)
        throw CliUsageError(QStringLiteral("FROM <= TO, höchstens %1 Jahre").arg(kMaxYears).toStdString());
    const QString &fileName = positional[2];
    if (!IsPdfFileName(fileName) && !fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        throw CliUsageError("OUT muss auf .png oder .pdf enden");
    const TCurveSwitches shown = CurvesArgument(curves);
    if (Storage().CurrentObserverDir.isEmpty())
        throw TarvoError(QStringLiteral("Es ist kein Beobachter eingerichtet"));

    TObserverProfile profile = session.profile;
    ApplyDefaultCurveColours(profile);
    const QDate today = QDate::currentDate();
    TEvalRange range;
    range.endYear = to + 1;
    range.years = to - from + 1;
    range.todayYear = today.year();
    range.todayMonth = today.month();
    TEvalFigure figure;
    figure.shown = shown;
    figure.colours = CurveColours(profile);
    figure.observerName = ObserverDisplayName(profile);
    WritePlotFile(EvaluationPlot(ComputeEvalData(range, ReadArchiveYear), figure), fileName, size);
    return 0;
}

const CliCommandRegistrar plotCommand("plot", "FROM TO OUT.png|OUT.pdf [--curves LIST] [--size WIDTHxHEIGHT]",
                                      Plot,
                                      "die grafische Auswertung der Jahre FROM bis TO als PNG-Bild oder "
                                      "PDF-Seite; LIST nennt die Kurven (Vorgabe re,r13,sidc,sidcm)");

} // namespace
