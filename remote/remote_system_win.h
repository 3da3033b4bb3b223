#pragma once
// What remote control asks of Windows: keys from its random source, and the
// addresses this PC answers at.
#include <string>
#include <vector>

namespace tallyglass {

// Windows' sockets for as long as remote control runs. Asio would start them from a
// static object as the program starts, for every clock; that start is turned off, so
// that a clock with remote control off never loads or starts them.
class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

// 128 bits from the system's cryptographic random source, as key text; empty on failure.
std::string MakeRemoteKey();
// The addresses this PC can be reached at on the network (IPv4, not loopback).
std::vector<std::string> LocalAddresses();

}  // namespace tallyglass
