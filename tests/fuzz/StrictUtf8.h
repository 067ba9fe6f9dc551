// UTF-8 as the standard has it, decoded on its own so the fuzz targets have a second opinion:
// no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut short.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nuvo::fuzz {

inline std::optional<std::u32string> strictUtf8(std::string_view bytes)
{
    std::u32string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return std::nullopt;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        text += code;
        i += length;
    }
    return text;
}

} // namespace nuvo::fuzz
