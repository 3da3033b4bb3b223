#pragma once
// The settings file's contents: one [settings] section of key=value lines that a
// user can read and edit. This reads them and writes a file with every default;
// a save into an existing file changes only the keys written (settings_merge).
// File access lives elsewhere; this works on text.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallyglass {

enum class SettingKind { Bool, Int, Text };

struct SettingKey {
    const char* name;
    SettingKind kind;
    const char* defaultText;
    const char* comment;
};

// Every key the clock reads, in read order, with its default.
const std::vector<SettingKey>& SettingKeys();

// Defaults that depend on the run (the alert text follows the interface
// language), each a key and its text; they take the place of the table's.
using LocalDefaults = std::vector<std::pair<std::string, std::string>>;
const SettingKey* FindSettingKey(std::string_view name);

// Larger files are not settings files; they are left alone, never rewritten.
constexpr size_t kMaxSettingsFileBytes = 16u << 20;

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // False when the text is too large to be a settings file; the store is then
    // empty and every getter gives its default.
    bool Load(std::string_view text);
    // Adds every key of the key table that is missing, with its default.
    void SetLocalDefaults(LocalDefaults defaults) { m_localDefaults = std::move(defaults); }
    const LocalDefaults& GetLocalDefaults() const { return m_localDefaults; }
    void AddMissingDefaults();
    std::string Serialize() const;

    bool Has(std::string_view key) const;
    // Each getter gives the key's default when the key is missing or its value
    // does not parse (or does not fit in 32 bits).
    bool GetBool(std::string_view key) const;
    int32_t GetInt(std::string_view key) const;
    std::string GetText(std::string_view key) const;

    void SetBool(std::string_view key, bool value);
    void SetInt(std::string_view key, int32_t value);
    void SetText(std::string_view key, std::string_view value);

private:
    std::string DefaultText(const SettingKey& key) const;
    // The text as the parser may safely see it (see the .cpp).
    static std::string DisarmBrokenLines(std::string_view text);
    const char* RawValue(std::string_view key) const;
    void SetRaw(std::string_view key, const std::string& value);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    LocalDefaults m_localDefaults;
};

// Value syntax, shared with anyone who validates a value before storing it.
bool ParseStoredBool(std::string_view text, bool& value);
bool ParseStoredInt(std::string_view text, int32_t& value);

}  // namespace tallyglass
