#include "line_ends.h"

namespace {
constexpr qsizetype kProbeBlock = 255;
}

QByteArray ConvertLineEnds(const QByteArray &bytes) {
    if (bytes.left(kProbeBlock).contains('\r'))
        return bytes;
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            out += QByteArrayView(bytes).sliced(start);
            out += "\r\n";
            break;
        }
        out += QByteArrayView(bytes).sliced(start, lf - start);
        out += "\r\n";
        start = lf + 1;
    }
    return out;
}
