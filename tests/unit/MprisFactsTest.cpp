#include "desktop/MprisFacts.h"

#include "TestSupport.h"

#include <QDBusObjectPath>

namespace nuvo {
namespace {

TEST(MprisFacts, LoopStatusFollowsTheLoopOptionsBothWays)
{
    struct Case {
        bool single, all;
        const char* text;
    };
    // Single goes before All, as when the player chooses what follows.
    for (const Case& c : {Case{false, false, "None"}, Case{true, false, "Track"}, Case{false, true, "Playlist"},
                          Case{true, true, "Track"}}) {
        MprisFacts facts;
        facts.single = c.single;
        facts.all = c.all;
        EXPECT_EQ(loopStatusText(facts), c.text);
    }
    LoopOptions options;
    ASSERT_TRUE(loopOptionsOf("Playlist", &options));
    EXPECT_TRUE(!options.single && options.all);
    ASSERT_TRUE(loopOptionsOf("Track", &options));
    EXPECT_TRUE(options.single && !options.all);
    EXPECT_FALSE(loopOptionsOf("playlist", &options)) << "the names are exact";
}

TEST(MprisFacts, MetadataNamesTheOpenTrackOrNone)
{
    MprisFacts facts;
    QVariantMap metadata = mprisPlayerProperties(facts).value("Metadata").toMap();
    EXPECT_EQ(metadata.keys(), QStringList{"mpris:trackid"});
    EXPECT_EQ(mprisTrackIndex(metadata.value("mpris:trackid").value<QDBusObjectPath>().path()), -1);

    facts.track = {7, "/music/a b.mp3", "Title", {"Alice", "Bob"}, "", 180};
    metadata = mprisPlayerProperties(facts).value("Metadata").toMap();
    EXPECT_EQ(mprisTrackIndex(metadata.value("mpris:trackid").value<QDBusObjectPath>().path()), 7);
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 180 * kMicrosecondsPerSecond);
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList({"Alice", "Bob"})) << "one entry each";
    EXPECT_FALSE(metadata.contains("xesam:album")) << "an empty field is left out";
    EXPECT_EQ(metadata.value("xesam:url").toString(), "file:///music/a%20b.mp3");
    EXPECT_EQ(mprisTrackIndex("/org/nuvoplayer/Nuvo/track/x"), -1);
}

} // namespace
} // namespace nuvo
