#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallyglass {

// "#RRGGBB", "#AARRGGBB" (hex, any case), "R,G,B" or "A,R,G,B" (decimal 0..255),
// blanks around the text and around each number ignored. ARGB, alpha on top.
std::optional<uint32_t> ParseColor(std::string_view text);

}  // namespace tallyglass
