// Winsock 2 before <windows.h>, which would otherwise bring in the old winsock.h.
#include <winsock2.h>

#include <ws2tcpip.h>

#include <iphlpapi.h>

#include "shell/remote_link_win.h"

#include <utility>

#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "remote/remote_system_win.h"
#include "res/resource.h"

namespace tallyglass {

namespace {
std::string PageResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);  // module resources need no release
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, found)) : std::string();
}

std::string LinkHost(const RemotePlan& plan) {
    if (plan.address != "0.0.0.0") return plan.address;
    const auto addresses = LocalAddresses();
    return addresses.empty() ? std::string("127.0.0.1") : addresses.front();
}
}  // namespace

RemoteLink::RemoteLink(HWND window, const RemotePlan& plan, AccessKeys keys, bool oscFromAnywhere)
    : m_window(window), m_plan(plan), m_keys(std::move(keys)) {
    if (!plan.on) return;
    if (m_keys.control.empty() || m_keys.view.empty()) {
        m_why = "no key could be made";
        return;
    }
    if (!m_winsock.emplace().Started()) {
        m_why = "Windows' sockets did not start";
        return;
    }
    RemoteConfig config;
    config.address = plan.address;
    config.port = plan.port;
    config.keys = m_keys;
    config.oscFromAnywhere = oscFromAnywhere;
    config.feedbackAddress = plan.feedbackAddress;
    config.feedbackPort = plan.feedbackPort;
    config.controlPage = PageResource(IDR_CONTROL_PAGE);
    config.viewPage = PageResource(IDR_VIEW_PAGE);
    m_server =
        std::make_unique<RemoteServer>(std::move(config), [this](const tallyglass::ClockCommand& order, auto answer) {
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_pending.push_back({order, std::move(answer)});
            }
            PostMessageW(m_window, kRemoteOrderMessage, 0, 0);
        });
    m_why = m_server->Start();
    m_listening = m_why.empty();
    if (!m_listening) m_server.reset();
}

RemoteLink::~RemoteLink() {
    if (m_server) m_server->Stop();
    m_pending.clear();  // answers hold sessions of the server: they go before it
    m_server.reset();
}

std::vector<PendingOrder> RemoteLink::TakeOrders() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_pending, {});
}

void RemoteLink::Publish(SnapshotPtr snapshot) {
    if (m_server) m_server->Publish(std::move(snapshot));
}

std::wstring RemoteLink::ControlLink() const {
    if (!m_listening) return {};
    return Widen("http://" + LinkHost(m_plan) + ":" + std::to_string(m_plan.port) + "/?key=" + m_keys.control);
}

std::wstring RemoteLink::ViewLink() const {
    if (!m_listening) return {};
    return Widen("http://" + LinkHost(m_plan) + ":" + std::to_string(m_plan.port) + "/view?key=" + m_keys.view);
}

std::wstring RemoteLink::Status() const {
    if (!m_plan.on && m_plan.why.empty()) return L"Remote control: off (remote=off).";
    if (!m_listening) return L"Remote control: off: " + Widen(m_plan.on ? m_why : m_plan.why) + L".";
    std::string where = m_plan.address;
    if (m_plan.address == "0.0.0.0") {
        where.clear();
        for (const std::string& address : LocalAddresses()) where += (where.empty() ? "" : ", ") + address;
        if (where.empty()) where = "all addresses";
    }
    return L"Remote control: on, " + Widen(where) + L", port " + std::to_wstring(m_plan.port) + L"\nControl: " +
           ControlLink() + L"\nView: " + ViewLink();
}

int64_t UnixNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;  // 100 ns since 1601
    return static_cast<int64_t>(ticks / 10000) - 11644473600000LL;
}

}  // namespace tallyglass
