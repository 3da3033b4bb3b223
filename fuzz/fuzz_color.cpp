// Any text: either no colour, or one that the canonical #AARRGGBB form gives back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/color.h"

using namespace tallyglass;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto color = ParseColor(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!color) return 0;
    char canonical[16];
    std::snprintf(canonical, sizeof canonical, "#%08X", static_cast<unsigned>(*color));
    const auto again = ParseColor(canonical);
    if (!again || *again != *color) std::abort();
    return 0;
}
