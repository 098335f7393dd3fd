#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Files and records hold Windows-1252 bytes. These two functions are the only
// place where text crosses between those bytes and QString. The five bytes
// that Windows-1252 leaves undefined map to U+0081 etc. so every byte survives
// a round trip; characters outside the code page become '?'.
QString FromCp1252(QByteArrayView bytes);
QByteArray ToCp1252(const QString &text);
