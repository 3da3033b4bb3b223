#include "command/key_commands.h"

namespace tallyglass {
namespace {
// Windows' virtual-key codes, which portable code cannot take from <windows.h>.
constexpr uint32_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kDelete = 0x2E, kF2 = 0x71, kF3 = 0x72,
                   kF4 = 0x73;

struct KeyRow {
    uint32_t key;
    CommandKind kind;
    const char* word;
};
constexpr KeyRow kKeys[] = {
    {kF2, CommandKind::Start, ""},
    {kF3, CommandKind::PauseOrResume, ""},
    {kF4, CommandKind::Reset, ""},
    {kUp, CommandKind::AddSeconds, "60"},
    {kDown, CommandKind::AddSeconds, "-60"},
    {kRight, CommandKind::NextSegment, ""},
    {kLeft, CommandKind::PreviousSegment, ""},
    {kDelete, CommandKind::ClearMessage, ""},
};
}  // namespace

std::optional<ClockCommand> CommandForKey(uint32_t virtualKey) {
    for (const KeyRow& row : kKeys)
        if (row.key == virtualKey) return CheckCommand(row.kind, row.word).command;
    return std::nullopt;
}

}  // namespace tallyglass
