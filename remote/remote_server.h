#pragma once
// The network side of remote control: HTTP, WebSocket and OSC on one thread of
// its own with one io_context. It never touches the clock: orders go up through
// a callback with an id, the clock answers the id later, and it serves the
// snapshots it is handed. Every session lives and ends on the network thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "command/clock_command.h"
#include "remote/access_keys.h"
#include "remote/state_json.h"

namespace tallyglass {

struct RemoteConfig {
    std::string address = "127.0.0.1";  // the IPv4 address to listen on
    uint16_t port = 7360;               // TCP for HTTP and WebSocket, UDP for OSC; 0: any free one
    AccessKeys keys;
    bool oscFromAnywhere = false;  // else OSC only from this machine
    std::string feedbackAddress;   // empty: no feedback packets
    uint16_t feedbackPort = 0;
    // Names the clock answers to besides localhost, 127.0.0.1 and the address a
    // connection came in on: a Host header naming anything else is refused.
    std::vector<std::string> hostNames;
    std::string controlPage;  // HTML
    std::string viewPage;
    std::string overlayPage;                   // the clock's text alone, for a streaming program's browser source
    std::string language = "en";               // en or zh: the pages' lang, and the key page's words
    std::map<std::string, std::string> files;  // the pages' scripts and styles by name, under /files/
    // One line for each failure and a count of refusals now and then, on the network thread.
    std::function<void(const std::string& line)> log;
    std::chrono::milliseconds answerWait{2000};  // then an order's answer is 503
    std::chrono::milliseconds keyWait{2000};     // for a connection's first request with a valid key
    // The day's report from the run log, for the running order given; none: 404.
    std::function<std::string(const std::vector<ShowSegment>& show)> report;
    // The wall clock in Unix ms, for the keep-alive each socket gets every second; none: sent without it.
    std::function<int64_t()> unixNowMs;
};

using SnapshotPtr = std::shared_ptr<const ClockSnapshot>;
// Called on the network thread: false when the clock cannot take the order now (it is
// refused). With an answerId other than 0 the clock answers it later with Answer.
using OrderSink = std::function<bool(const ClockCommand& command, uint64_t answerId)>;

class RemoteServer {
public:
    RemoteServer(RemoteConfig config, OrderSink sink);
    ~RemoteServer();
    RemoteServer(const RemoteServer&) = delete;
    RemoteServer& operator=(const RemoteServer&) = delete;

    // Binds both ports and starts the thread: empty when listening, else why not.
    std::string Start();
    uint16_t Port() const;  // the one bound
    // From any thread: the state now, for every reader and every WebSocket.
    void Publish(SnapshotPtr snapshot);
    // From any thread: the state after the order given answerId, and whether the order
    // changed anything. An id answered late or twice is ignored.
    void Answer(uint64_t answerId, SnapshotPtr state, bool changed);
    // Tells every WebSocket the clock is going away (close 1001), waits up to half a
    // second for that to be sent, and stops the thread; also at destruction.
    void Stop();

    struct Impl;  // defined in server_parts.h, for the sessions

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tallyglass
