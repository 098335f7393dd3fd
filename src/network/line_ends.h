#pragma once

#include <QByteArray>

// Gives the reader CR LF line ends, in memory: nothing is ever written beside
// the file being imported, so an import works from a read-only folder. Bytes
// whose first 255 bytes hold a CR are taken as they are; otherwise every LF
// becomes CR LF, and a last line without LF gets one as well.
QByteArray ConvertLineEnds(const QByteArray &bytes);
