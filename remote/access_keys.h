#pragma once
// Who may do what: the control key orders and reads, the view key only reads.
// And the lock-out that makes guessing a key by trying slow.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace tallyglass {

enum class Access { None, View, Control };

struct AccessKeys {
    std::string control;
    std::string view;
};

constexpr char kKeyCookie[] = "tallyglass_key";
// A user-chosen control key shorter than this is refused.
constexpr size_t kMinKeyLength = 8;

// 16 random bytes as URL-safe base64 without padding: 22 characters.
std::string KeyText(const uint8_t (&random)[16]);

// The key a request presents: ?key= first, then "Authorization: Bearer", then the cookie.
std::string PresentedKey(std::string_view target, std::string_view authorization, std::string_view cookie);

// In time that depends only on the lengths, never on where the texts differ.
bool KeysEqual(std::string_view a, std::string_view b);
Access AccessFor(const AccessKeys& keys, std::string_view presented);

// Ten wrong keys from one address within a minute lock that address out for a minute.
class LockOut {
public:
    bool Locked(const std::string& address, uint64_t nowMs);
    void Failed(const std::string& address, uint64_t nowMs);

private:
    struct Record {
        uint64_t windowStartMs = 0;
        uint32_t failures = 0;
        uint64_t lockedUntilMs = 0;
    };
    void Forget(uint64_t nowMs);
    std::map<std::string, Record> m_records;
};

}  // namespace tallyglass
