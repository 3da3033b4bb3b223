#pragma once
// What one frame of the clock shows, from its state and the monitor's DPI.
#include <cstdint>

#include "clock/countdown_model.h"
#include "render/frame_win.h"

namespace tallyglass {

// The size is the model's window size; the margin follows the font size used. The
// message's lines are not among it: the view fits them at a layout and adds them.
FrameContent ClockFrame(const CountdownModel& model, uint32_t dpi, PixelSize cap);

}  // namespace tallyglass
