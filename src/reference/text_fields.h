#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>

// Reading the lines and fields of the reference text files: SILSO's files
// and the program's own store. Numbers are read with '.' as decimal point,
// whatever the locale.

// The lines of a text, one after the other: split at LF, a CR before the LF
// dropped, no empty line behind a final line end.
class TLineReader {
public:
    explicit TLineReader(const QByteArray &bytes) : text_(bytes.constData(), bytes.size()) {}
    // The next line; false at the end.
    bool next(std::string_view &line);
    // 1-based number of the line last returned.
    int lineNumber() const { return lineNumber_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int lineNumber_ = 0;
};

// Whether the line holds nothing but blanks.
bool IsBlankLine(std::string_view line);

// Calls `read(line, lineNumber)` for every line that is not blank (and, with
// `comments`, does not start with '#').
template <class Reader> void ForEachDataLine(const QByteArray &bytes, bool comments, Reader &&read) {
    TLineReader lines(bytes);
    std::string_view line;
    while (lines.next(line))
        if (!IsBlankLine(line) && !(comments && line.front() == '#'))
            read(line, lines.lineNumber());
}

// Splits the line at `separator` into at most `capacity` fields, each without
// the blanks around it. Returns the number of fields the line has (more than
// `capacity` when it has more; the extra ones are not stored).
int SplitFields(std::string_view line, char separator, std::string_view *fields, int capacity);

// Characters first..last (1-based, inclusive) without blanks around them;
// shorter or empty when the line is.
std::string_view LineColumns(std::string_view line, int first, int last);

// A whole field as an integer (sign allowed) or a real number ('.' as decimal
// point, no exponent, below a billion); nothing when anything else is in it.
std::optional<int> FieldInt(std::string_view field);
std::optional<double> FieldReal(std::string_view field);

// The shortest plain decimal text that reads back as the same double (one
// that FieldReal accepts), '.' as decimal point.
void AppendReal(QByteArray &out, double value);
void AppendInt(QByteArray &out, int value);
