#include "jpeg_decode.h"

#include "storage/tarvo_error.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// we jump back to DecodeJpeg instead of letting it call exit().
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (for example a truncated file) would otherwise be printed to
// stderr; they are counted and turn into an error after decoding.
void OnMessage(j_common_ptr cinfo, int level) {
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    if (level < 0) {
        if (err->pub.num_warnings == 0)
            (*cinfo->err->format_message)(cinfo, err->message);
        ++err->pub.num_warnings;
    }
}

QString Reason(const char *message) {
    return QStringLiteral("Das JPEG-Bild kann nicht gelesen werden (%1).")
        .arg(QString::fromLocal8Bit(message));
}

} // namespace

QImage DecodeJpeg(const QByteArray &data) {
    if (data.isEmpty())
        throw TarvoError(QStringLiteral("Das JPEG-Bild ist leer."));

    jpeg_decompress_struct cinfo;
    ErrorManager err;
    std::memset(err.message, 0, sizeof err.message);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    // Declared before setjmp so that nothing with a destructor is created
    // between setjmp and a possible longjmp.
    QImage image;

    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw TarvoError(Reason(err.message));
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB; // grey pictures are expanded to RGB
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        throw TarvoError(Reason("Farbraum nicht unterstützt"));
    }
    image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        throw TarvoError(Reason("Bild zu groß"));
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    const long warnings = err.pub.num_warnings;
    jpeg_destroy_decompress(&cinfo);
    if (warnings > 0)
        throw TarvoError(Reason(err.message));
    return image;
}

QImage DecodeJpegFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvoError(QStringLiteral("Das Bild %1 kann nicht geöffnet werden.").arg(path));
    return DecodeJpeg(file.readAll());
}
