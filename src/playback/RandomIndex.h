#pragma once

#include <cstdint>

namespace nuvo {

// The linear congruential generator of the random loop mode: a 64-bit state advanced as
// state * M + 1 (mod 2^64) with M = 0x0000015A00004E35; each draw yields bits 32..62 of the new
// state. Kept exactly: the sequence that follows a seed is part of the player's behaviour.
class RandomGenerator {
public:
    // Low 32 bits := timeSeconds * 22695477 + 1 (mod 2^32), high 32 bits := 0.
    void seed(std::uint32_t timeSeconds);
    // A value 0..2^31-1.
    std::uint32_t next();
    // 0 when n <= 0, otherwise next() % n.
    int index(int n);

private:
    std::uint64_t state_ = 0;
};

} // namespace nuvo
