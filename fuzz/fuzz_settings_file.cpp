// Parse, save, parse again, several times: every key reads the same each time,
// and saving again never makes the file grow (blank lines may move about).
// Then the merge at exit: the input is a few keys the clock wrote followed by
// the text on disk. Every written key reads back with its value, every other
// key as the disk text had it, and merging again neither grows the file nor
// changes what it says.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings_merge.h"
#include "core/settings_store.h"

namespace {
// The keys the clock writes at exit.
constexpr const char* kWrittenKeys[] = {"nobg",       "wavalert",     "alertcenter", "fsizenormal", "fsizealert",
                                        "djsseconds", "alertseconds", "posleft",     "postop"};

void CheckRoundTrips(std::string_view text) {
    SettingsStore first;
    first.Load(text);
    first.SetInt("djsseconds", 1234);  // a write, as at destruction
    std::string saved = first.Serialize();
    const size_t firstSize = saved.size();
    for (int round = 0; round < 3; ++round) {
        SettingsStore again;
        again.Load(saved);
        for (const auto& key : SettingKeys()) {
            if (first.GetText(key.name) != again.GetText(key.name)) std::abort();
            if (first.GetInt(key.name) != again.GetInt(key.name)) std::abort();
            if (first.GetBool(key.name) != again.GetBool(key.name)) std::abort();
        }
        saved = again.Serialize();
        if (saved.size() > firstSize + 16) std::abort();
    }
}

WrittenKeys TakeWrittenKeys(std::string_view& input) {
    WrittenKeys written;
    if (input.empty()) return written;
    const size_t count = static_cast<unsigned char>(input.front()) % 4;
    input.remove_prefix(1);
    for (size_t i = 0; i < count && input.size() >= 5; ++i) {
        const char* key = kWrittenKeys[static_cast<unsigned char>(input[0]) % 9];
        uint32_t bits = 0;
        for (int b = 1; b <= 4; ++b) bits = bits << 8 | static_cast<unsigned char>(input[b]);
        NoteWrittenKey(written, key, std::to_string(static_cast<int32_t>(bits)));
        input.remove_prefix(5);
    }
    return written;
}

bool Written(const WrittenKeys& written, std::string_view key) {
    for (const auto& entry : written)
        if (entry.first == key) return true;
    return false;
}

void CheckMerge(std::string_view input) {
    const WrittenKeys written = TakeWrittenKeys(input);
    const auto merged = MergeWrittenKeys(input, written);
    if (!merged) return;
    SettingsStore disk, after;
    disk.Load(input);
    after.Load(*merged);
    for (const auto& [key, value] : written)
        if (after.GetText(key) != value) std::abort();
    for (const auto& key : SettingKeys())
        if (!Written(written, key.name) && after.GetText(key.name) != disk.GetText(key.name)) std::abort();
    // Blank lines may move about at the first saves, as above, but the file
    // does not keep growing and says the same each time.
    std::string again = *merged;
    for (int round = 0; round < 3; ++round) {
        again = MergeWrittenKeys(again, written).value();
        if (again.size() > merged->size() + 16) std::abort();
    }
    SettingsStore last;
    last.Load(again);
    for (const auto& key : SettingKeys())
        if (last.GetText(key.name) != after.GetText(key.name)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckRoundTrips(input);
    CheckMerge(input);
    return 0;
}
