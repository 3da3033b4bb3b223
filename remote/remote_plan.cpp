#include "remote/remote_plan.h"

#include <charconv>

#include "remote/access_keys.h"

namespace tallyglass {

namespace {
RemotePlan Off(std::string why) {
    RemotePlan plan;
    plan.why = std::move(why);
    return plan;
}

bool ParsePort(std::string_view text, uint16_t& port) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}
}  // namespace

RemotePlan PlanRemote(const RemoteSettings& s) {
    if (s.mode.empty() || s.mode == "off") return {};
    if (s.mode != "local" && s.mode != "lan") return Off("remote=" + s.mode + " is none of off, local and lan");
    if (s.port < 1 || s.port > 65535)
        return Off("remoteport=" + std::to_string(s.port) + " is not a port (1 to 65535)");
    if (!s.key.empty() && s.key.size() < kMinKeyLength)
        return Off("remotekey is shorter than " + std::to_string(kMinKeyLength) + " characters");
    RemotePlan plan;
    plan.on = true;
    plan.address = s.mode == "local" ? "127.0.0.1" : s.bind.empty() ? "0.0.0.0" : s.bind;
    plan.port = static_cast<uint16_t>(s.port);
    if (s.feedback.empty()) return plan;
    const size_t colon = s.feedback.rfind(':');
    if (colon == std::string::npos || colon == 0 ||
        !ParsePort(std::string_view(s.feedback).substr(colon + 1), plan.feedbackPort))
        return Off("remotefeedback=" + s.feedback + " is not HOST:PORT");
    plan.feedbackAddress = s.feedback.substr(0, colon);
    if (plan.feedbackAddress == "localhost") plan.feedbackAddress = "127.0.0.1";
    return plan;
}

}  // namespace tallyglass
