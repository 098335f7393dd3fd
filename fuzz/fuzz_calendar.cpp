// The picture-driven date and time readers: the input is "picture\ntext".
#include "calendar/tpdate.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\n');
    const QString picture = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString text = split < 0 ? QString() : QString::fromUtf8(bytes.mid(split + 1));
    const DateFields date = ReadDate(picture, text);
    if (date.valid)
        (void)MonthLength(date.month, date.year);
    const TimeFields time = ReadTime(picture, text);
    if (time.valid)
        (void)SecondsOfDay(time.hours, time.minutes, time.seconds);
    ReadTimeSeconds(picture, text);
    for (const QChar letter : {QLatin1Char('d'), QLatin1Char('m'), QLatin1Char('y'), QLatin1Char('h'),
                               QLatin1Char('s'), QLatin1Char('t')})
        PictureField(picture, text, letter, 0, -1);
    return 0;
}
