#include "text_fields.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool TLineReader::next(std::string_view &line) {
    if (at_ >= text_.size())
        return false;
    const std::size_t end = text_.find('\n', at_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(at_, stop - at_);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    at_ = stop + 1;
    ++lineNumber_;
    return true;
}

bool IsBlankLine(std::string_view line) {
    return Trimmed(line).empty();
}

int SplitFields(std::string_view line, char separator, std::string_view *fields, int capacity) {
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (count < capacity)
            fields[count] = Trimmed(line.substr(start, stop - start));
        ++count;
        if (end == std::string_view::npos)
            return count;
        start = end + 1;
    }
}

std::string_view LineColumns(std::string_view line, int first, int last) {
    const auto from = static_cast<std::size_t>(first - 1);
    if (from >= line.size())
        return {};
    return Trimmed(line.substr(from, static_cast<std::size_t>(last - first + 1)));
}

std::optional<int> FieldInt(std::string_view field) {
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::optional<double> FieldReal(std::string_view field) {
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    double value = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    // No count or deviation of a reference file comes near a billion; the
    // limit keeps every value writable in plain decimals.
    if (field.empty() || error != std::errc() || end != field.data() + field.size() ||
        !std::isfinite(value) || std::abs(value) >= 1e9)
        return std::nullopt;
    return value;
}

void AppendReal(QByteArray &out, double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    out.append(text, result.ptr - text);
}

void AppendInt(QByteArray &out, int value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr - text);
}
