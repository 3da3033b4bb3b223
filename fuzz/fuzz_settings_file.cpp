// Parse, save, parse again, several times: every key reads the same each time,
// and saving again never makes the file grow (blank lines may move about).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SettingsStore first;
    first.Load(std::string(reinterpret_cast<const char*>(data), size));
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
    return 0;
}
