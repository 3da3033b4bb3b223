#include "clock/settings_binding.h"

#include <algorithm>

#include "base/text_scan.h"
#include "clock/cue_list.h"
#include "clock/field_values.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

namespace tallyglass {

namespace {
namespace k = setting_keys;
using M = CountdownModel;

constexpr SettingBinding Flag(const char* key, int32_t M::*field, WriteRule write = WriteRule::Always) {
    return {key, FieldKind::Bool, field, nullptr, nullptr, nullptr, write};
}
constexpr SettingBinding Number(const char* key, int32_t M::*field, int32_t (*correct)(int32_t), WriteRule write) {
    return {key, FieldKind::Int, field, nullptr, nullptr, correct, write};
}
constexpr SettingBinding Text(const char* key, std::string M::*field) {
    return {key, FieldKind::Text, nullptr, field, nullptr, nullptr, WriteRule::Never};
}
constexpr SettingBinding Colour(const char* key, uint32_t M::*field) {
    return {key, FieldKind::Color, nullptr, nullptr, field, nullptr, WriteRule::Never};
}

// A stored length that is not positive would never end, and a tiny font cannot
// be read: both are corrected as the dialog corrects them.
const std::vector<SettingBinding> kBindings{
    Flag(k::kNoBackground, &M::m_noBackground),
    Flag(k::kAlertSound, &M::m_alertSound),
    Flag(k::kAlertCenter, &M::m_alertCenter),
    Text(k::kFontName, &M::m_fontName),
    Number(k::kSizeNormal, &M::m_sizeNormal, &CorrectFontSize, WriteRule::Always),
    Number(k::kSizeAlert, &M::m_sizeAlert, &CorrectFontSize, WriteRule::Always),
    Number(k::kSizeTitle, &M::m_sizeTitle, &CorrectFontSize, WriteRule::Never),
    Colour(k::kColorNormal, &M::m_colorNormal),
    Colour(k::kColorAlert, &M::m_colorAlert),
    Number(k::kCountdownSeconds, &M::m_countdownSeconds, &CorrectLength, WriteRule::Always),
    Number(k::kAlertSeconds, &M::m_alertSeconds, &CorrectLength, WriteRule::Always),
    Text(k::kAlertText, &M::m_alertText),
    Text(k::kTitle, &M::m_titleText),
    Number(k::kPosLeft, &M::m_posLeft, nullptr, WriteRule::WithPosition),
    Number(k::kPosTop, &M::m_posTop, nullptr, WriteRule::WithPosition),
    Number(k::kWarnSeconds, &M::m_warnSeconds, nullptr, WriteRule::Never),
    Colour(k::kColorWarn, &M::m_colorWarn),
    Flag(k::kOvertime, &M::m_overtime, WriteRule::Never),
    Flag(k::kAlertFlash, &M::m_alertFlash, WriteRule::Never),
    Number(k::kOpacity, &M::m_opacity, &CorrectOpacity, WriteRule::Never),
    Flag(k::kClickThrough, &M::m_clickThrough, WriteRule::Never),
    Flag(k::kHideFromCapture, &M::m_hideFromCapture, WriteRule::Never),
    Text(k::kMonitor, &M::m_monitorName),
    Text(k::kHotKeyStart, &M::m_hotKeyStart),
    Text(k::kHotKeyReset, &M::m_hotKeyReset),
    Text(k::kHotKeyPause, &M::m_hotKeyPause),
    Text(k::kHotKeyPlus, &M::m_hotKeyPlus),
    Text(k::kHotKeyMinus, &M::m_hotKeyMinus),
    Text(k::kHotKeyClickThrough, &M::m_hotKeyClickThrough),
    Text(k::kHotKeyNext, &M::m_hotKeyNext),
    Text(k::kHotKeyPrevious, &M::m_hotKeyPrevious),
    Text(k::kFace, &M::m_faceName),
    Flag(k::kIdleClock, &M::m_idleClock, WriteRule::Never),
    Text(k::kCues, &M::m_cueText),
    Flag(k::kShowAdvance, &M::m_showAdvance, WriteRule::Never),
    Text(k::kShowAutoStart, &M::m_showAutoStartText),
    Flag(k::kSchedule, &M::m_scheduleLine, WriteRule::Never),
    Text(k::kSlideShow, &M::m_slideShowText),
    Flag(k::kSlideNumber, &M::m_slideNumberLine, WriteRule::Never),
    Flag(k::kSlidePacing, &M::m_slidePacingLine, WriteRule::Never),
    Text(k::kMessagePresets, &M::m_messagePresetText),
};

void ReadOne(const SettingBinding& b, CountdownModel& model, const ConfigAccess& config) {
    switch (b.kind) {
        case FieldKind::Bool:
            model.*b.number = config.getConfigB(b.key);
            break;
        case FieldKind::Int: {
            const int32_t stored = config.getConfigInt(b.key);
            model.*b.number = b.correct ? b.correct(stored) : stored;
            break;
        }
        case FieldKind::Text:
            model.*b.text = config.getConfigStr(b.key);
            break;
        case FieldKind::Color:
            model.*b.color = config.getColor(config.getConfigStr(b.key), b.key);
            break;
    }
}

void WriteOne(const SettingBinding& b, const CountdownModel& model, ConfigAccess& config) {
    if (b.kind == FieldKind::Bool)
        config.saveConfigB(b.key, model.*b.number != 0);
    else if (b.kind == FieldKind::Int)
        config.saveConfigInt(b.key, model.*b.number);
}
}  // namespace

const std::vector<SettingBinding>& SettingBindings() { return kBindings; }

namespace {
void ReadDerived(CountdownModel& model) {
    // Any other word keeps the face every clock had before there was a choice.
    model.m_elapsedFace = EqualsNoCase(Trim(model.m_faceName), "elapsed");
    model.m_cues = ParseCueList(model.m_cueText);
    bool on = false;
    model.m_showAutoStart = EqualsNoCase(Trim(model.m_showAutoStartText), "schedule") ? kAutoStartOnSchedule
                            : ParseStoredBool(model.m_showAutoStartText, on) && on    ? kAutoStartNext
                                                                                      : 0;
    // Any other word leaves the slide show alone, as every clock did before it knew of one.
    const std::string_view slides = Trim(model.m_slideShowText);
    model.m_slideShowMode = EqualsNoCase(slides, "follow")  ? kSlidesFollow
                            : EqualsNoCase(slides, "start") ? kSlidesStart
                                                            : kSlidesOff;
}
}  // namespace

void ReadSettings(CountdownModel& model, const ConfigAccess& config) {
    for (const SettingBinding& binding : kBindings) ReadOne(binding, model, config);
    ReadDerived(model);
}

void ReadSettingKeys(CountdownModel& model, const ConfigAccess& config, const std::vector<std::string>& keys) {
    for (const SettingBinding& binding : kBindings)
        if (std::any_of(keys.begin(), keys.end(),
                        [&](const std::string& key) { return EqualsNoCase(key, binding.key); }))
            ReadOne(binding, model, config);
    ReadDerived(model);
}

bool PositionIsStored(const CountdownModel& model) { return model.m_remaining > model.m_alertSeconds; }

void WriteSettings(const CountdownModel& model, ConfigAccess& config) {
    if (PositionIsStored(model))
        for (const SettingBinding& binding : kBindings)
            if (binding.write == WriteRule::WithPosition) WriteOne(binding, model, config);
    for (const SettingBinding& binding : kBindings) {
        // With a run of show the length is the segment's: the stored one stays for a clock without.
        const bool segmentLength = binding.number == &M::m_countdownSeconds && !model.m_show.empty();
        if (binding.write == WriteRule::Always && !segmentLength) WriteOne(binding, model, config);
    }
}

}  // namespace tallyglass
