#pragma once
// The clock's end of remote control: starts the network side when the settings
// ask for it, hands its orders to the window thread through a posted message,
// and publishes the snapshots the window makes.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "remote/remote_plan.h"
#include "remote/remote_server.h"
#include "remote/remote_system_win.h"
#include "shell/window_messages_win.h"

namespace tallyglass {

struct PendingOrder {
    tallyglass::ClockCommand order;
    std::function<void(SnapshotPtr)> answer;  // may be empty
};

class RemoteLink {
public:
    // Listens when the plan is on and the server starts; Status() says how it went.
    RemoteLink(HWND window, const RemotePlan& plan, AccessKeys keys, bool oscFromAnywhere);
    // The network thread stops first: no order arrives, and no answer is left, once it is gone.
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

private:
    HWND m_window;
    RemotePlan m_plan;
    AccessKeys m_keys;
    std::string m_why;
    bool m_listening = false;
    std::mutex m_mutex;
    std::vector<PendingOrder> m_pending;      // guarded by m_mutex
    std::optional<WinsockSession> m_winsock;  // before the server, which it outlives
    std::unique_ptr<RemoteServer> m_server;
};

// Unix milliseconds from the system's clock.
int64_t UnixNowMs();

}  // namespace tallyglass
