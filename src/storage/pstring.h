#pragma once

#include "cp1252.h"

#include <QString>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "stored records are little-endian");

// A length-prefixed string of at most N Windows-1252 characters, as stored in
// the fixed records. Bytes behind the length are kept as they are.
template <int N> struct PString {
    std::uint8_t len;
    char chars[N];

    int length() const { return std::min<int>(len, N); }
    bool empty() const { return len == 0; }
    QByteArray bytes() const { return QByteArray(chars, length()); }
    QString text() const { return FromCp1252(QByteArrayView(chars, length())); }

    // Stores the text, cut to N characters.
    void assign(const QString &value) { assignBytes(ToCp1252(value)); }
    void assignBytes(const QByteArray &value) {
        len = static_cast<std::uint8_t>(std::min<qsizetype>(value.size(), N));
        std::memcpy(chars, value.constData(), len);
    }
};

static_assert(sizeof(PString<15>) == 16);
