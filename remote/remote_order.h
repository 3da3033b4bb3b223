#pragma once
// An order from the network as the remote protocols read it, before the clock
// reads its words: the layer below countdown/ knows no engine and no LENGTH syntax.
#include <cstdint>
#include <string>

struct RemoteOrder {
    enum class Kind { Start, Pause, Resume, Reset, Add, Set, Until, Message, ClearMessage };
    Kind kind = Kind::Start;
    int32_t seconds = 0;  // Add: negative takes
    std::string text;     // Set: the LENGTH text, Until: HH:MM, Message: the text; each as sent
};
