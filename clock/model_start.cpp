#include "clock/model_start.h"

#include <utility>

namespace tallyglass {

void PrepareForStart(CountdownModel& model, std::vector<ShowSegment> show, bool clock12Hour, int32_t localSecondOfDay) {
    model.m_show = std::move(show);
    if (!model.m_show.empty()) model.m_countdownSeconds = model.m_show.front().seconds;
    if (model.m_idleClock) {
        model.m_clock12Hour = clock12Hour;
        model.m_localMinute = localSecondOfDay / 60;
    }
    model.m_remaining = model.m_countdownSeconds;
    model.m_running = 0;
    model.m_inAlert = 0;
}

}  // namespace tallyglass
