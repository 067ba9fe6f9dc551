// Tag writes through the entry points change only what the caller changed:
// every other frame of the file's tags, its text encoding and the tag's
// version stay as they were, byte for byte.
#include "engine_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace engine_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-16 with a byte order mark, as ID3v2.3 stores it.
Bytes utf16(const std::u16string& text)
{
    Bytes out{0xFF, 0xFE};
    for (const char16_t unit : text) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return out;
}

struct Frame {
    std::string id;
    std::uint8_t flags[2]{};
    Bytes payload;

    bool operator==(const Frame& other) const
    {
        return id == other.id && std::memcmp(flags, other.flags, 2) == 0 && payload == other.payload;
    }
};

std::ostream& operator<<(std::ostream& out, const Frame& frame)
{
    return out << frame.id << " (" << frame.payload.size() << " bytes)";
}

// The ID3v2 tag at the start of a file (2.3 or 2.4, no unsynchronisation),
// and the rest of the file split into audio and the ID3v1 block.
struct Parts {
    int version = 0;
    std::vector<Frame> frames;
    Bytes audio;  // everything between the ID3v2 tag and the ID3v1 tag (APE tag included)
    Bytes id3v1;
};

Parts partsOf(const Bytes& file)
{
    Parts parts;
    std::size_t end = 0;
    if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
        parts.version = file[3];
        const auto syncSafe = [&](std::size_t at) {
            return (std::size_t{file[at]} << 21) | (std::size_t{file[at + 1]} << 14) |
                   (std::size_t{file[at + 2]} << 7) | file[at + 3];
        };
        end = 10 + syncSafe(6);
        for (std::size_t at = 10; at + 10 <= end && file[at] != 0;) {
            Frame frame;
            frame.id.assign(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + 4));
            const std::size_t size = parts.version == 4 ? syncSafe(at + 4)
                                                        : (std::size_t{file[at + 4]} << 24) | (std::size_t{file[at + 5]} << 16) |
                                                              (std::size_t{file[at + 6]} << 8) | file[at + 7];
            frame.flags[0] = file[at + 8];
            frame.flags[1] = file[at + 9];
            frame.payload.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 10),
                                 file.begin() + static_cast<std::ptrdiff_t>(std::min(end, at + 10 + size)));
            parts.frames.push_back(std::move(frame));
            at += 10 + size;
        }
    }
    std::size_t audioEnd = file.size();
    if (file.size() >= end + 128 && std::memcmp(file.data() + file.size() - 128, "TAG", 3) == 0) {
        audioEnd -= 128;
        parts.id3v1.assign(file.end() - 128, file.end());
    }
    parts.audio.assign(file.begin() + static_cast<std::ptrdiff_t>(end), file.begin() + static_cast<std::ptrdiff_t>(audioEnd));
    return parts;
}

// A text field of the ID3v1 block: offset and size.
void putId3v1(Bytes& block, std::size_t offset, std::size_t size, const std::string& latin1)
{
    std::memset(block.data() + offset, 0, size);
    std::memcpy(block.data() + offset, latin1.data(), std::min(size, latin1.size()));
}

class TagWrite : public EngineTest {
protected:
    fs::path copyOf(const std::string& name)
    {
        const fs::path path = pathIn(name);
        fs::copy_file(fixture(name), path);
        return path;
    }

    TagRecord read(const fs::path& path)
    {
        TagRecord tag{};
        MpegRecord info{};
        EXPECT_EQ(vb().getFileInfo(path.c_str(), &tag, &info), 1);
        return tag;
    }

    void write(const fs::path& path, const TagRecord& tag)
    {
        ASSERT_EQ(vb().setTagInfo(path.c_str(), &tag, 0, 1), 1);
    }
};

void setText(char* field, std::size_t size, const std::string& text)
{
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(size - 1, text.size()));
}

// tagged_v23.mp3: ID3v2.3 with TIT2 (Latin-1), TPE1 "A"/"B" (UTF-16), a
// 189-byte TALB (UTF-16), TYER 2003 + TDAT 1205, TCON "Vaporwave", a
// 200-character COMM, a described COMM, TRCK, TXXX, USLT, POPM, PRIV, APIC;
// an APE tag; ID3v1.1 with track 7 and genre 12.
struct Change {
    const char* name;
    void (*edit)(TagRecord&);
    std::string frameId;      // the one frame that changes (the first with this id)
    Bytes payload;            // its new content
    void (*editId3v1)(Bytes&);
};

void PrintTo(const Change& change, std::ostream* out) { *out << change.name; }

class OneFieldChanged : public TagWrite, public ::testing::WithParamInterface<Change> {};

TEST_P(OneFieldChanged, ChangesItsFrameAndNothingElse)
{
    const Change& change = GetParam();
    const fs::path path = copyOf("tagged_v23.mp3");
    const Parts before = partsOf(readBytes(path));
    ASSERT_EQ(before.version, 3);
    ASSERT_EQ(before.frames.size(), 14u);

    TagRecord tag = read(path);
    change.edit(tag);
    write(path, tag);

    const Parts after = partsOf(readBytes(path));
    EXPECT_EQ(after.version, 3) << "the tag keeps its version";
    std::vector<Frame> expected = before.frames;
    for (Frame& frame : expected)
        if (frame.id == change.frameId) {
            frame.payload = change.payload;
            break;
        }
    EXPECT_EQ(after.frames, expected);
    EXPECT_EQ(after.audio, before.audio) << "audio and APE tag untouched";
    Bytes id3v1 = before.id3v1;
    change.editId3v1(id3v1);
    EXPECT_EQ(after.id3v1, id3v1) << "ID3v1 in step, its track number kept";

    // What the library reads back is the change and the rest as before.
    TagRecord reread = read(path);
    EXPECT_EQ(std::memcmp(&reread, &tag, offsetof(TagRecord, genreName)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, OneFieldChanged,
    ::testing::Values(
        Change{"title", [](TagRecord& t) { setText(t.title, sizeof t.title, "New Title"); }, "TIT2",
               bytesOf(std::string("\0New Title", 10)), [](Bytes& b) { putId3v1(b, 3, 30, "New Title"); }},
        Change{"title_beyond_latin1", [](TagRecord& t) { setText(t.title, sizeof t.title, "新しい題名"); }, "TIT2",
               [] { Bytes p{1}; const Bytes text = utf16(u"新しい題名"); p.insert(p.end(), text.begin(), text.end()); return p; }(),
               [](Bytes& b) { putId3v1(b, 3, 30, "?????"); }},
        Change{"artist", [](TagRecord& t) { setText(t.artist, sizeof t.artist, "Solo"); }, "TPE1",
               [] { Bytes p{1}; const Bytes text = utf16(u"Solo"); p.insert(p.end(), text.begin(), text.end()); return p; }(),
               [](Bytes& b) { putId3v1(b, 33, 30, "Solo"); }},
        Change{"year", [](TagRecord& t) { setText(t.year, sizeof t.year, "1999"); }, "TYER",
               bytesOf(std::string("\0" "1999", 5)), [](Bytes& b) { putId3v1(b, 93, 4, "1999"); }},
        Change{"comment", [](TagRecord& t) { setText(t.comment, sizeof t.comment, "Short"); }, "COMM",
               bytesOf(std::string("\0eng\0Short", 10)), [](Bytes& b) { putId3v1(b, 97, 28, "Short"); }},
        Change{"genre", [](TagRecord& t) { t.genre = 8; }, "TCON", bytesOf(std::string("\0(8)", 4)),
               [](Bytes& b) { b[127] = 8; }}),
    [](const auto& info) { return std::string(info.param.name); });

// The record as read (a comment and an album cut to their fields, a genre the
// table lacks, two artists, TYER + TDAT) written back leaves the file as it
// was; the cut texts end on whole characters.
TEST_F(TagWrite, WritingBackWhatWasReadChangesNothing)
{
    const fs::path path = copyOf("tagged_v23.mp3");
    const Bytes before = readBytes(path);
    const TagRecord tag = read(path);
    EXPECT_EQ(tag.genre, -1);
    EXPECT_STREQ(tag.genreName, "Vaporwave");
    EXPECT_STREQ(tag.artist, "A/B");
    EXPECT_STREQ(tag.year, "2003");
    EXPECT_EQ(std::strlen(tag.comment), sizeof tag.comment - 1);
    const std::string album = tag.album;
    EXPECT_EQ(album.size(), 126u) << "42 whole characters of three bytes";
    EXPECT_EQ(std::string("長いアルバムの名前長いアルバムの名前長いアルバムの名前長いアルバムの名前長いアルバムの名前").substr(0, album.size()), album);
    write(path, tag);
    EXPECT_EQ(readBytes(path), before);
}

// A file without a tag gets ID3v2.4 in UTF-8 and no ID3v1 tag.
TEST_F(TagWrite, FileWithoutATagGetsId3v2Only)
{
    const fs::path path = copyOf("notag.mp3");
    TagRecord tag = read(path);
    setText(tag.title, sizeof tag.title, "Café");
    write(path, tag);
    const Parts parts = partsOf(readBytes(path));
    EXPECT_EQ(parts.version, 4);
    ASSERT_EQ(parts.frames.size(), 1u);
    EXPECT_EQ(parts.frames[0].id, "TIT2");
    EXPECT_EQ(parts.frames[0].payload, bytesOf("\x03" "Café"));
    EXPECT_EQ(parts.id3v1, Bytes{});
    EXPECT_EQ(parts.audio, readBytes(fixture("notag.mp3")));
}

// Other programs' view of a written file. mutagen (Python) lists the file's
// ID3v2 frames ("v2 TPE1=Alice|Bob", several values split by "|") and what it
// makes of the ID3v1 tag ("v1 TRCK=3"); it takes any non-zero last comment
// byte for a track number, so it shows a track nobody gave.
constexpr const char* mutagenListing = R"(
import sys
from mutagen.id3 import ID3, ID3NoHeaderError, ParseID3v1

def show(prefix, frames):
    for key in sorted(frames):
        frame = frames[key]
        values = frame.genres if key == 'TCON' else getattr(frame, 'text', None)
        if values is None:
            continue
        if not isinstance(values, list):
            values = [values]
        print(prefix + ' ' + key + '=' + '|'.join(str(v) for v in values))

path = sys.argv[1]
try:
    show('v2', ID3(path, load_v1=False))
except ID3NoHeaderError:
    pass
with open(path, 'rb') as f:
    f.seek(-128, 2)
    v1 = ParseID3v1(f.read(128))
if v1:
    show('v1', v1)
)";

// Several values in one frame, as ID3v2.4 stores them: "Alice\0Bob\0Carol".
constexpr const char* mutagenSeveralValues = R"(
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TCON
tag = ID3()
tag.add(TIT2(encoding=3, text=['Several']))
tag.add(TPE1(encoding=3, text=['Alice', 'Bob', 'Carol']))
tag.add(TCON(encoding=3, text=['Pop', 'Dance']))
tag.save(sys.argv[1], v2_version=4)
)";

// What script prints for path, or nothing when /usr/bin/python3 or mutagen is
// missing.
std::optional<std::string> runMutagen(const fs::path& dir, const std::string& script, const fs::path& path)
{
    if (!fs::exists("/usr/bin/python3") || std::system("/usr/bin/python3 -c 'import mutagen' 2>/dev/null") != 0)
        return std::nullopt;
    const fs::path scriptPath = dir / "mutagen_script.py";
    std::ofstream(scriptPath) << script;
    const std::string command = "/usr/bin/python3 '" + scriptPath.string() + "' '" + path.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    const int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    return output;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Whether a text or comment frame in UTF-16 with byte-order marks (encoding
// 1) has a string, an empty one included, that does not start with its mark.
bool lacksAByteOrderMark(const Frame& frame)
{
    const bool text = frame.id[0] == 'T' && frame.id != "TXXX";
    if ((!text && frame.id != "COMM") || frame.payload.empty() || frame.payload[0] != 1)
        return false;
    std::size_t at = text ? 1 : 4;  // past the encoding (and the language)
    const Bytes& p = frame.payload;
    while (at < p.size()) {
        if (at + 1 >= p.size() || !((p[at] == 0xFF && p[at + 1] == 0xFE) || (p[at] == 0xFE && p[at + 1] == 0xFF)))
            return true;
        at += 2;
        while (at + 1 < p.size() && (p[at] != 0 || p[at + 1] != 0))
            at += 2;
        at += 2;  // the terminator; nothing after the last one
    }
    return false;
}

struct ElsewhereCase {
    const char* name;
    const char* fixture;
    void (*prepare)(const fs::path& dir, const fs::path& file);
    const char* shownArtist;  // what the library reads before the change
    const char* shownGenre;
    void (*edit)(TagRecord&);
    std::vector<std::string> present;  // lines mutagen must give after the write
    std::vector<std::string> absent;   // beginnings no line may have
    std::vector<std::string> listedArtists = {};  // behind the artist's zero before the change
};

// The values a record lists behind its artist's terminating zero.
std::vector<std::string> listedArtists(const TagRecord& tag)
{
    std::vector<std::string> values;
    const char* const end = tag.artist + sizeof tag.artist;
    for (const char* at = tag.artist + strnlen(tag.artist, sizeof tag.artist) + 1; at < end && *at;) {
        values.emplace_back(at, strnlen(at, static_cast<std::size_t>(end - at)));
        at += values.back().size() + 1;
    }
    return values;
}

void PrintTo(const ElsewhereCase& c, std::ostream* out) { *out << c.name; }

class WrittenFile : public TagWrite, public ::testing::WithParamInterface<ElsewhereCase> {};

TEST_P(WrittenFile, ReadsAsWrittenElsewhere)
{
    const ElsewhereCase& c = GetParam();
    const fs::path path = pathIn("song.mp3");
    fs::copy_file(fixture(c.fixture), path);
    if (c.prepare)
        c.prepare(dir_, path);
    if (!runMutagen(dir_, mutagenListing, path))
        GTEST_SKIP() << "needs /usr/bin/python3 with mutagen";

    TagRecord tag = read(path);
    EXPECT_STREQ(tag.artist, c.shownArtist);
    EXPECT_STREQ(tag.genreName, c.shownGenre);
    EXPECT_EQ(listedArtists(tag), c.listedArtists);
    c.edit(tag);
    write(path, tag);

    for (const Frame& frame : partsOf(readBytes(path)).frames)
        EXPECT_FALSE(lacksAByteOrderMark(frame)) << frame;
    const std::vector<std::string> lines = linesOf(runMutagen(dir_, mutagenListing, path).value_or(""));
    for (const std::string& line : c.present)
        EXPECT_TRUE(std::find(lines.begin(), lines.end(), line) != lines.end()) << "no line " << line;
    for (const std::string& line : lines)
        for (const std::string& start : c.absent)
            EXPECT_FALSE(line.starts_with(start)) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Files, WrittenFile,
    ::testing::Values(
        // UTF-16 ID3v2.3 only: no ID3v1 appears, the rewritten comment keeps its marks.
        ElsewhereCase{"id3v2_only", "vbr_v2.mp3", nullptr, "Nuvo Tests", "Rock",
                      [](TagRecord& t) {
                          setText(t.title, sizeof t.title, "Été à 5 €");
                          setText(t.comment, sizeof t.comment, "Nouveau");
                      },
                      {"v2 TIT2=Été à 5 €", "v2 COMM::eng=Nouveau", "v2 TPE1=Nuvo Tests"},
                      {"v1 "}},
        // ID3v1.1 only, track 3: the new ID3v2 tag takes over every field.
        ElsewhereCase{"id3v1_only_with_track", "cbr_v1.mp3",
                      [](const fs::path&, const fs::path& file) {
                          Bytes bytes = readBytes(file);
                          bytes[bytes.size() - 3] = 0;
                          bytes[bytes.size() - 2] = 3;
                          std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                                      static_cast<std::streamsize>(bytes.size()));
                      },
                      "Nuvo Tests", "Rock", [](TagRecord& t) { setText(t.title, sizeof t.title, "New"); },
                      {"v2 TIT2=New", "v2 TPE1=Nuvo Tests", "v2 TALB=Fixture Album", "v2 TDRC=2001",
                       "v2 COMM::eng=Fixture comment", "v2 TCON=Rock", "v2 TRCK=3", "v1 TIT2=New", "v1 TRCK=3"},
                      {}},
        // ID3v1.0: a comment of 30 characters is cut to 28 so its last one is
        // not read as a track number.
        ElsewhereCase{"id3v1_long_comment", "cbr_v1.mp3", nullptr, "Nuvo Tests", "Rock",
                      [](TagRecord& t) { setText(t.comment, sizeof t.comment, "Un commentaire de trente cara"
                                                                               "\xC3\xA0"); },
                      {"v2 COMM::eng=Un commentaire de trente caraà", "v1 COMM=Un commentaire de trente car"},
                      {"v1 TRCK", "v2 TRCK"}},
        // Several values in one frame are shown joined and kept as they are.
        ElsewhereCase{"several_values", "notag.mp3",
                      [](const fs::path& dir, const fs::path& file) { runMutagen(dir, mutagenSeveralValues, file); },
                      "Alice/Bob/Carol", "Pop/Dance", [](TagRecord& t) { setText(t.title, sizeof t.title, "One"); },
                      {"v2 TIT2=One", "v2 TPE1=Alice|Bob|Carol", "v2 TCON=Pop|Dance"},
                      {"v1 "},
                      {"Alice", "Bob", "Carol"}}),
    [](const auto& info) { return std::string(info.param.name); });

// In a sticky directory (like /tmp) only the owner of a file or of the
// directory may replace the file, whatever the file's own permissions: the
// read-only bit says so exactly when the write is refused. Run as another
// user in a child process, which needs root to set up.
TEST_F(TagWrite, ReadOnlyBitAgreesWithTheWriteInAStickyDirectory)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make files of another user";
    constexpr uid_t nobody = 65534;
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::others_exec);
    const fs::path shared = pathIn("shared");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const fs::path others = shared / "others.mp3";  // root's, writable by all
    const fs::path mine = shared / "mine.mp3";      // the child's
    fs::copy_file(fixture("cbr_v1.mp3"), others);
    fs::permissions(others, fs::perms::all);
    fs::copy_file(fixture("cbr_v1.mp3"), mine);
    ASSERT_EQ(::chown(mine.c_str(), nobody, nobody), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(100);
        int result = 0;
        for (const fs::path& path : {others, mine}) {
            TagRecord tag{};
            MpegRecord info{};
            vb().getFileInfo(path.c_str(), &tag, &info);
            std::strcpy(tag.title, "Changed");
            const bool readOnly = (vb().getFileType(path.c_str()) & VBMP3_TYPE_READ_ONLY) != 0;
            const bool written = vb().setTagInfo(path.c_str(), &tag, 0, 1) == 1;
            result = result * 4 + (readOnly ? 2 : 0) + (written ? 1 : 0);
        }
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    // Root's file: read-only and not written (2); the child's own: writable and written (1).
    EXPECT_EQ(WEXITSTATUS(status), 2 * 4 + 1);
}

} // namespace
} // namespace engine_test
