#pragma once
// An order that came over the network, already checked: the clock's window
// thread turns it into the same calls as a key, a hot key or the command line.
#include <cstdint>
#include <string>

struct RemoteOrder {
    enum class Kind { Start, Pause, Resume, Reset, Add, Set, Until, Message, ClearMessage, Next, Previous, Segment };
    Kind kind = Kind::Start;
    // Add: seconds more (negative: fewer). Set: the new length in seconds. Until: minutes since midnight. Segment: its
    // number, from 1.
    int32_t seconds = 0;
    // Message: its text, UTF-8. Set and Until from OSC: the word as sent, until it is parsed.
    std::string text;
};

// Control characters dropped and the text cut to 200 characters (code points,
// never half of one), so that a message cannot break the clock's line or its pages.
std::string CleanMessage(const std::string& text);
