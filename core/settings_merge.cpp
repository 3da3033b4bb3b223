#include "core/settings_merge.h"

#include <algorithm>

#include "core/settings_store.h"

namespace {
std::string Apply(SettingsStore& store, const WrittenKeys& written) {
    for (const auto& [key, value] : written) store.SetText(key, value);
    return store.Serialize();
}
}  // namespace

void NoteWrittenKey(WrittenKeys& written, std::string_view key, std::string value) {
    const auto known =
        std::find_if(written.begin(), written.end(), [&](const auto& entry) { return entry.first == key; });
    if (known != written.end())
        known->second = std::move(value);
    else
        written.emplace_back(std::string(key), std::move(value));
}

std::optional<std::string> MergeWrittenKeys(std::string_view diskText, const WrittenKeys& written) {
    SettingsStore store;
    if (!store.Load(diskText)) return std::nullopt;
    return Apply(store, written);
}

std::string FreshSettingsText(const WrittenKeys& written) {
    SettingsStore store;
    store.AddMissingDefaults();
    return Apply(store, written);
}
