// Winsock 2 before <windows.h>, which would otherwise bring in the old winsock.h.
#include <winsock2.h>

#include <ws2tcpip.h>

#include <iphlpapi.h>

#include "remote/remote_system_win.h"

#include <bcrypt.h>

#include <boost/asio/detail/winsock_init.hpp>

#include <cstdint>

#include "framework/handles_win.h"
#include "remote/access_keys.h"

namespace {
// Counted as Winsock's first user before any static object of Asio's is made, so
// that Asio's own start-up at program start starts nothing.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4073)
#pragma init_seg(lib)
boost::asio::detail::winsock_init<>::manual g_winsockStartedByUs;
#pragma warning(pop)
#else
__attribute__((init_priority(101))) boost::asio::detail::winsock_init<>::manual g_winsockStartedByUs;
#endif
}  // namespace

namespace tallyglass {

namespace {
// Looked up only when needed: under Wine, bcrypt.dll alone adds megabytes to the
// working set of a clock that has remote control off, and iphlpapi.dll some more.
template <typename Function>
Function EntryPoint(const LoadedModule& module, const char* name) {
    // Through void* because FARPROC and the real signature are distinct function types.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.get(), name))) : nullptr;
}

}  // namespace

WinsockSession::WinsockSession() {
    WSADATA data;
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
    if (m_started) WSACleanup();
}

std::string MakeRemoteKey() {
    const LoadedModule bcrypt(LoadLibraryW(L"bcrypt.dll"));
    const auto generate = EntryPoint<decltype(&BCryptGenRandom)>(bcrypt, "BCryptGenRandom");
    uint8_t random[16];
    if (!generate || !BCRYPT_SUCCESS(generate(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return {};
    return KeyText(random);
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

}  // namespace tallyglass
