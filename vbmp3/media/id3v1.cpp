#include "id3v1.h"

#include "text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vbmp3::media {
namespace {

struct Field {
    std::size_t offset;
    std::size_t size;
};
constexpr Field titleField{3, 30};
constexpr Field artistField{33, 30};
constexpr Field albumField{63, 30};
constexpr Field yearField{93, 4};
constexpr Field commentField{97, 30};
constexpr std::size_t trackMarker = 125;
constexpr std::size_t trackByte = 126;
constexpr std::size_t genreByte = 127;

std::string readText(const Id3v1Block& block, Field field)
{
    const auto* begin = reinterpret_cast<const char*>(block.data() + field.offset);
    std::string_view text(begin, ::strnlen(begin, field.size));
    // Some writers pad with spaces instead of zeros.
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return latin1ToUtf8(text);
}

void writeText(Id3v1Block& block, Field field, const std::string& utf8)
{
    const std::string latin1 = utf8ToLatin1(utf8);
    std::memset(block.data() + field.offset, 0, field.size);
    std::memcpy(block.data() + field.offset, latin1.data(), std::min(latin1.size(), field.size));
}

bool carriesTrack(const Id3v1Block& block)
{
    return block[trackMarker] == 0 && block[trackByte] != 0;
}

} // namespace

std::optional<Id3v1Tag> parseId3v1(const Id3v1Block& block)
{
    if (std::memcmp(block.data(), "TAG", 3) != 0)
        return std::nullopt;
    Id3v1Tag tag;
    tag.title = readText(block, titleField);
    tag.artist = readText(block, artistField);
    tag.album = readText(block, albumField);
    tag.year = readText(block, yearField);
    const bool hasTrack = carriesTrack(block);
    tag.comment = readText(block, hasTrack ? Field{commentField.offset, 28} : commentField);
    tag.track = hasTrack ? block[trackByte] : 0;
    tag.genre = block[genreByte];
    return tag;
}

void setId3v1Text(Id3v1Block& block, Id3v1Field field, const std::string& utf8)
{
    switch (field) {
    case Id3v1Field::Title: writeText(block, titleField, utf8); break;
    case Id3v1Field::Artist: writeText(block, artistField, utf8); break;
    case Id3v1Field::Album: writeText(block, albumField, utf8); break;
    case Id3v1Field::Year: writeText(block, yearField, utf8); break;
    case Id3v1Field::Comment: {
        // Never 30 bytes: most readers take a non-zero last byte after a
        // zero, and some any non-zero last byte, for a track number.
        const std::uint8_t track = carriesTrack(block) ? block[trackByte] : 0;
        writeText(block, commentField, std::string());
        writeText(block, Field{commentField.offset, 28}, utf8);
        block[trackByte] = track;
        break;
    }
    }
}

void setId3v1Genre(Id3v1Block& block, int genre)
{
    block[genreByte] = static_cast<std::uint8_t>(genre >= 0 && genre <= 255 ? genre : 255);
}

} // namespace vbmp3::media
