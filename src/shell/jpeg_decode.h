#pragma once

#include <QByteArray>
#include <QImage>

// Decodes JPEG data with libjpeg into an RGB image. Throws TarvoError with a
// German message when the data are not a complete, readable JPEG picture.
QImage DecodeJpeg(const QByteArray &data);

// Reads and decodes a JPEG file (a Qt resource path such as ":/about.jpg" works too).
QImage DecodeJpegFile(const QString &path);
