#pragma once
// The network side of remote control: HTTP, WebSocket and OSC on one thread of
// its own with one io_context. It never touches the clock: orders go up through
// a callback, and it serves the snapshots it is handed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "command/clock_command.h"
#include "remote/access_keys.h"
#include "remote/state_json.h"

namespace tallyglass {

struct RemoteConfig {
    std::string address = "127.0.0.1";  // the IPv4 address to listen on
    uint16_t port = 7360;               // TCP for HTTP and WebSocket, UDP for OSC
    AccessKeys keys;
    bool oscFromAnywhere = false;  // else OSC only from this machine
    std::string feedbackAddress;   // empty: no feedback packets
    uint16_t feedbackPort = 0;
    std::string controlPage;  // HTML
    std::string viewPage;
};

using SnapshotPtr = std::shared_ptr<const ClockSnapshot>;
// Called on the network thread. The clock applies the order on its own thread and
// then calls answer, on that thread, with the state after it; answer may be empty.
using OrderSink = std::function<void(const tallyglass::ClockCommand& command, std::function<void(SnapshotPtr)> answer)>;

class RemoteServer {
public:
    RemoteServer(RemoteConfig config, OrderSink sink);
    ~RemoteServer();
    RemoteServer(const RemoteServer&) = delete;
    RemoteServer& operator=(const RemoteServer&) = delete;

    // Binds both ports and starts the thread: empty when listening, else why not.
    std::string Start();
    // From any thread: the state now, for every reader and every WebSocket.
    void Publish(SnapshotPtr snapshot);
    // Stops the thread and closes every connection; also at destruction.
    void Stop();

    struct Impl;  // named by the sessions in the .cpp

private:
    std::shared_ptr<Impl> m_impl;
};

}  // namespace tallyglass
