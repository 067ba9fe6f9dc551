#include "playback/RandomIndex.h"

namespace nuvo {

namespace {
constexpr std::uint64_t kMultiplier = (std::uint64_t{0x15A} << 32) | 0x4E35;
}

void RandomGenerator::seed(std::uint32_t timeSeconds)
{
    state_ = static_cast<std::uint32_t>(timeSeconds * std::uint32_t{22695477} + 1u);
}

std::uint32_t RandomGenerator::next()
{
    state_ = state_ * kMultiplier + 1;
    return static_cast<std::uint32_t>(state_ >> 32) & 0x7FFFFFFFu;
}

int RandomGenerator::index(int n)
{
    if (n <= 0)
        return 0;
    return static_cast<int>(next() % static_cast<std::uint32_t>(n));
}

} // namespace nuvo
