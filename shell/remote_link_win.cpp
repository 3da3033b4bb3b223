#include "shell/remote_link_win.h"

#include <cstdio>
#include <utility>

#include "clock/run_report.h"
#include "core/atomic_file_win.h"
#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "remote/remote_system_win.h"
#include "res/resource.h"
#include "shell/run_log_file_win.h"

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

// Past this the log becomes the one old log, and a new one starts.
constexpr uint64_t kLogLimit = 256 * 1024;

// One line with the local time; called on the network thread, for failures only.
void AppendLogLine(const std::wstring& path, const std::string& line) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    AppendRolled(path, path + L".1", kLogLimit, stamp + line + "\r\n");
}

std::string LinkHost(const RemotePlan& plan) {
    if (plan.address != "0.0.0.0") return plan.address;
    const auto addresses = LocalAddresses();
    return addresses.empty() ? std::string("127.0.0.1") : addresses.front();
}
}  // namespace

RemoteLink::RemoteLink(HWND window, const RemotePlan& plan, AccessKeys keys, bool oscFromAnywhere, std::wstring logPath,
                       std::string language, std::wstring runLog)
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
    config.overlayPage = PageResource(IDR_OVERLAY_PAGE);
    config.language = std::move(language);
    config.unixNowMs = UnixNowMs;
    config.report = [runLog](const std::vector<ShowSegment>& show) { return RunReport(ReadRunLog(runLog), show); };
    config.files = {{"control.js", PageResource(IDR_CONTROL_SCRIPT)}, {"control.css", PageResource(IDR_CONTROL_STYLE)},
                    {"view.js", PageResource(IDR_VIEW_SCRIPT)},       {"view.css", PageResource(IDR_VIEW_STYLE)},
                    {"link.js", PageResource(IDR_LINK_SCRIPT)},       {"overlay.js", PageResource(IDR_OVERLAY_SCRIPT)},
                    {"overlay.css", PageResource(IDR_OVERLAY_STYLE)}};
    // What a phone may call this PC besides the address it reached: its own name.
    wchar_t name[256];
    DWORD length = 256;
    if (GetComputerNameExW(ComputerNameDnsHostname, name, &length) && length > 0)
        config.hostNames = {Narrow(name), Narrow(name) + ".local"};
    config.log = [logPath = std::move(logPath)](const std::string& line) { AppendLogLine(logPath, line); };
    m_server = std::make_unique<RemoteServer>(std::move(config), [this](const ClockCommand& order, uint64_t answerId) {
        const auto pushed = m_pending.Push({order, answerId});
        // One message for a batch: the window takes every order waiting when it comes.
        if (pushed == BatchQueue<PendingOrder>::Pushed::First) PostMessageW(m_window, kRemoteOrderMessage, 0, 0);
        return pushed != BatchQueue<PendingOrder>::Pushed::Refused;
    });
    m_why = m_server->Start();
    m_listening = m_why.empty();
    if (!m_listening) m_server.reset();
}

RemoteLink::~RemoteLink() {
    if (m_server) m_server->Stop();
}

std::vector<PendingOrder> RemoteLink::TakeOrders() { return m_pending.TakeAll(); }

void RemoteLink::Answer(uint64_t answerId, SnapshotPtr state, bool changed) {
    if (m_server) m_server->Answer(answerId, std::move(state), changed);
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
    // About is often seen on a projector: it shows neither key nor code, only where they are.
    return L"Remote control: on, " + Widen(where) + L", port " + std::to_wstring(m_plan.port) +
           L"\nThe links and their QR codes: Settings\u2026, Remote.";
}

int64_t UnixNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;  // 100 ns since 1601
    return static_cast<int64_t>(ticks / 10000) - 11644473600000LL;
}

}  // namespace tallyglass
