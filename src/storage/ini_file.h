#pragma once

#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// An INI settings file in Windows-1252 with CR LF line ends (read also with
// LF or CR alone, and as UTF-8 after a byte-order mark). Sections and keys
// keep the order of the file; names are matched without regard to case, as
// the profile functions of Windows do. A section counts as present only when
// it has at least one key. Changes stay in memory until save().
class IniFile {
public:
    // Reads the file; a missing file gives an empty INI. Throws TarvoError
    // ("E/A-Fehler %d") when the file exists but cannot be read.
    explicit IniFile(const QString &path);

    const QString &path() const { return path_; }
    // Whether the file was there when it was read.
    bool exists() const { return exists_; }

    bool sectionExists(const QString &section) const;
    QStringList sectionKeys(const QString &section) const;
    bool keyExists(const QString &section, const QString &key) const;

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal or "0x" hexadecimal; anything else gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Read as an integer: any value other than 0 is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);

    // The file as it would be saved.
    QByteArray toBytes() const;
    // Writes the file atomically; throws TarvoError "In %s kann nicht
    // geschrieben werden" when that fails, leaving the old file as it was.
    void save(std::optional<QFileDevice::Permissions> permissions = std::nullopt) const;

    // Parses INI text (used by the constructor; exposed for tests and fuzzing).
    void parse(const QByteArray &bytes);

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
    };
    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    const Entry *findEntry(const QString &section, const QString &key) const;

    QString path_;
    bool exists_ = false;
    QVector<Section> sections_;
};
