#include "playback/RandomIndex.h"

#include "TestSupport.h"

#include <vector>

namespace nuvo {
namespace {

// The generator worked out on 32-bit halves, the way one would by hand: with state = hi:lo and
// M = 0x15A:0x4E35, the new lo is the low word of lo*0x4E35 + 1 and the new hi is
// hi*0x4E35 + lo*0x15A + the carry out of the low word, modulo 2^32.
std::vector<std::uint32_t> drawsByHalves(std::uint32_t seconds, int count)
{
    std::uint32_t lo = seconds * 22695477u + 1u;
    std::uint32_t hi = 0;
    std::vector<std::uint32_t> draws;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t low = std::uint64_t{lo} * 0x4E35u + 1u;
        hi = hi * 0x4E35u + lo * 0x15Au + static_cast<std::uint32_t>(low >> 32);
        lo = static_cast<std::uint32_t>(low);
        draws.push_back(hi & 0x7FFFFFFFu);
    }
    return draws;
}

std::vector<std::uint32_t> draws(std::uint32_t seconds, int count)
{
    RandomGenerator generator;
    generator.seed(seconds);
    std::vector<std::uint32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(generator.next());
    return values;
}

TEST(RandomGenerator, FirstDrawAfterSeedZeroIsTheMultipliersHighWord)
{
    // Seed 0 leaves the state 1; 1 * M + 1 has 0x15A in its high word.
    EXPECT_EQ(draws(0, 1), std::vector<std::uint32_t>{346});
}

TEST(RandomGenerator, KnownSequences)
{
    // Worked out separately with arbitrary-precision arithmetic.
    EXPECT_EQ(draws(0, 5), (std::vector<std::uint32_t>{346, 13854878, 1621890440, 816282396, 1778554774}));
    EXPECT_EQ(draws(1700000000, 5),
              (std::vector<std::uint32_t>{228694345, 396287962, 1659082375, 1269136315, 1177483356}));
    EXPECT_EQ(draws(0xFFFFFFFFu, 3), (std::vector<std::uint32_t>{737319811, 1903449241, 1408188579}));
}

TEST(RandomGenerator, AgreesWithTheHalfWordWorkingOverManyDraws)
{
    for (const std::uint32_t seconds : {0u, 1u, 1234567u, 1700000000u, 0x80000000u, 0xFFFFFFFFu})
        EXPECT_EQ(draws(seconds, 1000), drawsByHalves(seconds, 1000)) << seconds;
}

TEST(RandomGenerator, IndexIsTheDrawModuloTheCount)
{
    RandomGenerator generator;
    generator.seed(1700000000);
    std::vector<int> indexes;
    for (int i = 0; i < 5; ++i)
        indexes.push_back(generator.index(7));
    EXPECT_EQ(indexes, (std::vector<int>{5, 0, 6, 6, 0}));
}

TEST(RandomGenerator, IndexOfNoEntriesIsZeroAndDrawsNothing)
{
    RandomGenerator generator;
    generator.seed(0);
    EXPECT_EQ(generator.index(0), 0);
    EXPECT_EQ(generator.index(-3), 0);
    EXPECT_EQ(generator.next(), 346u); // still the first draw
    EXPECT_EQ(generator.index(1), 0);
}

} // namespace
} // namespace nuvo
