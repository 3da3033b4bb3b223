#include "store/settings_store.h"

#include <algorithm>
#include <vector>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include "base/text_scan.h"
#include "store/setting_keys.h"

namespace tallyglass {

namespace {
constexpr const char* kLooseSection = "";  // keys before any header

const std::vector<SettingKey> kKeys{
    {setting_keys::kNoBackground, SettingKind::Bool, "0", "1: no background, only the glyphs show"},
    {setting_keys::kAlertSound, SettingKind::Bool, "1", "1: play alert.wav (beside the exe) when the alert starts"},
    {setting_keys::kAlertCenter, SettingKind::Bool, "1", "1: jump to the screen centre when the alert starts"},
    {setting_keys::kFontName, SettingKind::Text, "Arial", "font family of the clock"},
    {setting_keys::kSizeNormal, SettingKind::Int, "72", "font size in pixels while counting (20 or more)"},
    {setting_keys::kSizeAlert, SettingKind::Int, "96", "font size in pixels during the alert (20 or more)"},
    {setting_keys::kSizeTitle, SettingKind::Int, "48", "font size in pixels of the idle title (20 or more)"},
    {setting_keys::kColorNormal, SettingKind::Text, "#FFFFFF",
     "colour while counting: #RRGGBB, #AARRGGBB, R,G,B or A,R,G,B"},
    {setting_keys::kColorAlert, SettingKind::Text, "#FF3030", "colour of the alert and of the title"},
    {setting_keys::kCountdownSeconds, SettingKind::Int, "600", "countdown length in seconds"},
    {setting_keys::kAlertSeconds, SettingKind::Int, "60", "alert length in seconds"},
    {setting_keys::kAlertText, SettingKind::Text, "\xE6\x97\xB6\xE9\x97\xB4\xE5\x88\xB0",
     "text shown before the time during the alert"},
    {setting_keys::kTitle, SettingKind::Text, "", "text shown while idle; empty shows the countdown length"},
    {setting_keys::kPosLeft, SettingKind::Int, "0", "left edge of the window, screen pixels"},
    {setting_keys::kPosTop, SettingKind::Int, "0", "top edge of the window, screen pixels"},
    {setting_keys::kWarnSeconds, SettingKind::Int, "0",
     "from this many seconds left the time shows in clrwarn; 0: never"},
    {setting_keys::kColorWarn, SettingKind::Text, "#FFC000", "colour of the time in the warning stage"},
    {setting_keys::kOvertime, SettingKind::Bool, "0",
     "1: after zero the alert counts up how long the time is over, until F4"},
    {setting_keys::kAlertFlash, SettingKind::Bool, "0", "1: the alert's text dims to a quarter every other second"},
    {setting_keys::kOpacity, SettingKind::Int, "100", "opacity of the whole clock in percent, 10 to 100"},
    {setting_keys::kClickThrough, SettingKind::Bool, "0", "1: mouse clicks pass through the clock to the window below"},
    {setting_keys::kHideFromCapture, SettingKind::Bool, "0", "1: hide the clock from screen capture and sharing"},
    {setting_keys::kMonitor, SettingKind::Text, "",
     "the monitor the clock opens and centres its alert on: empty for where it was, primary, or the monitor's "
     "name as Windows gives it (\\\\.\\DISPLAY2)"},
    // Only read: a user who wants the other language edits it once.
    {setting_keys::kLanguage, SettingKind::Text, "auto", "menu and dialog language: auto (as Windows), zh or en"},
    {setting_keys::kHotKeyStart, SettingKind::Text, "Ctrl+Alt+F2",
     "global hot key for start, as Ctrl+Shift+P; empty: off"},
    {setting_keys::kHotKeyReset, SettingKind::Text, "Ctrl+Alt+F4", "global hot key for reset; empty: off"},
    {setting_keys::kHotKeyPause, SettingKind::Text, "Ctrl+Alt+F3", "global hot key for pause and resume; empty: off"},
    {setting_keys::kHotKeyPlus, SettingKind::Text, "Ctrl+Alt+PageUp", "global hot key for one minute more; empty: off"},
    {setting_keys::kHotKeyMinus, SettingKind::Text, "Ctrl+Alt+PageDown",
     "global hot key for one minute less; empty: off"},
    {setting_keys::kHotKeyClickThrough, SettingKind::Text, "Ctrl+Alt+F6",
     "global hot key that turns clickthrough off and on; empty: off"},
    // With Shift: graphics drivers hold Ctrl+Alt+arrows (screen rotation), and
    // no keyboard layout makes a character of AltGr with an arrow.
    {setting_keys::kHotKeyNext, SettingKind::Text, "Ctrl+Alt+Shift+Right",
     "global hot key for the run of show's next segment; empty: off"},
    {setting_keys::kHotKeyPrevious, SettingKind::Text, "Ctrl+Alt+Shift+Left",
     "global hot key for the run of show's previous segment; empty: off"},
    {setting_keys::kFace, SettingKind::Text, "remaining",
     "what the count shows: remaining (the time left) or elapsed (the time since the start)"},
    {setting_keys::kIdleClock, SettingKind::Bool, "0", "1: idle without a title, show the time of day"},
    {setting_keys::kCues, SettingKind::Text, "",
     "times before the end that play cue.wav and flash once, as 5m, 1m; empty: none"},
    {setting_keys::kShowAdvance, SettingKind::Bool, "0",
     "1: when a segment of [show] ends, move to the next one and wait"},
    {setting_keys::kShowAutoStart, SettingKind::Text, "0",
     "1: with showadvance, also start the next segment; schedule: each segment starts at its planned start"},
    {setting_keys::kSchedule, SettingKind::Bool, "0",
     "1: a small line under the time says how far ahead or behind the planned starts of [show] the show runs"},
    {setting_keys::kSlideShow, SettingKind::Text, "off",
     "off; start: a PowerPoint slide show's beginning starts the count; follow: its end or leaving it pauses, too"},
    {setting_keys::kSlideNumber, SettingKind::Bool, "0", "1: a small line under the time shows Slide 12 / 30"},
    {setting_keys::kSlidePacing, SettingKind::Bool, "0",
     "1: a small line under the time says how far behind or ahead of its slides' budgets the talk is"},
    {setting_keys::kMessagePresets, SettingKind::Text, "",
     "ready messages the control page sends with one tap, as Wrap up|Five minutes; empty: none"},
    {setting_keys::kRemote, SettingKind::Text, "off",
     "remote control: off, local (this PC only) or lan (the local network)"},
    {setting_keys::kRemoteBind, SettingKind::Text, "", "lan: the one IPv4 address to listen on; empty: all"},
    {setting_keys::kRemotePort, SettingKind::Int, "7360", "TCP port of HTTP and WebSocket, UDP port of OSC"},
    {setting_keys::kRemoteKey, SettingKind::Text, "", "key that controls and reads; empty: made at the first start"},
    {setting_keys::kRemoteViewKey, SettingKind::Text, "", "key that only reads; empty: made at the first start"},
    {setting_keys::kRemoteOsc, SettingKind::Bool, "0", "1: take OSC from other computers too (OSC has no key)"},
    {setting_keys::kRemoteFeedback, SettingKind::Text, "", "HOST:PORT to send OSC /tallyglass/state to; empty: none"},
};
}  // namespace

const std::vector<SettingKey>& SettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::string_view name) {
    for (const auto& key : kKeys)
        if (name == key.name) return &key;
    return nullptr;
}

bool ParseStoredBool(std::string_view text, bool& value) {
    text = Trim(text);
    for (const char* yes : {"1", "true", "yes", "on"})
        if (EqualsNoCase(text, yes)) return value = true, true;
    for (const char* no : {"0", "false", "no", "off"})
        if (EqualsNoCase(text, no)) return value = false, true;
    return false;
}

bool ParseStoredInt(std::string_view text, int32_t& value) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return false;
    value = static_cast<int32_t>(result);
    return true;
}

struct SettingsStore::Impl {
    CSimpleIniA ini{/*isUtf8=*/true, /*multiKey=*/false, /*multiLine=*/false};
};

SettingsStore::SettingsStore() : m_impl(std::make_unique<Impl>()) {}
SettingsStore::~SettingsStore() = default;

bool SettingsStore::Load(std::string_view text) {
    m_impl->ini.Reset();
    if (text.size() > kMaxSettingsFileBytes) return false;
    const std::string lines = DisarmBrokenLines(text);
    m_impl->ini.LoadData(lines.data(), lines.size());
    return true;
}

std::string SettingsStore::DisarmBrokenLines(std::string_view text) {
    // The parser reads C strings: a stray NUL would hide every line after it.
    // A section header without its "]" on the same line would swallow the lines
    // up to the next "]" and grow the file at every save; it becomes a comment.
    // The parser ends a line at CR as well as at LF, and so does this.
    std::string out;
    out.reserve(text.size() + 16);
    if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        out += kUtf8ByteOrderMark;
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r' && text[end] != '\0') ++end;
        const std::string_view line = text.substr(start, end - start);
        // Leading blanks mean nothing to the parser, and a byte-order mark inside
        // the file (files joined together) is not part of a key: both go.
        const std::string_view content = WithoutLeadingMarksAndBlanks(line);
        if (!content.empty() && content.front() == '[' && content.find(']') == std::string_view::npos) out += "; ";
        out += content;
        if (end < text.size()) out += text[end] == '\0' ? '\n' : text[end];
        start = end + 1;
    }
    return out;
}

void SettingsStore::AddMissingDefaults() {
    for (const auto& key : kKeys) {
        if (Has(key.name)) continue;
        const std::string comment = std::string("; ") + key.comment;
        m_impl->ini.SetValue(kSettingsSection, key.name, DefaultText(key).c_str(), comment.c_str());
    }
}

std::string SettingsStore::DefaultText(const SettingKey& key) const {
    for (const auto& [name, text] : m_localDefaults)
        if (name == key.name) return text;
    return key.defaultText;
}

std::string SettingsStore::Serialize() const {
    std::string text;
    m_impl->ini.Save(text);
    // Written with CRLF so that every Windows editor shows one line per key.
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n' && (crlf.empty() || crlf.back() != '\r')) crlf += '\r';
        crlf += c;
    }
    return crlf;
}

const char* SettingsStore::RawValue(std::string_view key) const {
    const std::string name(key);
    if (const char* value = m_impl->ini.GetValue(kSettingsSection, name.c_str(), nullptr)) return value;
    return m_impl->ini.GetValue(kLooseSection, name.c_str(), nullptr);
}

bool SettingsStore::Has(std::string_view key) const { return RawValue(key) != nullptr; }

bool SettingsStore::GetBool(std::string_view key) const {
    const SettingKey* known = FindSettingKey(key);
    bool value = false;
    if (const char* raw = RawValue(key); raw && ParseStoredBool(raw, value)) return value;
    return known && ParseStoredBool(known->defaultText, value) && value;
}

int32_t SettingsStore::GetInt(std::string_view key) const {
    const SettingKey* known = FindSettingKey(key);
    int32_t value = 0;
    if (const char* raw = RawValue(key); raw && ParseStoredInt(raw, value)) return value;
    if (known && ParseStoredInt(known->defaultText, value)) return value;
    return 0;
}

std::string SettingsStore::GetText(std::string_view key) const {
    if (const char* raw = RawValue(key)) return raw;
    const SettingKey* known = FindSettingKey(key);
    return known ? DefaultText(*known) : "";
}

void SettingsStore::SetRaw(std::string_view key, const std::string& value) {
    const std::string name(key);
    // A key the user wrote before any header stays where it is.
    const bool loose = !m_impl->ini.GetValue(kSettingsSection, name.c_str(), nullptr) &&
                       m_impl->ini.GetValue(kLooseSection, name.c_str(), nullptr);
    m_impl->ini.SetValue(loose ? kLooseSection : kSettingsSection, name.c_str(), value.c_str());
}

void SettingsStore::SetBool(std::string_view key, bool value) { SetRaw(key, value ? "1" : "0"); }
void SettingsStore::SetInt(std::string_view key, int32_t value) { SetRaw(key, std::to_string(value)); }
void SettingsStore::SetText(std::string_view key, std::string_view value) {
    std::string oneLine(value);
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    SetRaw(key, oneLine);
}

}  // namespace tallyglass
