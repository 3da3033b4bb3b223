// Every number of seconds formats to digits and colons whose fields read back to it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/display_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(int32_t)) return 0;
    int32_t seconds;
    std::memcpy(&seconds, data, sizeof seconds);
    const std::string alert(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string plain = FormatTimeText(seconds, false, alert);
    int64_t total = 0, field = 0;
    for (char c : plain) {
        if (c == ':') {
            total = total * 60 + field;
            field = 0;
        } else if (c >= '0' && c <= '9') {
            field = field * 10 + (c - '0');
        } else {
            std::abort();
        }
    }
    total = total * 60 + field;
    if (total != (seconds > 0 ? seconds : 0)) std::abort();
    const std::string withAlert = FormatTimeText(seconds, true, alert);
    if (seconds > 0 && withAlert != alert + " " + plain) std::abort();
    if (seconds <= 0 && withAlert != "0") std::abort();
    return 0;
}
