#include "text.h"

#include "media.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vbmp3::media {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one character at text[pos], advancing pos; malformed input (bad
// lead byte, missing continuation, overlong form, surrogate, beyond U+10FFFF)
// yields U+FFFD and skips one byte.
char32_t decodeOne(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return replacementCharacter;
    }
    if (pos + length > text.size()) {
        ++pos;
        return replacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(byte)) {
            ++pos;
            return replacementCharacter;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return replacementCharacter;
    }
    pos += length;
    return value;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Base letters of U+0100..U+017F (Latin Extended-A), in code point order.
constexpr std::string_view latinExtendedABase =
    "AaAaAaCcCcCcCcDd" "DdEeEeEeEeEeGgGg" "GgGgHhHhIiIiIiIi" "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo" "OoOoRrRrRrSsSsSs" "SsTtTtTtUuUuUuUu" "UuUuWwYyYZzZzZzs";
static_assert(latinExtendedABase.size() == 0x80);

// What a character outside Latin-1 becomes in Latin-1 text.
std::string_view latin1Substitute(char32_t c)
{
    switch (c) {
    case 0x0132: return "IJ";
    case 0x0133: return "ij";
    case 0x0152: return "OE";
    case 0x0153: return "oe";
    case 0x2018: case 0x2019: case 0x201A: case 0x201B: case 0x2032: return "'";
    case 0x201C: case 0x201D: case 0x201E: case 0x201F: case 0x2033: return "\"";
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2015:
    case 0x2212: return "-";
    case 0x2026: return "...";
    case 0x2022: return "*";
    case 0x20AC: return "EUR";
    case 0x2122: return "TM";
    default: break;
    }
    if (c >= 0x0100 && c <= 0x017F)
        return latinExtendedABase.substr(c - 0x0100, 1);
    if (c >= 0x0300 && c <= 0x036F) // combining marks: keep the base letter alone
        return "";
    return "?";
}

} // namespace

std::string sanitizeUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        appendUtf8(out, decodeOne(text, pos));
    return out;
}

std::string utf8ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = decodeOne(utf8, pos);
        if (c <= 0xFF)
            out += static_cast<char>(c);
        else
            out += latin1Substitute(c);
    }
    return out;
}

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size() * 2);
    for (const char byte : latin1)
        appendUtf8(out, static_cast<unsigned char>(byte));
    return out;
}

std::optional<std::string> utf8AsLatin1(std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();)
        if (decodeOne(utf8, pos) > 0xFF)
            return std::nullopt;
    return utf8ToLatin1(utf8);
}

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = decodeOne(utf8, pos);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string_view fieldText(const char* field, std::size_t size)
{
    return {field, ::strnlen(field, size)};
}

void copyField(char* field, std::size_t size, std::string_view src)
{
    if (field == nullptr || size == 0)
        return;
    std::memset(field, 0, size);
    src = src.substr(0, src.find('\0'));
    std::size_t length = std::min(src.size(), size - 1);
    // A cut inside a character drops that whole character.
    if (length < src.size())
        while (length > 0 && isContinuation(static_cast<unsigned char>(src[length])))
            --length;
    if (length > 0)
        std::memcpy(field, src.data(), length);
}

} // namespace vbmp3::media
