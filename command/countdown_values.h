#pragma once
// The seven values the new-countdown dialog edits, kept together so that they
// are copied into and out of the dialog as one value.
#include <cstdint>

namespace tallyglass {

struct CountdownValues {
    int32_t m_sizeNormal = 72;
    int32_t m_sizeAlert = 96;
    int32_t m_countdownSeconds = 600;
    int32_t m_alertSeconds = 60;
    int32_t m_noBackground = 0;
    int32_t m_alertCenter = 1;
    int32_t m_alertSound = 1;
};

}  // namespace tallyglass
