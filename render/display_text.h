#pragma once
#include <cstdint>
#include <string>

// h:mm:ss, m:ss or plain seconds; "0" for anything not positive. In the alert
// phase the alert text and one blank come in front of a positive time.
std::string FormatTimeText(int32_t seconds, bool inAlert, const std::string& alertText);
