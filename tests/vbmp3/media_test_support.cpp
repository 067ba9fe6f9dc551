#include "media_test_support.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

namespace media_test {

std::filesystem::path fixture(const std::string& name)
{
    return std::filesystem::path(NUVO_FIXTURES_DIR) / name;
}

Bytes readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

Bytes asBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

void appendLittleEndian32(Bytes& to, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        to.push_back(static_cast<std::uint8_t>(value >> shift));
}

namespace {

void appendBigEndian32(Bytes& to, std::uint32_t value, bool syncSafe)
{
    for (int i = 3; i >= 0; --i)
        to.push_back(static_cast<std::uint8_t>(syncSafe ? (value >> (7 * i)) & 0x7F : value >> (8 * i)));
}

} // namespace

Bytes id3v2Tag(int version, const std::vector<std::pair<std::string, std::string>>& textFrames)
{
    Bytes frames;
    for (const auto& [id, text] : textFrames) {
        append(frames, asBytes(id));
        appendBigEndian32(frames, static_cast<std::uint32_t>(text.size() + 1), version == 4);
        frames.push_back(0);
        frames.push_back(0);
        frames.push_back(version == 4 ? 3 : 0); // UTF-8 or ISO-8859-1
        append(frames, asBytes(text));
    }
    Bytes tag = asBytes("ID3");
    tag.push_back(static_cast<std::uint8_t>(version));
    tag.push_back(0);
    tag.push_back(0);
    appendBigEndian32(tag, static_cast<std::uint32_t>(frames.size()), true);
    append(tag, frames);
    return tag;
}

std::string testNameOf(std::string file)
{
    std::replace_if(file.begin(), file.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return file;
}

Bytes id3v1Block(const Bytes& file)
{
    if (file.size() < 128)
        return {};
    return Bytes(file.end() - 128, file.end());
}

DecodedCount decodeWithMpg123(const std::filesystem::path& path)
{
    DecodedCount count;
    int error = 0;
    const std::unique_ptr<mpg123_handle, decltype(&mpg123_delete)> handle(mpg123_new(nullptr, &error),
                                                                          &mpg123_delete);
    if (!handle)
        return count;
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (mpg123_open(handle.get(), path.c_str()) != MPG123_OK)
        return count;
    long rate = 0;
    int channels = 1;
    int encoding = MPG123_ENC_SIGNED_16;
    for (;;) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle.get(), &frameNumber, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) {
            mpg123_getformat(handle.get(), &rate, &channels, &encoding);
        } else if (result == MPG123_OK) {
            ++count.frames;
            count.samples += static_cast<long long>(bytes) / channels / mpg123_encsize(encoding);
        } else {
            break;
        }
    }
    mpg123_close(handle.get());
    return count;
}

void MediaTest::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "nuvo-media-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    ::setenv("NUVO_HOME", dir_.c_str(), 1);
    ::setenv("NUVO_AUDIO_DRIVER", "dummy", 1);
}

void MediaTest::TearDown()
{
    std::error_code ignored;
    // Tests make files and directories read-only; give them back first.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
    ::unsetenv("NUVO_HOME");
}

std::filesystem::path MediaTest::copyOf(const std::string& fixtureName, const std::string& as)
{
    const auto target = dir_ / (as.empty() ? fixtureName : as);
    std::filesystem::copy_file(fixture(fixtureName), target);
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    return target;
}

std::vector<std::string> MediaTest::strayFiles(const std::vector<std::string>& expected) const
{
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        const auto name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            stray.push_back(name);
    }
    return stray;
}

} // namespace media_test
