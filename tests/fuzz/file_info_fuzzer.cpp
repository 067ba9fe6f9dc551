// The library's look at a file, through its C entry points as the player calls them: the bytes
// become a file, vbmp3_getFileType and vbmp3_getFileInfo read it, and vbmp3_open must take
// exactly the files the two accept. Whatever they return obeys vbmp3.h: one kind, records in
// their ranges, texts zero-terminated UTF-8 inside their fields, cleared records on refusal.
#include "StrictUtf8.h"
#include "vbmp3.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "Broken: %s\n", promise);
    std::abort();
}

class InputFile {
public:
    InputFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nuvo-fuzz-XXXXXX").string();
        require(::mkdtemp(pattern.data()) != nullptr, "a temporary directory can be made");
        directory_ = pattern;
        path_ = directory_ + "/input";
    }
    ~InputFile() { std::filesystem::remove_all(directory_); }

    const char* write(const std::uint8_t* data, std::size_t size)
    {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        require(static_cast<bool>(out.flush()), "the input file can be written");
        return path_.c_str();
    }

private:
    std::string directory_;
    std::string path_;
};

template <std::size_t N>
void requireText(const char (&field)[N])
{
    const void* end = std::memchr(field, 0, N);
    require(end != nullptr, "a text ends inside its field");
    require(nuvo::fuzz::strictUtf8(std::string_view(field, static_cast<const char*>(end) - field)).has_value(),
            "a text is UTF-8");
}

bool isCleared(const TagRecord& tag, const MpegRecord& info)
{
    TagRecord noTag{};
    noTag.genre = -1;
    const MpegRecord noInfo{};
    return std::memcmp(&tag, &noTag, sizeof tag) == 0 && std::memcmp(&info, &noInfo, sizeof info) == 0;
}

void checkType(std::int32_t type)
{
    const std::int32_t kind = type & (VBMP3_TYPE_MPEG | VBMP3_TYPE_WAV | VBMP3_TYPE_RIFF_MPEG);
    require(kind == VBMP3_TYPE_MPEG || kind == VBMP3_TYPE_WAV || kind == VBMP3_TYPE_RIFF_MPEG, "a file is of one kind");
    const std::int32_t known = VBMP3_TYPE_READ_ONLY | kind | VBMP3_TYPE_HAS_TAG | VBMP3_TYPE_NO_TAG_WRITE;
    require((type & ~known) == 0, "no other bits are set");
    require(((type & VBMP3_TYPE_NO_TAG_WRITE) != 0) == (kind != VBMP3_TYPE_MPEG), "only plain MPEG takes tags");
}

void checkRecords(std::int32_t type, const TagRecord& tag, const MpegRecord& info, std::size_t size)
{
    requireText(tag.title);
    requireText(tag.artist);
    requireText(tag.album);
    requireText(tag.year);
    requireText(tag.comment);
    requireText(tag.genreName);
    require(tag.genre >= -1 && tag.genre <= 255, "a genre is -1 or one of the 256");

    const bool wav = (type & VBMP3_TYPE_WAV) != 0;
    if (wav) {
        require(info.version == 0 && info.layer == 0, "WAV has no MPEG version or layer");
    } else {
        require(info.version == 1 || info.version == 2 || info.version == 25, "an MPEG version is 1, 2 or 25");
        require(info.layer >= 1 && info.layer <= 3, "an MPEG layer is 1, 2 or 3");
        require(info.frames > 0, "an MPEG stream has frames");
    }
    require(info.channels == 1 || info.channels == 2, "one or two channels");
    require(info.mode >= 0 && info.mode <= 3, "a mode is 0..3");
    require(info.vbr == 0 || info.vbr == 1, "vbr is 0 or 1");
    require(info.copyright == 0 || info.copyright == 1, "copyright is 0 or 1");
    require(info.original == 0 || info.original == 1, "original is 0 or 1");
    require(info.sampleRate > 0, "a sample rate is positive");
    require(info.bitRate >= 0 && info.frames >= 0 && info.seconds >= 0, "counts are not negative");
    require(static_cast<std::size_t>(info.fileSize) == size, "the file size is the file's");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Nothing is played, but the engine must never look for a sound card.
    ::setenv("NUVO_AUDIO_DRIVER", "dummy", 1);
    vbmp3_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static InputFile input;
    const char* path = input.write(data, size);

    const std::int32_t type = vbmp3_getFileType(path);
    TagRecord tag;
    MpegRecord info;
    std::memset(&tag, 0x55, sizeof tag);
    std::memset(&info, 0x55, sizeof info);
    const std::int32_t filled = vbmp3_getFileInfo(path, &tag, &info);
    OpenRecord opened{};
    const std::int32_t open = vbmp3_open(path, &opened);
    vbmp3_close();

    require(filled == 0 || filled == 1, "getFileInfo answers 0 or 1");
    require(open == 0 || open == 1, "open answers 0 or 1");
    require((type >= 0) == (open == 1), "getFileType refuses exactly the files open refuses");
    require(filled == open, "getFileInfo fills the records of exactly the files open takes");
    if (!filled) {
        require(type == -1, "a refused file has no type");
        require(isCleared(tag, info), "refused records are cleared");
        return 0;
    }
    checkType(type);
    checkRecords(type, tag, info, size);
    requireText(opened.title);
    require(opened.seconds >= 0, "a length is not negative");
    return 0;
}
