#pragma once
// Whether and where remote control listens, from the settings as typed: the
// window starts the network side only with a plan that is on.
#include <cstdint>
#include <string>

namespace tallyglass {

struct RemoteSettings {
    std::string mode;  // off, local or lan
    std::string bind;  // lan: the one address to listen on; empty: all
    int32_t port = 7360;
    std::string key;      // the control key; empty: made at the first start
    std::string viewKey;  // likewise
    bool oscFromAnywhere = false;
    std::string feedback;  // HOST:PORT for OSC state packets; empty: none
};

struct RemotePlan {
    bool on = false;
    std::string why;  // off although asked for: why, for About
    std::string address;
    uint16_t port = 0;
    std::string feedbackAddress;  // empty: no feedback
    uint16_t feedbackPort = 0;
};

RemotePlan PlanRemote(const RemoteSettings& settings);

}  // namespace tallyglass
