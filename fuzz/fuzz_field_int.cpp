// The dialog's field reading never fails, agrees with strtoll where that fits,
// and the lengths built from it are always positive.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "clock/field_values.h"

using namespace tallyglass;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int32_t value = ParseFieldInt(text);
    const std::string cString = text.substr(0, text.find('\0'));
    errno = 0;
    const long long reference = std::strtoll(cString.c_str(), nullptr, 10);
    if (errno == 0 && reference >= INT32_MIN && reference <= INT32_MAX &&
        cString.find_first_of("xX") == std::string::npos && value != reference)
        std::abort();
    if (TotalSeconds(value, value, value) <= 0) std::abort();
    const TimeParts parts = SplitSeconds(value);
    if (int64_t{parts.hours} * 3600 + parts.minutes * 60 + parts.seconds != value) std::abort();
    return 0;
}
