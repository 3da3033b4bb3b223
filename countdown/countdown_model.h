#pragma once
// The countdown window's settings and engine state, kept apart from any window
// so that the engine, the display selection and the settings table can be
// tested natively.
#include <cstdint>
#include <string>

#include "settings/countdown_values.h"

// A timer id that means "no timer runs"; the multimedia timer never hands it out.
constexpr uint32_t kNoTimer = 0;

struct CountdownModel : CountdownValues {
    std::string m_fontName;   // UTF-8
    std::string m_alertText;  // UTF-8
    std::string m_titleText;  // UTF-8
    std::string m_message;    // UTF-8: the message to the presenter, from the network; empty for none

    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_sizeTitle = 48;
    int32_t m_inAlert = 0;
    int32_t m_posLeft = 0;
    int32_t m_posTop = 0;
    int32_t m_remaining = 600;
    uint32_t m_colorNormal = 0xFF000000;
    uint32_t m_colorAlert = 0xFF000000;
    int32_t m_margin = 0;
    // Where the layout put the time and the message's line while there is a message.
    int32_t m_textX = 0;
    int32_t m_messageX = 0;
    int32_t m_messageY = 0;
    int32_t m_running = 0;
    uint32_t m_timerId = kNoTimer;

    // Phases beyond the alert; each is off at its default.
    int32_t m_warnSeconds = 0;  // > 0: the time is drawn in m_colorWarn from this many seconds left
    uint32_t m_colorWarn = 0xFFFFC000;
    int32_t m_overtime = 0;    // 1: the alert counts up how long the time is over, until F4
    int32_t m_alertFlash = 0;  // 1: the alert's text dims every other second

    // How the window sits among others; each is off at its default.
    int32_t m_opacity = 100;        // percent of every frame's constant alpha
    int32_t m_clickThrough = 0;     // 1: clicks go to the window below
    int32_t m_hideFromCapture = 0;  // 1: kept out of screen capture where the system can

    // Pause keeps the part of the second already spent, so that no second is
    // gained or lost: the ticks since the anchor fall on anchor + k x 1000 ms.
    int32_t m_paused = 0;
    uint32_t m_anchorMs = 0;  // the host's milliseconds when the current run of seconds began
    uint32_t m_ticksSinceAnchor = 0;
    uint32_t m_spentMs = 0;      // while paused: milliseconds of the current second already counted
    int32_t m_oneShotTimer = 0;  // 1: m_timerId is the one-shot timer for the rest of a resumed second

    // Hot-key texts such as "Ctrl+Alt+F2"; empty: that hot key is off.
    std::string m_hotKeyStart;
    std::string m_hotKeyReset;
    std::string m_hotKeyPause;
    std::string m_hotKeyPlus;
    std::string m_hotKeyMinus;
    std::string m_hotKeyClickThrough;  // the way back to the menu when clicks pass through
};
