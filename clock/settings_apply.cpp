#include "clock/settings_apply.h"

#include "base/color.h"
#include "base/text_scan.h"
#include "clock/settings_binding.h"
#include "store/settings_store.h"

namespace tallyglass {

namespace {
// The changed keys' texts read by the file's own rules; a text that does not read
// gives the key's default, as the file would.
class ChangedKeys final : public ConfigAccess {
public:
    explicit ChangedKeys(const WrittenKeys& changed) : m_changed(changed) {}
    bool getConfigB(const char* key) const override {
        bool value = false;
        return ParseStoredBool(Text(key), value) ? value : ParseStoredBool(Default(key), value) && value;
    }
    int32_t getConfigInt(const char* key) const override {
        int32_t value = 0;
        return ParseStoredInt(Text(key), value) ? value : ParseStoredInt(Default(key), value) ? value : 0;
    }
    std::string getConfigStr(const char* key) const override { return Text(key); }
    uint32_t getColor(const std::string& text, const char* key) const override {
        if (const auto color = ParseColor(text)) return *color;
        return ParseColor(Default(key)).value_or(0xFF000000);
    }
    void saveConfigB(const char*, bool) override {}
    void saveConfigInt(const char*, int32_t) override {}

private:
    std::string Text(const char* key) const {
        for (const auto& [name, text] : m_changed)
            if (EqualsNoCase(name, key)) return text;
        return Default(key);
    }
    static std::string Default(const char* key) {
        const SettingKey* known = FindSettingKey(key);
        return known ? known->defaultText : "";
    }
    const WrittenKeys& m_changed;
};

bool StartsWith(const std::string& key, std::string_view start) {
    return key.size() >= start.size() && EqualsNoCase(std::string_view(key).substr(0, start.size()), start);
}

uint32_t RedoFor(const std::string& key) {
    if (StartsWith(key, "hotkey")) return EngineEffects::kRedoHotKeys;
    if (StartsWith(key, "remote")) return EngineEffects::kRedoRemote;
    if (EqualsNoCase(key, "opacity") || EqualsNoCase(key, "clickthrough") || EqualsNoCase(key, "hidefromcapture"))
        return EngineEffects::kRedoWindow;
    if (EqualsNoCase(key, "monitor")) return EngineEffects::kRedoMonitor;
    if (EqualsNoCase(key, "slideshow")) return EngineEffects::kRedoSlides;
    if (EqualsNoCase(key, "idleclock")) return EngineEffects::kRedoMinuteTimer;  // the time of day turns each minute
    return 0;
}

void TakeShow(CountdownModel& model, const std::vector<ShowSegment>& show) {
    model.m_show = show;
    // What the old plan said is not carried over; a new plan says its own at the next second.
    model.m_scheduleOffset.reset();
    model.m_nextLateToStart = 0;
    model.m_lateToStart = 0;
    if (model.m_show.empty()) {
        model.m_segment = 0;
        return;
    }
    const auto last = static_cast<int32_t>(model.m_show.size()) - 1;
    model.m_segment = model.m_segment > last ? last : model.m_segment;
    if (model.m_running) return;
    model.m_countdownSeconds = model.m_show[static_cast<size_t>(model.m_segment)].seconds;
    model.m_remaining = model.m_countdownSeconds;
}
}  // namespace

EngineEffects ApplySettings(CountdownModel& model, const WrittenKeys& changed,
                            const std::optional<std::vector<ShowSegment>>& show) {
    EngineEffects fx;
    std::vector<std::string> keys;
    for (const auto& [key, text] : changed) {
        keys.push_back(key);
        fx.redo |= RedoFor(key);
    }
    ReadSettingKeys(model, ChangedKeys(changed), keys);
    if (fx.redo & EngineEffects::kRedoSlides) {
        // A new watcher, or none: nothing seen by the old one is kept.
        model.m_slideShow = {};
        model.m_slideDeck = {};
        model.m_slideShowAway = model.m_pausedBySlides = model.m_slideShowLost = 0;
    }
    if (show) {
        TakeShow(model, *show);
        fx.redo |= EngineEffects::kRedoSchedule;  // a plan may have come or gone
    }
    // Every change may change the text's size or colour: laid out again where the clock stands.
    if (!changed.empty() || show) fx.Ask(EngineEffects::Picture::LayoutInPlace);
    return fx;
}

}  // namespace tallyglass
