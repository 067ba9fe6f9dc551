#include "desktop/SingleInstance.h"

#include "TestSupport.h"

#include <optional>

#include <unistd.h>

namespace nuvo {
namespace {

using test::ScopedEnv;

class SingleInstanceTest : public test::TempDirTest {};

TEST_F(SingleInstanceTest, SecondLockIsRefusedWhileTheFirstLives)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", QFile::encodeName(root()));
    std::optional<SingleInstanceLock> first;
    first.emplace("DoubleOpenChkOfNuvo.lock");
    ASSERT_TRUE(first->acquired());
    EXPECT_FALSE(first->heldElsewhere());
    EXPECT_TRUE(QFileInfo::exists(path("DoubleOpenChkOfNuvo.lock")));
    {
        SingleInstanceLock second("DoubleOpenChkOfNuvo.lock");
        EXPECT_FALSE(second.acquired());
        EXPECT_TRUE(second.heldElsewhere());
        SingleInstanceLock otherName("SomethingElse.lock");
        EXPECT_TRUE(otherName.acquired());
    }
    first.reset();
    SingleInstanceLock third("DoubleOpenChkOfNuvo.lock");
    EXPECT_TRUE(third.acquired());
}

TEST_F(SingleInstanceTest, WithoutRuntimeDirectoryTheLockIsPerUserInTheTemporaryDirectory)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    ScopedEnv tmp("TMPDIR", QFile::encodeName(root()));
    const QString file = SingleInstanceLock::lockFilePath("DoubleOpenChkOfNuvo.lock");
    EXPECT_EQ(file, path(QStringLiteral("DoubleOpenChkOfNuvo.lock-%1").arg(::getuid())));
    SingleInstanceLock first("DoubleOpenChkOfNuvo.lock");
    EXPECT_TRUE(first.acquired());
    SingleInstanceLock second("DoubleOpenChkOfNuvo.lock");
    EXPECT_TRUE(second.heldElsewhere());
}

TEST_F(SingleInstanceTest, AnUnopenableLockFileIsNotTakenForAnotherInstance)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", QFile::encodeName(root()));
    makeDir("Nuvo.lock"); // a directory cannot be opened for writing
    SingleInstanceLock lock("Nuvo.lock");
    EXPECT_FALSE(lock.acquired());
    EXPECT_FALSE(lock.heldElsewhere());
}

TEST_F(SingleInstanceTest, APlantedSymbolicLinkIsNotFollowed)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", QFile::encodeName(root()));
    writeFile("victim", "precious");
    ASSERT_TRUE(QFile::link(path("victim"), path("Nuvo.lock")));
    SingleInstanceLock lock("Nuvo.lock");
    EXPECT_FALSE(lock.acquired());
    EXPECT_EQ(readFile("victim"), QByteArray("precious"));
}

} // namespace
} // namespace nuvo
