#pragma once
#include <cstdint>
#include <string>

#include "countdown/countdown_model.h"

struct DisplayChoice {
    std::string text;    // UTF-8
    int32_t size = 0;    // em size in pixels
    uint32_t color = 0;  // ARGB
};

// Which text, size and colour the window shows for the model's current state.
DisplayChoice SelectDisplay(const CountdownModel& model);
