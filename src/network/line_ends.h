#pragma once

#include <QString>

// The file an import reads after the line-end check: either the chosen file
// itself (it already has CR LF line ends) or a converted copy next to it.
struct TConvertedFile {
    QString fileName;
    bool copyMade = false;
};

// Makes sure the reader gets CR LF line ends. A file whose first 255 bytes
// hold a CR is taken as it is; otherwise every LF becomes CR LF in the copy
// `fileName + ".kon"`, and a last line without LF gets one as well. The caller
// deletes a copy it was given. Throws TarvoError ("E/A-Fehler %d") when the
// file cannot be read.
TConvertedFile ConvertLineEnds(const QString &fileName);

// Converts bare LF line ends to CR LF (the bytes of the copy above).
QByteArray ToCrLf(const QByteArray &bytes);
