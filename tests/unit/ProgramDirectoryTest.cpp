#include "app/ProgramDirectory.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

using test::ScopedEnv;

class ProgramDirectoryTest : public test::TempDirTest {};

TEST_F(ProgramDirectoryTest, NuvoHomeWinsAndIsCreated)
{
    ScopedEnv home("NUVO_HOME", QFile::encodeName(path("home/deeper/")));
    makeDir("exe");
    EXPECT_EQ(resolveProgramDirectory(path("exe")), path("home/deeper"));
    EXPECT_TRUE(QFileInfo(path("home/deeper")).isDir());
}

TEST_F(ProgramDirectoryTest, WritableExecutableDirectoryWithoutNuvoHome)
{
    ScopedEnv home("NUVO_HOME", "");
    makeDir("exe/bin");
    EXPECT_EQ(resolveProgramDirectory(path("exe/bin/")), path("exe/bin"));
    EXPECT_EQ(resolveProgramDirectory(path("exe/./bin/../bin")), path("exe/bin"));
}

TEST_F(ProgramDirectoryTest, AnInstalledCopyNeverWritesBesideItself)
{
    ScopedEnv home("NUVO_HOME", "");
    ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
    makeDir("prefix/lib/nuvo");
    QFile marker(path("prefix/lib/nuvo/nuvo.installed"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    EXPECT_EQ(resolveProgramDirectory(path("prefix/lib/nuvo")), path("config/nuvo"));
}

TEST_F(ProgramDirectoryTest, UnusableExecutableDirectoryFallsBackToXdgConfigHome)
{
    ScopedEnv home("NUVO_HOME", "");
    ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
    // A directory that does not exist cannot be written, whoever runs the test.
    EXPECT_EQ(resolveProgramDirectory(path("no/such/dir")), path("config/nuvo"));
    EXPECT_TRUE(QFileInfo(path("config/nuvo")).isDir());
}

TEST_F(ProgramDirectoryTest, WithoutXdgConfigHomeTheHomeConfigIsUsed)
{
    ScopedEnv home("NUVO_HOME", "");
    ScopedEnv config("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv user("HOME", QFile::encodeName(path("user")));
    makeDir("user");
    EXPECT_EQ(resolveProgramDirectory(path("no/such/dir")), path("user/.config/nuvo"));
    EXPECT_TRUE(QFileInfo(path("user/.config/nuvo")).isDir());
}

} // namespace
} // namespace nuvo
