#pragma once
// The clock's end of remote control: starts the network side when the settings
// ask for it, hands its orders to the window thread through a posted message,
// and publishes the snapshots the window makes.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "remote/batch_queue.h"
#include "remote/remote_plan.h"
#include "remote/remote_server.h"
#include "remote/remote_system_win.h"
#include "shell/window_messages_win.h"

namespace tallyglass {

struct PendingOrder {
    ClockCommand order;
    uint64_t answerId = 0;  // 0: nobody waits for an answer
};

class RemoteLink {
public:
    // Listens when the plan is on and the server starts; Status() says how it went.
    // Failures of the network side are written to logPath.
    // language: "en" or "zh", the pages' and the key page's.
    RemoteLink(HWND window, const RemotePlan& plan, AccessKeys keys, bool oscFromAnywhere, std::wstring logPath,
               std::string language, std::wstring runLog);
    // The network thread stops first, each WebSocket told why: no order arrives once it is gone.
    ~RemoteLink();
    RemoteLink(const RemoteLink&) = delete;
    RemoteLink& operator=(const RemoteLink&) = delete;

    bool Listening() const { return m_listening; }
    // About's lines: whether remote control is on, where, the links; or why it is off.
    std::wstring Status() const;
    // The control page's link with its key, for the clipboard and the viewer.
    std::wstring ControlLink() const;
    std::wstring ViewLink() const;

    std::vector<PendingOrder> TakeOrders();
    void Publish(SnapshotPtr snapshot);
    // The state after the order that came with answerId.
    void Answer(uint64_t answerId, SnapshotPtr state, bool changed);

private:
    HWND m_window;
    RemotePlan m_plan;
    AccessKeys m_keys;
    std::string m_why;
    bool m_listening = false;
    BatchQueue<PendingOrder> m_pending{256};  // beyond, orders are refused (HTTP 503, OSC dropped)
    std::optional<WinsockSession> m_winsock;  // before the server, which it outlives
    std::unique_ptr<RemoteServer> m_server;
};

// Unix milliseconds from the system's clock.
int64_t UnixNowMs();

}  // namespace tallyglass
