#pragma once
// OSC 1.0 as the clock reads it from UDP: a datagram's messages, the feedback
// message's bytes, and the order a message stands for. Bundles are unpacked and
// their time tags ignored: every order acts when it arrives.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "command/clock_command.h"

namespace tallyglass {

// i, f and s are read. An argument of a type whose size is known but that no order
// takes (b, h, d, t, T, F, N, I) stays in its place as monostate, so that the
// arguments after it keep their positions; any other type tag refuses the message.
using OscArgument = std::variant<std::monostate, int32_t, float, std::string>;

struct OscMessage {
    std::string address;
    std::vector<OscArgument> arguments;
};

// One datagram's work stays bounded whatever a sender puts in it.
constexpr size_t kMaxOscMessagesPerPacket = 64;
constexpr int kMaxOscBundleDepth = 4;

// The well-formed messages in the order sent; a malformed message or bundle element
// is left out, and a bundle whose element sizes do not fit ends there.
std::vector<OscMessage> DecodeOscPacket(const uint8_t* data, size_t size);

// A monostate argument is written as N; a string ends at its first NUL.
std::vector<uint8_t> EncodeOscMessage(const OscMessage& message);

// /tallyglass/<word>, with the network's words. Orders without a value ignore any
// argument sent (a controller's button often sends its value); the others take
// their first argument: a string as its text, an integer or a finite float
// (rounded to the nearest) as its decimal text, but for message, which takes a
// string. Not an order of the clock's: nothing.
std::optional<tallyglass::CommandCheck> CommandFromOsc(const OscMessage& message);

}  // namespace tallyglass
