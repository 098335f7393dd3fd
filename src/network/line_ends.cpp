#include "line_ends.h"

#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QFileInfo>
#include <cerrno>

namespace {
constexpr qsizetype kProbeBlock = 255;
}

QByteArray ToCrLf(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            out += bytes.mid(start);
            out += "\r\n";
            break;
        }
        out += bytes.mid(start, lf - start);
        out += "\r\n";
        start = lf + 1;
    }
    return out;
}

TConvertedFile ConvertLineEnds(const QString &fileName) {
    const FileReadResult read = ReadWholeFile(fileName);
    if (!read.exists)
        throw TarvoError::Io(ENOENT);
    if (!read.ok())
        throw TarvoError::Io(read.errorCode);
    if (read.bytes.left(kProbeBlock).contains('\r'))
        return {fileName, false};

    // Never replace (and later delete) a file of the user's that happens to
    // carry the copy's name, and don't fail on a read-only download folder:
    // the reader copes with bare LF itself, so the copy is only a courtesy.
    const QString copy = fileName + QStringLiteral(".kon");
    if (QFileInfo::exists(copy) || !WriteFileAtomically(copy, ToCrLf(read.bytes)))
        return {fileName, false};
    return {copy, true};
}
