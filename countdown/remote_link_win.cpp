// Winsock 2 before <windows.h>, which would otherwise bring in the old winsock.h.
#include <winsock2.h>

#include <ws2tcpip.h>

#include <iphlpapi.h>

#include "countdown/remote_link_win.h"

#include <bcrypt.h>

#include <utility>

#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "res/resource.h"

namespace {
std::string PageResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);  // module resources need no release
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, found)) : std::string();
}

// Looked up only when needed: under Wine, bcrypt.dll alone adds megabytes to the
// working set of a clock that has remote control off, and iphlpapi.dll some more.
template <typename Function>
Function EntryPoint(const LoadedModule& module, const char* name) {
    // Through void* because FARPROC and the real signature are distinct function types.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.get(), name))) : nullptr;
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

std::string MakeRemoteKey() {
    const LoadedModule bcrypt(LoadLibraryW(L"bcrypt.dll"));
    const auto generate = EntryPoint<decltype(&BCryptGenRandom)>(bcrypt, "BCryptGenRandom");
    uint8_t random[16];
    if (!generate || !BCRYPT_SUCCESS(generate(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return {};
    return KeyText(random);
}

int64_t UnixNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;  // 100 ns since 1601
    return static_cast<int64_t>(ticks / 10000) - 11644473600000LL;
}

std::vector<std::string> LocalAddresses() {
    std::vector<std::string> addresses;
    ULONG size = 16 * 1024;
    std::vector<uint8_t> buffer(size);
    auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    const LoadedModule iphlpapi(LoadLibraryW(L"iphlpapi.dll"));
    const auto adaptersAddresses = EntryPoint<decltype(&GetAdaptersAddresses)>(iphlpapi, "GetAdaptersAddresses");
    if (!adaptersAddresses || adaptersAddresses(AF_INET, flags, nullptr, adapters, &size) != NO_ERROR) return addresses;
    for (auto* adapter = adapters; adapter; adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
        for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr);
            const uint32_t ip = ntohl(in->sin_addr.s_addr);
            addresses.push_back(std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 255) + "." +
                                std::to_string((ip >> 8) & 255) + "." + std::to_string(ip & 255));
        }
    }
    return addresses;
}
