// Any datagram: the decoder stays within its bytes and its cap, mapping a message to
// an order is defined for any arguments, and a message's encoding decodes back to the
// same message (floats bit for bit, so that a NaN compares too).
#include <cstdint>
#include <cstring>
#include <variant>
#include <vector>

#include "remote/osc_packet.h"

using namespace tallyglass;

namespace {
bool SameArgument(const OscArgument& a, const OscArgument& b) {
    if (a.index() != b.index()) return false;
    if (const float* x = std::get_if<float>(&a)) return std::memcmp(x, std::get_if<float>(&b), sizeof *x) == 0;
    return a == b;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<OscMessage> messages = DecodeOscPacket(data, size);
    if (messages.size() > kMaxOscMessagesPerPacket) __builtin_trap();
    for (const OscMessage& message : messages) {
        // UBSan watches the float's rounding to whole seconds.
        (void)CommandFromOsc(message);
        const std::vector<uint8_t> bytes = EncodeOscMessage(message);
        if (bytes.size() % 4 != 0) __builtin_trap();
        const std::vector<OscMessage> back = DecodeOscPacket(bytes.data(), bytes.size());
        if (back.size() != 1 || back[0].address != message.address ||
            back[0].arguments.size() != message.arguments.size())
            __builtin_trap();
        for (size_t i = 0; i < message.arguments.size(); ++i)
            if (!SameArgument(back[0].arguments[i], message.arguments[i])) __builtin_trap();
    }
    return 0;
}
