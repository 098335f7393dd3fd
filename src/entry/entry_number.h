#pragma once

#include <QString>
#include <cstdint>

// The range a field of the day record accepts. The empty field stands for
// "not given" (-1); a typed negative number is never accepted.
struct NumberRange {
    std::int64_t min;
    std::int64_t max;
};

constexpr NumberRange kInt16Range{0, 32767};
constexpr NumberRange kInt8Range{0, 127};
constexpr NumberRange kInt32Range{0, 2147483647};
constexpr NumberRange kSeeingRange{1, 5};

// What a number field of `width` bytes holds of the numbers a user may type.
constexpr NumberRange FieldRange(int width) {
    return width == 1 ? kInt8Range : width == 2 ? kInt16Range : kInt32Range;
}

// The outcome of reading one number field.
struct NumberInput {
    enum Status { Empty, Valid, NotANumber, OutOfRange };
    Status status = Empty;
    std::int64_t value = -1; // -1 when empty

    bool ok() const { return status == Empty || status == Valid; }
};

// Reads a signed decimal integer (blanks around it are ignored, a text of
// blanks only is empty) and checks it against `range`.
NumberInput ParseEntryNumber(const QString &text, NumberRange range);

// "Das ist keine Zahl" or the message that names the allowed range.
QString NumberInputMessage(const NumberInput &input, NumberRange range);

// A stored number as shown in a field: -1 (not given) is the empty text.
QString NumberText(std::int64_t value);

// "Das ist keine Zahl"
QString NotANumberMessage();
// "Die Zahl muss zwischen MIN und MAX liegen"
QString RangeMessage(NumberRange range);
