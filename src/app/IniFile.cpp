#include "app/IniFile.h"

#include "app/TextFile.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace nuvo {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Digits of the given base only; the sign and prefix are the caller's. Stops at the first value
// beyond limit, so any length of digits is safe.
std::optional<qint64> parseDigits(QStringView digits, int base, qint64 limit)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        const int digit = (c >= u'0' && c <= u'9') ? c.unicode() - u'0'
                          : (base == 16 && c >= u'a' && c <= u'f') ? c.unicode() - u'a' + 10
                          : (base == 16 && c >= u'A' && c <= u'F') ? c.unicode() - u'A' + 10
                                                                   : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

// Carriage returns and line feeds would split an entry into lines of their own on the next read
// (a path may hold them), so they are written as blanks.
QByteArray oneLine(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

} // namespace

std::optional<int> parseIniInteger(QStringView text)
{
    constexpr qint64 maxInt = std::numeric_limits<int>::max();
    if (text.startsWith(u"0x", Qt::CaseInsensitive) && text.size() > 2) {
        const auto value = parseDigits(text.sliced(2), 16, maxInt);
        return value ? std::optional<int>(int(*value)) : std::nullopt;
    }
    if (text.startsWith(u'$')) {
        const auto value = parseDigits(text.sliced(1), 16, maxInt);
        return value ? std::optional<int>(int(*value)) : std::nullopt;
    }
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    const auto value = parseDigits(text, 10, negative ? maxInt + 1 : maxInt);
    if (!value)
        return std::nullopt;
    return int(negative ? -*value : *value);
}

IniFile IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    Section* current = nullptr;
    for (const QString& rawLine : decodeTextLines(bytes)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &ini.sectionForWriting(line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        // Lines before the first section, lines without "=" and entries without a key name carry
        // nothing a key could be read from; like comments, they are dropped.
        if (!current || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (key.isEmpty())
            continue;
        // A key given twice keeps its first value, the one a read would find.
        const bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                       [&](const Entry& entry) { return sameName(entry.key, key); });
        if (!known)
            current->entries.push_back({key, line.mid(equals + 1).trimmed()});
    }
    return ini;
}

qsizetype IniFile::indexOfSection(const QString& name) const
{
    const auto it = std::find_if(sections_.begin(), sections_.end(),
                                 [&](const Section& section) { return sameName(section.name, name); });
    return it == sections_.end() ? -1 : it - sections_.begin();
}

IniFile::Section& IniFile::sectionForWriting(const QString& name)
{
    const qsizetype index = indexOfSection(name);
    if (index >= 0)
        return sections_[index];
    sections_.push_back({name, {}});
    return sections_.back();
}

const QString* IniFile::findValue(const QString& section, const QString& key) const
{
    const qsizetype index = indexOfSection(section);
    if (index < 0)
        return nullptr;
    for (const Entry& entry : sections_[index].entries) {
        if (sameName(entry.key, key))
            return &entry.value;
    }
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return findValue(section, key) != nullptr;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const QString* value = findValue(section, key);
    if (!value)
        return defaultValue;
    return parseIniInteger(*value).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString* value = findValue(section, key);
    return value ? *value : defaultValue;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeInteger(section, key, value ? 1 : 0);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    Section& target = sectionForWriting(section);
    for (Entry& entry : target.entries) {
        if (sameName(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    target.entries.push_back({key, value});
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section& section : sections_)
        names.append(section.name);
    return names;
}

void IniFile::eraseSection(const QString& section)
{
    std::erase_if(sections_, [&](const Section& candidate) { return sameName(candidate.name, section); });
}

QByteArray IniFile::toBytes() const
{
    QByteArray bytes;
    for (const Section& section : sections_) {
        bytes += '[' + oneLine(section.name) + "]\r\n";
        for (const Entry& entry : section.entries)
            bytes += oneLine(entry.key) + '=' + oneLine(entry.value) + "\r\n";
        bytes += "\r\n";
    }
    return bytes;
}

bool IniFile::save(const QString& path, QString* error) const
{
    return replaceFileContents(path, toBytes(), error);
}

} // namespace nuvo
