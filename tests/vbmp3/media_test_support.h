// Shared helpers of the media tests: a temporary directory per test, copies
// of the fixtures, raw file bytes, and an MPEG frame count by libmpg123 that
// does not depend on the code under test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace media_test {

using Bytes = std::vector<std::uint8_t>;

std::filesystem::path fixture(const std::string& name);
Bytes readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes asBytes(std::string_view text);
void append(Bytes& to, const Bytes& more);
void appendLittleEndian32(Bytes& to, std::uint32_t value);

// An ID3v2 tag made by hand: frames of text in ISO-8859-1 (v2.3) or UTF-8
// (v2.4).
Bytes id3v2Tag(int version, const std::vector<std::pair<std::string, std::string>>& textFrames);

// Where the 128-byte ID3v1 tag of the file starts, and its raw bytes.
Bytes id3v1Block(const Bytes& file);

// What libmpg123 decodes: frames carrying audio and samples per channel.
struct DecodedCount {
    long frames = 0;
    long long samples = 0;
};
DecodedCount decodeWithMpg123(const std::filesystem::path& path);

// Test names of parameters that name a fixture file (cbr_v1.mp3 -> cbr_v1_mp3).
std::string testNameOf(std::string file);
template <class Case>
std::string nameOfFileCase(const ::testing::TestParamInfo<Case>& info)
{
    return testNameOf(info.param.file);
}

// Every test runs in its own temporary directory, which is also NUVO_HOME.
class MediaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A copy of a fixture in the temporary directory, writable.
    std::filesystem::path copyOf(const std::string& fixtureName, const std::string& as = {});
    std::filesystem::path pathIn(const std::string& name) const { return dir_ / name; }
    // Names in the temporary directory other than the given ones.
    std::vector<std::string> strayFiles(const std::vector<std::string>& expected) const;

    std::filesystem::path dir_;
};

} // namespace media_test
