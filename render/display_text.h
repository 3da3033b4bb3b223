#pragma once
#include <cstdint>
#include <string>

#include "countdown/countdown_model.h"

struct DisplayChoice {
    std::string text;  // UTF-8
    int32_t size = 0;  // em size in pixels
    uint32_t color = 0;  // ARGB
};

// h:mm:ss, m:ss or plain seconds; "0" for anything not positive. In the alert
// phase the alert text and one blank come in front of a positive time.
std::string FormatTimeText(int32_t seconds, bool inAlert, const std::string& alertText);

// Which text, size and colour the window shows for the model's current state.
DisplayChoice SelectDisplay(const CountdownModel& model);
