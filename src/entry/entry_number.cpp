#include "entry_number.h"

NumberInput ParseEntryNumber(const QString &text, NumberRange range) {
    const QString t = text.trimmed();
    NumberInput in;
    if (t.isEmpty())
        return in;
    int pos = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        pos = 1;
    }
    if (pos == t.size()) {
        in.status = NumberInput::NotANumber;
        return in;
    }
    std::int64_t magnitude = 0;
    bool huge = false;
    for (; pos < t.size(); ++pos) {
        const QChar c = t[pos];
        if (c < u'0' || c > u'9') {
            in.status = NumberInput::NotANumber;
            return in;
        }
        // Keep counting digits without overflowing: anything this large is out of range anyway.
        if (magnitude > (std::int64_t(1) << 40))
            huge = true;
        else
            magnitude = magnitude * 10 + (c.unicode() - u'0');
    }
    in.value = negative ? -magnitude : magnitude;
    in.status =
        (huge || in.value < range.min || in.value > range.max) ? NumberInput::OutOfRange : NumberInput::Valid;
    if (in.status != NumberInput::Valid)
        in.value = -1;
    return in;
}

QString NotANumberMessage() {
    return QStringLiteral("Das ist keine Zahl");
}

QString RangeMessage(NumberRange range) {
    return QStringLiteral("Die Zahl muss zwischen %1 und %2 liegen").arg(range.min).arg(range.max);
}

QString NumberInputMessage(const NumberInput &input, NumberRange range) {
    switch (input.status) {
    case NumberInput::NotANumber:
        return NotANumberMessage();
    case NumberInput::OutOfRange:
        return RangeMessage(range);
    default:
        return {};
    }
}

QString NumberText(std::int64_t value) {
    return value == -1 ? QString() : QString::number(value);
}
