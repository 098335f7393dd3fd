#include "export_target.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

bool IsProgramFileName(const QString &name) {
    static const QRegularExpression pattern(
        QStringLiteral(
            "^(SO\\d+\\.(DAT|OLD)|.*\\.asw|beob\\.ini|AEF\\.CFG|tarvo\\.ini|silso-(daily|hem)\\.txt)$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

QString ResolvedTargetPath(const QString &fileName) {
    QFileInfo info(fileName);
    // A link that points at nothing yet: a write would create its target.
    for (int hops = 0; !info.exists() && info.isSymLink() && hops < 40; ++hops)
        info.setFile(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : QDir(folder).filePath(info.fileName());
}

QString ExportTargetProblem(const QString &fileName) {
    const QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
        return QStringLiteral("Ungültiger Dateiname: '%1'").arg(fileName);
    if (QFileInfo(fileName).isDir())
        return QStringLiteral("'%1' ist ein Verzeichnis").arg(fileName);
    const QString resolved = ResolvedTargetPath(fileName);
    if (IsProgramFileName(name) || IsProgramFileName(QFileInfo(resolved).fileName()))
        return QStringLiteral("In „%1“ wird nicht exportiert: das ist eine Datei des Programms mit "
                              "Beobachtungsdaten oder Einstellungen. Bitte wählen Sie einen anderen "
                              "Dateinamen.")
            .arg(QDir::toNativeSeparators(resolved));
    return {};
}
