#include "playlist/Duplicates.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(Duplicates, WholeKeysAreComparedNotPartsOfThem)
{
    struct Case {
        const char* name;
        DuplicateKey key;
        QStringList paths;
        std::vector<int> kept;
    };
    const Case cases[] = {
        // Every path starts with "/": one that ends another is no duplicate of it.
        {"suffix", DuplicateKey::FullPath, {"/data/music/a.mp3", "/music/a.mp3"}, {0, 1}},
        {"prefix", DuplicateKey::FullPath, {"/a.mp3.mp3", "/a.mp3"}, {0, 1}},
        {"case counts", DuplicateKey::FullPath, {"/A.mp3", "/a.mp3", "/A.mp3"}, {0, 1}},
        {"first kept", DuplicateKey::FullPath, {"/x.mp3", "/y.mp3", "/x.mp3", "/y.mp3"}, {0, 1}},
        {"by name", DuplicateKey::FileName, {"/a/x.mp3", "/b/x.mp3", "/a/y.mp3"}, {0, 2}},
        {"name is after the last slash", DuplicateKey::FileName, {"/a/bx.mp3", "/b/x.mp3"}, {0, 1}},
        {"empty", DuplicateKey::FullPath, {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keptAfterRemovingDuplicates(c.paths, c.key), c.kept) << c.name;
}

} // namespace
} // namespace nuvo
