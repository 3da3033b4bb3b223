#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "remote/osc_packet.h"

using namespace tallyglass;

namespace {
using namespace std::string_view_literals;
using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A bundle element: its size, big-endian, then its bytes.
Bytes Sized(const Bytes& element) {
    const auto n = static_cast<uint32_t>(element.size());
    return Bytes{uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)} + element;
}
Bytes Bundle(std::initializer_list<Bytes> elements) {
    Bytes out = B("#bundle\0\0\0\0\0\0\0\0\x01"sv);
    for (const Bytes& element : elements) out = out + Sized(element);
    return out;
}
std::vector<OscMessage> Decode(const Bytes& bytes) { return DecodeOscPacket(bytes.data(), bytes.size()); }
Names Addresses(const Bytes& bytes) {
    Names addresses;
    for (const OscMessage& message : Decode(bytes)) addresses.push_back(message.address);
    return addresses;
}

const Bytes kA = B("/a\0\0,\0\0\0"sv), kB = B("/b\0\0"sv), kC = B("/c\0\0,i\0\0\0\0\0\x07"sv);

TEST(OscPacket, ReadsEachArgumentTypeAndStepsOverTheOthers) {
    const std::pair<Bytes, std::vector<OscArgument>> cases[] = {
        {B("/x\0\0"sv), {}},
        {B("/x\0\0,\0\0\0"sv), {}},
        {B("/x\0\0,if\0\xff\xff\xff\xc4\x3f\xc0\0\0"sv), {int32_t{-60}, 1.5f}},
        {B("/x\0\0,ss\0abc\0abcd\0\0\0\0"sv), {"abc", "abcd"}},
        {B("/x\0\0,s\0\0\0\0\0\0"sv), {""}},
        // b of five bytes and its padding, h, d, four without data, then i.
        {B("/x\0\0,bhdTFNIi\0\0\0\0\0\0\x05"
           "12345\0\0\0hhhhhhhhdddddddd\0\0\0\x09"sv),
         {{}, {}, {}, {}, {}, {}, {}, int32_t{9}}},
    };
    for (const auto& [bytes, arguments] : cases) {
        const std::vector<OscMessage> messages = Decode(bytes);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].address, "/x");
        EXPECT_EQ(messages[0].arguments, arguments);
    }
}

TEST(OscPacket, UnpacksBundlesInOrderAndLeavesOutOnlyTheMalformedParts) {
    EXPECT_EQ(Addresses(Bundle({kA, kB, Bundle({kC}), kA})), (Names{"/a", "/b", "/c", "/a"}));
    EXPECT_EQ(Addresses(Bundle({Bundle({Bundle({Bundle({kC})})})})), Names{"/c"});
    EXPECT_EQ(Addresses(Bundle({B("/a\0\0,x\0\0"sv), Bundle({}), Bytes{}, kB})), Names{"/b"});
    // A size beyond the end, negative, or not a multiple of four ends the bundle there.
    for (const Bytes& tail : {B("\0\0\0\x08/b\0\0"sv), B("\xff\xff\xff\xfc/b\0\0"sv), B("\0\0\0\x03/b\0\0"sv)})
        EXPECT_EQ(Addresses(Bundle({kA}) + tail), Names{"/a"});
    Bytes many = Bundle({});
    for (int i = 0; i < 70; ++i) many = many + Sized(kB);
    EXPECT_EQ(Decode(many).size(), kMaxOscMessagesPerPacket);

    const std::pair<const char*, Bytes> malformed[] = {
        {"empty", {}},
        {"not a multiple of four", B("/a\0\0\0"sv)},
        {"an address that never ends", B("/abc"sv)},
        {"padding that is not NUL", B("/a\0x"sv)},
        {"no address", B("a\0\0\0"sv)},
        {"an empty address", B("\0\0\0\0"sv)},
        {"type tags without ','", B("/a\0\0i\0\0\0\0\0\0\x01"sv)},
        {"i past the end", B("/a\0\0,i\0\0"sv)},
        {"f past the end", B("/a\0\0,f\0\0\0\0"sv)},
        {"s past the end", B("/a\0\0,s\0\0abcd"sv)},
        {"b past the end", B("/a\0\0,b\0\0\0\0\0\x08"
                             "abcd"sv)},
        {"b of negative size", B("/a\0\0,b\0\0\xff\xff\xff\xfc"sv)},
        {"h past the end", B("/a\0\0,h\0\0abcd"sv)},
        {"a type of unknown size", B("/a\0\0,x\0\0"sv)},
        {"bytes after the arguments", B("/a\0\0,\0\0\0abcd"sv)},
        {"a bundle without its time tag", B("#bundle\0"sv)},
        {"bundles too deep", Bundle({Bundle({Bundle({Bundle({Bundle({kC})})})})})},
    };
    for (const auto& [why, bytes] : malformed) EXPECT_TRUE(Decode(bytes).empty()) << why;
}

// What only OSC can get wrong (its addresses, its argument types, the rounding of
// floats); the orders themselves are the one table's.
TEST(OscPacket, MessagesBecomeTheClocksOrders) {
    const std::pair<OscMessage, int32_t> added[] = {{{"/tallyglass/add", {2.5f}}, 3},
                                                    {{"/tallyglass/add", {-2.5f}}, -3},
                                                    {{"/tallyglass/add", {59.4f}}, 59},
                                                    {{"/tallyglass/add", {int32_t{-30}, "x"}}, -30}};
    for (const auto& [message, seconds] : added) EXPECT_EQ(CommandFromOsc(message)->command->number, seconds);
    for (const OscMessage& message : {OscMessage{"/other/start", {}}, OscMessage{"/tallyglass/Start", {}},
                                      OscMessage{"/tallyglass/start/", {}}, OscMessage{"tallyglass/start", {}}})
        EXPECT_FALSE(CommandFromOsc(message).has_value()) << message.address;
    for (const OscMessage& message :
         {OscMessage{"/tallyglass/add", {}}, OscMessage{"/tallyglass/add", {NAN}},
          OscMessage{"/tallyglass/add", {-INFINITY}}, OscMessage{"/tallyglass/add", {{}, int32_t{5}}},
          OscMessage{"/tallyglass/message", {int32_t{5}}}})
        EXPECT_FALSE(CommandFromOsc(message)->command.has_value())
            << message.address << " " << message.arguments.size();
}
}  // namespace
