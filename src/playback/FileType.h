// Reading the file type value the decoder reports.
#pragma once

#include <cstdint>

namespace nuvo {

// True when the type says the file carries an ID3 tag. The remainders take
// the sign of the type, so a negative type (-1: unreadable) never passes.
inline bool hasTag(std::int32_t fileType)
{
    return (fileType % 64) % 32 >= 16;
}

} // namespace nuvo
