#pragma once
// Which settings key feeds which field of the clock, how a stored value is
// corrected, and which keys are written back at exit.
#include <string>
#include <vector>

#include "clock/countdown_model.h"
#include "store/config_access.h"

namespace tallyglass {

enum class FieldKind { Bool, Int, Text, Color };

// Never: the key is the user's to edit; the clock only reads it.
// WithPosition: written only while the window's position is worth keeping.
enum class WriteRule { Never, Always, WithPosition };

struct SettingBinding {
    const char* key;
    FieldKind kind;
    int32_t CountdownModel::*number;    // Bool and Int
    std::string CountdownModel::*text;  // Text
    uint32_t CountdownModel::*color;    // Color
    int32_t (*correct)(int32_t);        // Int; null keeps the stored value
    WriteRule write;
};

// In reading order.
const std::vector<SettingBinding>& SettingBindings();

void ReadSettings(CountdownModel& model, const ConfigAccess& config);
// Only the fields of the keys named (any case), and what follows from them (the face, the cues).
void ReadSettingKeys(CountdownModel& model, const ConfigAccess& config, const std::vector<std::string>& keys);

// The position is kept only while more than the alert length remains: in the
// alert phase the window may stand at the centre, where the user did not put it.
bool PositionIsStored(const CountdownModel& model);

// The position keys first (when they are stored), then the other writable keys.
void WriteSettings(const CountdownModel& model, ConfigAccess& config);

}  // namespace tallyglass
