// UTF-8 and Latin-1 text as the tag formats need it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vbmp3::media {

// Valid UTF-8: every malformed byte becomes U+FFFD.
std::string sanitizeUtf8(std::string_view text);

// ID3v1 text: Latin-1 bytes; other characters transliterated where a plain
// Latin letter or ASCII punctuation says the same, else '?'.
std::string utf8ToLatin1(std::string_view utf8);

std::string latin1ToUtf8(std::string_view latin1);

// The Latin-1 bytes of valid UTF-8 text, or nothing when a character lies
// outside Latin-1.
std::optional<std::string> utf8AsLatin1(std::string_view utf8);

// UTF-16 code units of valid UTF-8 text.
std::u16string utf8ToUtf16(std::string_view utf8);

// The text of a fixed-size C field: up to its first zero byte or its end.
std::string_view fieldText(const char* field, std::size_t size);

} // namespace vbmp3::media
