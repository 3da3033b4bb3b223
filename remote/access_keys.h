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
// The view and overlay pages keep theirs apart, so that opening the view page in the
// browser that has the control page open never turns the control page into a viewer.
constexpr char kViewCookie[] = "tallyglass_view";

// The cookie a request's key rides on: the view page's for /view and /overlay and for
// what they fetch and send (marked ?page=view), the control page's for the rest.
const char* KeyCookieFor(std::string_view target);
// A user-chosen control key shorter than this is refused.
constexpr size_t kMinKeyLength = 8;

// 16 random bytes as URL-safe base64 without padding: 22 characters.
std::string KeyText(const uint8_t (&random)[16]);

// The key a request presents: ?key= first, then "Authorization: Bearer", then the cookie.
std::string PresentedKey(std::string_view target, std::string_view authorization, std::string_view cookie);

// In time that depends only on the lengths, never on where the texts differ.
bool KeysEqual(std::string_view a, std::string_view b);
Access AccessFor(const AccessKeys& keys, std::string_view presented);

// Wrong keys, counted per address and over all addresses. Ten from one address within a
// minute lock that address out for a minute; beyond 50 a second over all of them (many
// addresses, or more than the table holds) every wrong key is refused for ten seconds.
// A right key is never refused and clears its address's count: a stale tab redialling
// with an old key from this PC never locks out the program next to it that has the key.
class LockOut {
public:
    enum class Verdict { Counted, LockedNow, Refused };  // 401, 401 and worth a log line, 429
    Verdict Failed(const std::string& address, uint64_t nowMs);
    void Passed(const std::string& address);

private:
    struct Record {
        uint64_t windowStartMs = 0;
        uint64_t lastMs = 0;
        uint32_t failures = 0;
        uint64_t lockedUntilMs = 0;
    };
    void MakeRoom(uint64_t nowMs);
    std::map<std::string, Record> m_records;
    uint64_t m_secondStartMs = 0;
    uint32_t m_failuresThisSecond = 0;
    uint64_t m_floodUntilMs = 0;
};

}  // namespace tallyglass
