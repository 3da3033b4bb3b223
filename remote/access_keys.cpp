#include "remote/access_keys.h"

#include <optional>

#include "remote/http_route.h"

namespace tallyglass {

namespace {
constexpr uint64_t kWindowMs = 60'000;
constexpr uint32_t kFailuresToLock = 10;
// Addresses kept at most: a flood from many addresses costs bounded memory.
constexpr size_t kMaxRecords = 4096;
constexpr uint32_t kFloodPerSecond = 50;
constexpr uint64_t kFloodMs = 10'000;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<std::string> CookieValue(std::string_view cookies, std::string_view name) {
    while (!cookies.empty()) {
        const size_t semicolon = cookies.find(';');
        const std::string_view pair = Trimmed(cookies.substr(0, semicolon));
        cookies = semicolon == std::string_view::npos ? std::string_view() : cookies.substr(semicolon + 1);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == name)
            return std::string(pair.substr(equals + 1));
    }
    return std::nullopt;
}
}  // namespace

std::string KeyText(const uint8_t (&random)[16]) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string text;
    uint32_t bits = 0;
    int pending = 0;
    for (uint8_t byte : random) {
        bits = (bits << 8) | byte;
        pending += 8;
        while (pending >= 6) {
            pending -= 6;
            text += kAlphabet[(bits >> pending) & 63];
        }
    }
    if (pending > 0) text += kAlphabet[(bits << (6 - pending)) & 63];
    return text;
}

std::string PresentedKey(std::string_view target, std::string_view authorization, std::string_view cookie) {
    if (auto query = QueryValue(target, "key")) return *query;
    const std::string_view bearer = "Bearer ";
    const std::string_view auth = Trimmed(authorization);
    if (auth.size() > bearer.size() && auth.substr(0, bearer.size()) == bearer)
        return std::string(Trimmed(auth.substr(bearer.size())));
    if (auto value = CookieValue(cookie, KeyCookieFor(target))) return *value;
    return {};
}

const char* KeyCookieFor(std::string_view target) {
    const std::string_view path = target.substr(0, target.find('?'));
    return path == "/view" || path == "/overlay" || QueryValue(target, "page") == "view" ? kViewCookie : kKeyCookie;
}

bool KeysEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

Access AccessFor(const AccessKeys& keys, std::string_view presented) {
    // A key not made yet is empty, and an empty key never matches, not even an empty one.
    if (!keys.control.empty() && KeysEqual(keys.control, presented)) return Access::Control;
    if (!keys.view.empty() && KeysEqual(keys.view, presented)) return Access::View;
    return Access::None;
}

LockOut::Verdict LockOut::Failed(const std::string& address, uint64_t nowMs) {
    // Every wrong key counts toward the rate over all, refused ones too: a flood keeps itself refused.
    if (nowMs - m_secondStartMs >= 1000) {
        m_secondStartMs = nowMs;
        m_failuresThisSecond = 0;
    }
    if (++m_failuresThisSecond > kFloodPerSecond) m_floodUntilMs = nowMs + kFloodMs;
    const auto found = m_records.find(address);
    if (found != m_records.end() && nowMs < found->second.lockedUntilMs) return Verdict::Refused;
    if (nowMs < m_floodUntilMs) return Verdict::Refused;
    if (found == m_records.end() && m_records.size() >= kMaxRecords) MakeRoom(nowMs);
    Record& record = m_records[address];
    record.lastMs = nowMs;
    if (nowMs - record.windowStartMs >= kWindowMs || record.failures == 0) {
        record.windowStartMs = nowMs;
        record.failures = 0;
    }
    if (++record.failures < kFailuresToLock) return Verdict::Counted;
    record.lockedUntilMs = nowMs + kWindowMs;
    record.failures = 0;
    return Verdict::LockedNow;
}

void LockOut::Passed(const std::string& address) { m_records.erase(address); }

// The table stays bounded: what has passed goes, else the address heard from longest ago.
void LockOut::MakeRoom(uint64_t nowMs) {
    auto oldest = m_records.end();
    for (auto it = m_records.begin(); it != m_records.end();) {
        if (nowMs >= it->second.lockedUntilMs && nowMs - it->second.windowStartMs >= kWindowMs) {
            it = m_records.erase(it);
            continue;
        }
        if (oldest == m_records.end() || it->second.lastMs < oldest->second.lastMs) oldest = it;
        ++it;
    }
    if (m_records.size() >= kMaxRecords) m_records.erase(oldest);
}

}  // namespace tallyglass
