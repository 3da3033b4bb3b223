#include "settings/settings_fields.h"

#include <algorithm>
#include <charconv>

#include "base/color.h"
#include "base/duration_text.h"
#include "base/text_scan.h"
#include "command/hot_key_text.h"
#include "store/setting_keys.h"

namespace tallyglass {

namespace {
namespace k = setting_keys;
using C = FieldControl;
using P = SettingsPage;

const std::vector<SettingsField> kFields{
    {k::kFontName, C::FontFamily, P::Clock, "Font", "字体"},
    {k::kSizeNormal, C::Number, P::Clock, "Size while counting", "倒计时字号"},
    {k::kSizeAlert, C::Number, P::Clock, "Size of the alert", "提醒字号"},
    {k::kSizeTitle, C::Number, P::Clock, "Size of the idle title", "标题字号"},
    {k::kColorNormal, C::Colour, P::Clock, "Colour while counting", "倒计时颜色"},
    {k::kColorWarn, C::Colour, P::Clock, "Colour of the warning", "警告颜色"},
    {k::kColorAlert, C::Colour, P::Clock, "Colour of the alert", "提醒颜色"},
    {k::kNoBackground, C::Check, P::Clock, "No background: only the glyphs", "无背景：只显示文字"},
    {k::kOpacity, C::Number, P::Clock, "Opacity (10 to 100 %)", "不透明度（10–100%）"},
    {k::kFace, C::Face, P::Clock, "The count shows", "显示方式"},
    {k::kIdleClock, C::Check, P::Clock, "Idle: show the time of day", "空闲时显示当前时间"},
    {k::kTitle, C::Text, P::Clock, "Idle title", "空闲标题"},
    {k::kAlertText, C::Text, P::Clock, "Alert text", "提醒文字"},
    {k::kWarnSeconds, C::Number, P::Clock, "Warning at (s left)", "警告开始（剩余秒）"},
    {k::kOvertime, C::Check, P::Clock, "Count the overtime", "计算超时"},
    {k::kAlertFlash, C::Check, P::Clock, "Flash the alert", "提醒闪烁"},
    {k::kAlertCenter, C::Check, P::Clock, "Centre the alert", "提醒居中"},
    {k::kAlertSound, C::Check, P::Clock, "Sound at the alert", "提醒声音"},
    {k::kCues, C::Text, P::Clock, "Cues (5m, 1m)", "结束前提示"},
    {k::kHotKeyStart, C::HotKey, P::Keys, "Start", "开始"},
    {k::kHotKeyPause, C::HotKey, P::Keys, "Pause or resume", "暂停或继续"},
    {k::kHotKeyReset, C::HotKey, P::Keys, "Reset", "重置"},
    {k::kHotKeyPlus, C::HotKey, P::Keys, "A minute more", "加一分钟"},
    {k::kHotKeyMinus, C::HotKey, P::Keys, "A minute less", "减一分钟"},
    {k::kHotKeyNext, C::HotKey, P::Keys, "Next segment", "下一环节"},
    {k::kHotKeyPrevious, C::HotKey, P::Keys, "Previous segment", "上一环节"},
    {k::kHotKeyClickThrough, C::HotKey, P::Keys, "Click-through on and off", "鼠标穿透开关"},
    {k::kRemote, C::RemoteMode, P::Remote, "Remote control", "远程控制"},
    {k::kRemoteBind, C::Address, P::Remote, "Address", "地址"},
    {k::kRemotePort, C::Number, P::Remote, "Port", "端口"},
    {k::kRemoteKey, C::Text, P::Remote, "Control key", "控制密钥"},
    {k::kRemoteViewKey, C::Text, P::Remote, "View key", "查看密钥"},
    {k::kRemoteOsc, C::Check, P::Remote, "OSC from other computers", "接受其他电脑的 OSC"},
    {k::kRemoteFeedback, C::Text, P::Remote, "Feedback to (host:port)", "反馈地址（主机:端口）"},
    {k::kMessagePresets, C::Text, P::Remote, "Ready messages (a|b|c)", "预设消息（a|b|c）"},
    {k::kShowAdvance, C::Check, P::Show, "At a segment's end, move to the next", "环节结束后进入下一环节"},
    {k::kShowAutoStart, C::AutoStart, P::Show, "Start the next", "开始下一环节"},
    {k::kSchedule, C::Check, P::Show, "Show ahead or behind schedule", "显示比计划提前或落后"},
    {k::kSlideShow, C::SlideShow, P::Show, "With a slide show", "跟随幻灯片放映"},
    {k::kSlideNumber, C::Check, P::Show, "Show the slide's number", "显示幻灯片编号"},
    {k::kSlidePacing, C::Check, P::Show, "Show the pace by the slides' budgets", "按幻灯片时间预算显示进度"},
    {k::kMonitor, C::Monitor, P::Screen, "Monitor", "显示器"},
    {k::kHideFromCapture, C::Check, P::Screen, "Hide from screen capture", "不被截屏和录屏捕获"},
    {k::kClickThrough, C::Check, P::Screen, "Clicks pass through the clock", "鼠标点击穿透时钟"},
};

struct Words {
    const char* english;
    const char* chinese;
};

constexpr Words kWords[] = {
    {"Settings", "设置"},
    {"Clock", "时钟"},
    {"Keys", "快捷键"},
    {"Remote", "远程"},
    {"Run of show", "流程"},
    {"Screen", "屏幕"},
    {"Clear", "清除"},
    {"taken by another program", "已被其他程序占用"},
    {"New key", "新密钥"},
    {"Copy", "复制"},
    {"Control link", "控制链接"},
    {"View link", "查看链接"},
    {"Add", "添加"},
    {"Update", "更新"},
    {"Remove", "删除"},
    {"Up", "上移"},
    {"Down", "下移"},
    {"Import…", "导入…"},
    {"Spreadsheet text (CSV, tab-separated)", "表格文本（CSV、制表符分隔）"},
    {"New day", "新的一天"},
    {"A new run log begins; the last one is kept as TallyglassCountdown-log.old.csv.",
     "新的运行日志已开始；上一份保存为 TallyglassCountdown-log.old.csv。"},
    {"The run log could not be set aside: its folder is read-only or the file is in use.",
     "无法另存运行日志：所在文件夹只读或文件正被使用。"},
    {"Name", "名称"},
    {"Length", "时长"},
    {"Start", "开始于"},
    {"Choose…", "选择…"},
    {"Remote control is off: choose this PC only or the local network, then Apply.",
     "远程控制已关闭：选择“仅本机”或“局域网”，然后点“应用”。"},
    {"Where it was", "上次的位置"},
    {"Primary", "主显示器"},
    {"All of this PC's", "本机全部地址"},
    {"OK", "确定"},
    {"Cancel", "取消"},
    {"Apply", "应用"},
};
static_assert(sizeof kWords / sizeof kWords[0] == static_cast<size_t>(SettingsWord::Count));

constexpr Words kProblems[] = {
    {"", ""},
    {"Type a whole number.", "请输入整数。"},
    {"A port is a number from 1 to 65535.", "端口应为 1 到 65535 之间的数字。"},
    {"A key has at least 8 characters, letters and digits.", "密钥至少 8 个字符，只含字母和数字。"},
    {"The control key and the view key must differ.", "控制密钥和查看密钥不能相同。"},
    {"That is not one of this PC's addresses.", "这不是本机的地址。"},
    {"Type an address and a port, as 192.168.1.20:12321.", "请输入地址和端口，例如 192.168.1.20:12321。"},
    {"Type a length, as 90, 45s, 20m, 1h30m or 1:30.", "请输入时长，例如 90、45s、20m、1h30m 或 1:30。"},
    {"Type a time of day, as 09:30, or nothing.", "请输入时刻，例如 09:30，或留空。"},
    {"Choose a colour.", "请选择颜色。"},
    {"A hot key needs Ctrl, Alt, Shift or Win with a key.", "快捷键需要 Ctrl、Alt、Shift 或 Win 加一个键。"},
    {"A segment needs a name.", "环节需要名称。"},
    {"A name has at most 80 characters.", "名称最多 80 个字符。"},
    {"A name cannot hold = or [, nor start with ; or #.", "名称不能包含 = 或 [，也不能以 ; 或 # 开头。"},
};

const char* In(const Words& words, UiLanguage language) {
    return language == UiLanguage::Chinese ? words.chinese : words.english;
}

std::optional<int64_t> WholeNumber(std::string_view text) {
    text = Trim(text);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool IsKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// HOST:PORT with an IPv4 address or localhost, as the feedback setting reads it.
bool IsHostAndPort(std::string_view text) {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return false;
    const auto port = WholeNumber(text.substr(colon + 1));
    const std::string_view host = text.substr(0, colon);
    if (!port || *port < 1 || *port > 65535) return false;
    if (EqualsNoCase(host, "localhost")) return true;
    int parts = 0;
    for (size_t at = 0; at <= host.size(); ++parts) {
        const size_t dot = std::min(host.find('.', at), host.size());
        const auto number = WholeNumber(host.substr(at, dot - at));
        if (!number || *number < 0 || *number > 255 || dot - at > 3) return false;
        at = dot + 1;
    }
    return parts == 4;
}

SettingProblem CheckByControl(const SettingsField& field, std::string_view value) {
    switch (field.control) {
        case C::Number:
            return WholeNumber(value) ? SettingProblem::None : SettingProblem::NotANumber;
        case C::Colour:
            return ParseColor(value) ? SettingProblem::None : SettingProblem::NotAColour;
        case C::HotKey: {
            const HotKeyParse parsed = ParseHotKeyText(value).outcome;
            return parsed == HotKeyParse::Ok || parsed == HotKeyParse::Off ? SettingProblem::None
                                                                           : SettingProblem::NotAHotKey;
        }
        default:
            return SettingProblem::None;
    }
}
}  // namespace

const std::vector<SettingsField>& SettingsFields() { return kFields; }

const SettingsField* FindSettingsField(std::string_view key) {
    for (const SettingsField& field : kFields)
        if (EqualsNoCase(field.key, key)) return &field;
    return nullptr;
}

const char* WordOf(SettingsWord word, UiLanguage language) { return In(kWords[static_cast<size_t>(word)], language); }

const char* ProblemText(SettingProblem problem, UiLanguage language) {
    return In(kProblems[static_cast<size_t>(problem)], language);
}

SettingProblem CheckSetting(std::string_view key, std::string_view value,
                            const std::vector<std::string>& localAddresses) {
    const SettingsField* field = FindSettingsField(key);
    if (!field) return SettingProblem::None;
    if (const SettingProblem problem = CheckByControl(*field, value); problem != SettingProblem::None) return problem;
    if (EqualsNoCase(key, k::kRemotePort)) {
        const auto port = WholeNumber(value);
        return *port >= 1 && *port <= 65535 ? SettingProblem::None : SettingProblem::PortOutOfRange;
    }
    if (EqualsNoCase(key, k::kRemoteKey) || EqualsNoCase(key, k::kRemoteViewKey))
        return value.size() >= 8 && std::all_of(value.begin(), value.end(), IsKeyCharacter)
                   ? SettingProblem::None
                   : SettingProblem::KeyTooShort;
    if (EqualsNoCase(key, k::kRemoteBind))
        return value.empty() || std::find(localAddresses.begin(), localAddresses.end(), value) != localAddresses.end()
                   ? SettingProblem::None
                   : SettingProblem::NotThisPcsAddress;
    if (EqualsNoCase(key, k::kRemoteFeedback))
        return value.empty() || IsHostAndPort(value) ? SettingProblem::None : SettingProblem::NotAHostAndPort;
    return SettingProblem::None;
}

SettingProblem CheckSegmentName(std::string_view name) {
    switch (SegmentNameProblemOf(name)) {
        case SegmentNameProblem::Empty:
            return SettingProblem::NameEmpty;
        case SegmentNameProblem::TooLong:
            return SettingProblem::NameTooLong;
        case SegmentNameProblem::HasMark:
            return SettingProblem::NameHasMark;
        default:
            return SettingProblem::None;
    }
}

FoundProblem FirstProblem(const SettingsValues& values, const std::vector<std::string>& localAddresses) {
    for (const SettingsField& field : kFields) {
        const auto found = values.find(field.key);
        if (found == values.end()) continue;
        if (const SettingProblem problem = CheckSetting(field.key, found->second, localAddresses);
            problem != SettingProblem::None)
            return {field.key, problem};
    }
    const auto control = values.find(k::kRemoteKey), view = values.find(k::kRemoteViewKey);
    if (control != values.end() && view != values.end() && control->second == view->second)
        return {k::kRemoteViewKey, SettingProblem::KeysTheSame};
    return {};
}

std::vector<std::pair<std::string, std::string>> ChangedSettings(const SettingsValues& before,
                                                                 const SettingsValues& after) {
    std::vector<std::pair<std::string, std::string>> changed;
    for (const SettingsField& field : kFields) {
        const auto now = after.find(field.key);
        if (now == after.end()) continue;
        const auto was = before.find(field.key);
        if (was == before.end() || was->second != now->second) changed.emplace_back(field.key, now->second);
    }
    return changed;
}

}  // namespace tallyglass
