#pragma once
// What the server's files share: Asio's and Beast's names, the limits, the server's state
// (RemoteServer::Impl) and the parts every session holds. Only the server's own files
// include it; the rest of the clock sees remote_server.h.
#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "remote/remote_server.h"

namespace tallyglass {

namespace server {
namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;
using udp = net::ip::udp;
using error_code = boost::system::error_code;
using Text = std::shared_ptr<const std::string>;  // one buffer, read by every viewer it goes to

inline constexpr size_t kMaxConnections = 64;
// The last slots only for connections that present the control key: viewers cannot crowd it out.
inline constexpr size_t kControlSlots = 8;
// Per address other than this PC's own, where every local program shares 127.0.0.1.
inline constexpr size_t kMaxPerAddress = 16;
inline constexpr auto kSilence = std::chrono::seconds(10);
inline constexpr size_t kHeaderLimit = 16 * 1024;
inline constexpr size_t kBodyLimit = 64 * 1024;
// The read buffer holds one header block and a little more; bodies go straight into the request.
inline constexpr size_t kReadBufferLimit = kHeaderLimit + 4096;
// Bytes one connection may send over its life before it is closed after its answer.
inline constexpr uint64_t kByteBudget = 1024 * 1024;
// Messages a WebSocket client may fall behind by before it is dropped as too slow.
inline constexpr size_t kMaxQueued = 16;
inline constexpr uint32_t kOscPerSecond = 50;  // orders per sender; the rest are dropped
inline constexpr size_t kMaxOscSenders = 4096;
inline constexpr auto kStopWait = std::chrono::milliseconds(500);
inline constexpr auto kSummaryEvery = std::chrono::minutes(1);
// A page that hears nothing for three seconds says the clock is offline: an idle clock
// sends nothing else for minutes.
inline constexpr auto kKeepAliveEvery = std::chrono::seconds(1);

inline uint64_t SteadyMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Orders from one sender in the current second; a bounded table.
class OscRate {
public:
    bool Take(const std::string& sender, uint64_t nowMs) {
        if (m_senders.size() >= kMaxOscSenders && !m_senders.count(sender))
            for (auto it = m_senders.begin(); it != m_senders.end();)
                it = nowMs - it->second.secondStartMs >= 1000 ? m_senders.erase(it) : std::next(it);
        if (m_senders.size() >= kMaxOscSenders && !m_senders.count(sender)) return false;
        Sender& record = m_senders[sender];
        if (nowMs - record.secondStartMs >= 1000) record = {nowMs, 0};
        return ++record.orders <= kOscPerSecond;
    }

private:
    struct Sender {
        uint64_t secondStartMs = 0;
        uint32_t orders = 0;
    };
    std::unordered_map<std::string, Sender> m_senders;
};

// What was refused since the last line in the log.
struct Refusals {
    unsigned wrongKey = 0, lockedOut = 0, slots = 0, foreign = 0, busy = 0, late = 0, oscDropped = 0;
    std::string Line() const {
        std::string line;
        const auto add = [&line](unsigned count, const char* what) {
            if (count) line += (line.empty() ? "" : ", ") + std::to_string(count) + " " + what;
        };
        add(wrongKey, "wrong keys");
        add(lockedOut, "refused as locked out");
        add(slots, "connections refused for want of a slot");
        add(foreign, "refused for their Host or Origin");
        add(busy, "orders refused while the clock's queue was full");
        add(late, "answers the clock gave too late");
        add(oscDropped, "OSC orders over the rate dropped");
        return line.empty() ? line : "refused: " + line;
    }
};

class HttpSession;
class WebSocketSession;

// Any connection, so that Stop can reach every one.
class Session {
public:
    virtual ~Session() = default;
    virtual void GoAway() = 0;  // at Stop: a WebSocket says why, a request just ends
    virtual void Close() = 0;   // now, whatever it was doing
};

// A session that handed an order up with an answer id and waits for the clock's answer.
class AnswerWaiter {
public:
    virtual ~AnswerWaiter() = default;
    // state: none when the clock did not answer in time.
    virtual void Answered(uint64_t id, const SnapshotPtr& state, bool changed) = 0;
};
}  // namespace server

// Only the network thread touches these members, so they need no lock: the sessions join
// and leave their lists themselves.
struct RemoteServer::Impl {
    Impl(RemoteConfig c, OrderSink s);

    RemoteConfig config;
    OrderSink sink;
    LockOut lockOut;
    server::OscRate oscRate;
    server::Refusals refused;
    SnapshotPtr latest = std::make_shared<ClockSnapshot>();
    size_t connections = 0;
    std::unordered_map<std::string, size_t> perAddress;
    std::unordered_set<server::Session*> sessions;
    std::unordered_set<server::WebSocketSession*> viewers;
    std::unordered_map<uint64_t, std::weak_ptr<server::AnswerWaiter>> waiting;  // by answer id
    uint64_t nextAnswerId = 1;
    bool stopping = false, draining = false;
    size_t closing = 0;  // close frames not yet sent at Stop
    uint16_t port = 0;
    std::optional<server::udp::endpoint> feedback;
    server::udp::endpoint oscSender;
    std::vector<uint8_t> oscBuffer = std::vector<uint8_t>(65536);
    server::net::io_context ioc{1};
    server::tcp::acceptor acceptor{ioc};
    server::udp::socket osc{ioc};
    server::net::steady_timer retryAccept{ioc}, summary{ioc}, stopWait{ioc}, keepAlive{ioc};
    std::thread thread;

    void Accept();
    void Admit(server::tcp::socket socket);
    void ReceiveOsc();
    void OnOsc(const std::vector<uint8_t>& datagram, const server::udp::endpoint& sender);
    void Broadcast(const SnapshotPtr& snapshot);
    void Deliver(uint64_t id, SnapshotPtr state, bool changed);
    void Summarize();
    void ArmSummary();
    void ArmKeepAlive();
    void GoAway();
    void Closed() {
        if (--closing == 0 && !draining) ioc.stop();
    }
    void Drain();
    void Log(const std::string& line) {
        try {
            if (config.log) config.log(line);
        } catch (...) {  // a log that cannot be written loses its line, never the server
        }
    }
    bool Order(const ClockCommand& command, uint64_t answerId) { return sink && sink(command, answerId); }
};

namespace server {
using Shared = RemoteServer::Impl;

// One of the 64 connections, given back when its session ends (on the network thread).
class ConnectionSlot {
public:
    ConnectionSlot(Shared& shared, std::string address) : m_shared(&shared), m_address(std::move(address)) {
        ++shared.connections;
        ++shared.perAddress[m_address];
    }
    ConnectionSlot(ConnectionSlot&& other) noexcept
        : m_shared(std::exchange(other.m_shared, nullptr)), m_address(std::move(other.m_address)) {}
    ConnectionSlot& operator=(ConnectionSlot&&) = delete;
    ~ConnectionSlot() {
        if (!m_shared) return;
        --m_shared->connections;
        if (--m_shared->perAddress[m_address] == 0) m_shared->perAddress.erase(m_address);
    }

private:
    Shared* m_shared;
    std::string m_address;
};

template <class Response>
void CommonHeaders(Response& response) {
    response.set(http::field::server, "Tallyglass");
    response.set("Referrer-Policy", "no-referrer");
    response.set("X-Content-Type-Options", "nosniff");
}
}  // namespace server

}  // namespace tallyglass
