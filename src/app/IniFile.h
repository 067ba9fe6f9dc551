#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace nuvo {

// The integer form of the settings file: decimal with an optional sign, or hexadecimal after
// "0x"/"0X" or "$". Anything else, and values outside the range of int, give no value.
std::optional<int> parseIniInteger(QStringView text);

// An in-memory settings file of sections and "key=value" entries. The whole file is read at load
// and written whole at save; entries keep the order of their first appearance, so keys and sections
// the program does not know survive a rewrite. Section and key names match without regard to case.
class IniFile {
public:
    // A missing or unreadable file gives an empty set.
    static IniFile load(const QString& path);
    static IniFile fromBytes(const QByteArray& bytes);

    bool contains(const QString& section, const QString& key) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeString(const QString& section, const QString& key, const QString& value);

    QStringList sectionNames() const;
    void eraseSection(const QString& section);

    // Each section as "[Name]", its "key=value" lines and one empty line; CR LF line ends, UTF-8.
    QByteArray toBytes() const;
    // Writes toBytes() through a temporary file and a rename; a failure leaves the old file.
    bool save(const QString& path, QString* error) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };

    qsizetype indexOfSection(const QString& name) const;
    Section& sectionForWriting(const QString& name);
    const QString* findValue(const QString& section, const QString& key) const;

    std::vector<Section> sections_;
};

} // namespace nuvo
