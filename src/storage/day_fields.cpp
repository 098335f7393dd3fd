#include "day_fields.h"

#include "cp1252.h"

#include <algorithm>

QString DayText(const TDayRecord &day, const TDayField &field) {
    const auto *at = reinterpret_cast<const char *>(&day) + field.Offset;
    const int length = std::min<int>(static_cast<unsigned char>(at[0]), field.Width - 1);
    return FromCp1252(QByteArrayView(at + 1, length));
}

void SetDayText(TDayRecord &day, const TDayField &field, const QString &text) {
    const QByteArray bytes = ToCp1252(text).left(field.Width - 1);
    auto *at = reinterpret_cast<char *>(&day) + field.Offset;
    at[0] = static_cast<char>(bytes.size());
    std::memcpy(at + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
