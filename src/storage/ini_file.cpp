#include "ini_file.h"

#include "cp1252.h"
#include "file_io.h"
#include "tarvo_error.h"

namespace {

bool SameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool InQuotes(const QString &value) {
    return value.size() >= 2 && value.front() == value.back() &&
           (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''));
}

// The value as the file holds it. The reader takes blanks around a value
// and one pair of quotes around it off: a value that has either of its own
// is written in one more pair of quotes, so that it reads back unchanged.
QString StoredValue(const QString &value) {
    if (InQuotes(value))
        return value.front() + value + value.back();
    if (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

IniFile::IniFile(const QString &path) : path_(path) {
    const FileReadResult file = ReadWholeFile(path);
    // A file that is there but cannot be read must not pass for an empty one:
    // the next save would replace it with the defaults.
    if (file.exists && !file.ok())
        throw TarvoError::Io(file.errorCode);
    exists_ = file.exists;
    parse(file.bytes);
}

namespace {

// The file's text: Windows-1252, or UTF-8 after a byte-order mark (as an
// editor may save it), with CR LF, LF or CR alone as line ends.
QString IniText(const QByteArray &bytes) {
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    QString text =
        bytes.startsWith(kUtf8Bom) ? QString::fromUtf8(bytes.mid(kUtf8Bom.size())) : FromCp1252(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

void IniFile::parse(const QByteArray &bytes) {
    sections_.clear();
    Section *current = nullptr;
    const QString text = IniText(bytes);
    const auto lines = QStringView(text).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed().toString();
            current = findSection(name);
            if (!current) {
                sections_.append(Section{name, {}});
                current = &sections_.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        QString value = line.mid(eq + 1).trimmed().toString();
        if (InQuotes(value))
            value = value.mid(1, value.size() - 2);
        bool known = false;
        for (Entry &e : current->entries)
            if (SameName(e.key, key)) {
                known = true; // the first occurrence wins, as when Windows reads the file
                break;
            }
        if (!known)
            current->entries.append(Entry{key, value});
    }
}

const IniFile::Section *IniFile::findSection(const QString &name) const {
    for (const Section &s : sections_)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name) {
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

const IniFile::Entry *IniFile::findEntry(const QString &section, const QString &key) const {
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Entry &e : s->entries)
        if (SameName(e.key, key))
            return &e;
    return nullptr;
}

bool IniFile::sectionExists(const QString &section) const {
    const Section *s = findSection(section);
    return s && !s->entries.isEmpty();
}

QStringList IniFile::sectionKeys(const QString &section) const {
    QStringList keys;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            keys.append(e.key);
    return keys;
}

bool IniFile::keyExists(const QString &section, const QString &key) const {
    return findEntry(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const {
    const Entry *e = findEntry(section, key);
    return e ? e->value : defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    const Entry *e = findEntry(section, key);
    if (!e)
        return defaultValue;
    QString text = e->value;
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        // Hexadecimal values are bit patterns, for example colours.
        const qint64 wide = text.mid(2).toLongLong(&ok, 16);
        ok = ok && wide >= 0 && wide <= 0xFFFFFFFFLL;
        value = static_cast<int>(static_cast<quint32>(wide));
    } else {
        value = text.toInt(&ok, 10);
    }
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &rawValue) {
    // A line break inside a value would split the file's lines.
    QString value = rawValue;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section *s = findSection(section);
    if (!s) {
        sections_.append(Section{section, {}});
        s = &sections_.last();
    }
    for (Entry &e : s->entries)
        if (SameName(e.key, key)) {
            e.value = value;
            return;
        }
    s->entries.append(Entry{key, value});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section) {
    sections_.removeIf([&](const Section &s) { return SameName(s.name, section); });
}

QByteArray IniFile::toBytes() const {
    QString text;
    bool first = true;
    for (const Section &s : sections_) {
        if (s.entries.isEmpty())
            continue;
        if (!first)
            text += QLatin1String("\r\n");
        first = false;
        text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Entry &e : s.entries)
            text += e.key + QLatin1Char('=') + StoredValue(e.value) + QLatin1String("\r\n");
    }
    return ToCp1252(text);
}

void IniFile::save(std::optional<QFileDevice::Permissions> permissions) const {
    WriteFileAtomically(path_, toBytes(), permissions);
}
