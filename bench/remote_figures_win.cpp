// Winsock 2 before <windows.h>, which would otherwise bring in the old winsock.h.
#include <winsock2.h>

#include "bench/remote_figures_win.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/atomic_file_win.h"
#include "shell/clock_timers_win.h"
#include "shell/countdown_wnd_win.h"

using namespace tallyglass;

namespace {
constexpr u_short kPort = 7366;
constexpr int kSamples = 100;

// A blocking TCP client to the clock; the socket is closed with it.
class Client {
public:
    Client() : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    ~Client() { closesocket(m_socket); }

    bool Send(const std::string& text) {
        return m_connected && send(m_socket, text.data(), static_cast<int>(text.size()), 0) == int(text.size());
    }
    // Up to the end of an answer's headers, and its body by Content-Length.
    bool ReadHttpAnswer() {
        size_t end;
        while ((end = m_buffer.find("\r\n\r\n")) == std::string::npos)
            if (!Receive()) return false;
        const size_t at = m_buffer.find("Content-Length: ");
        const size_t length = at < end ? std::stoul(m_buffer.substr(at + 16)) : 0;
        while (m_buffer.size() < end + 4 + length)
            if (!Receive()) return false;
        m_buffer.erase(0, end + 4 + length);
        return true;
    }
    // One unmasked server frame, as the clock sends them: a text message of any length.
    bool ReadWebSocketMessage() {
        while (m_buffer.size() < 2 || m_buffer.size() < FrameLength())
            if (!Receive()) return false;
        m_buffer.erase(0, FrameLength());
        return true;
    }

private:
    size_t FrameLength() const {
        const auto length = static_cast<unsigned char>(m_buffer[1]) & 0x7F;
        if (length < 126) return 2 + length;
        if (m_buffer.size() < 4) return SIZE_MAX;
        return 4 + (static_cast<size_t>(static_cast<unsigned char>(m_buffer[2])) << 8 |
                    static_cast<unsigned char>(m_buffer[3]));
    }
    bool Receive() {
        char chunk[4096];
        const int got = recv(m_socket, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        m_buffer.append(chunk, static_cast<size_t>(got));
        return true;
    }

    SOCKET m_socket;
    bool m_connected = false;
    std::string m_buffer;
};

std::string Request(const std::string& path) {
    return "GET " + path + (path.find('?') == std::string::npos ? "?" : "&") +
           "key=bench-remote-key HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

// The clock's messages for a few milliseconds at most.
void PumpOnce() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void PumpUntil(const std::atomic<bool>& done) {
    while (!done) PumpOnce();
}

// For each cause, the time to the first effect after it.
void PrintDelays(const char* name, const std::vector<double>& causes, const std::vector<double>& effects) {
    std::vector<double> delays;
    for (double cause : causes) {
        const auto effect = std::lower_bound(effects.begin(), effects.end(), cause);
        if (effect != effects.end()) delays.push_back(*effect - cause);
    }
    if (delays.empty()) return (void)std::printf("# %s: no samples\n", name);
    std::sort(delays.begin(), delays.end());
    std::printf("%s median: %.3f ms\n%s p95: %.3f ms\n", name, delays[delays.size() / 2], name,
                delays[std::min(delays.size() - 1, delays.size() * 95 / 100)]);
}
}  // namespace

void RemoteFigures(double (*nowMs)()) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    CountdownWndOptions options;
    options.storePath = std::wstring(temp) + L"tallyglass-bench-remote.ini";
    WriteFileAtomically(options.storePath,
                        "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=100000\nremote=local\n"
                        "remoteport=7366\nremotekey=bench-remote-key\nremoteviewkey=bench-remote-view\n");
    options.manualTicks = true;
    std::vector<double> frames;
    options.frameObserver = [&](const FramePixels&) { frames.push_back(nowMs()); };
    CountdownWnd clock(options);
    clock.Create();
    std::atomic<bool> done{false};
    for (int i = 0; i < 400 && !(clock.Remote() && clock.Remote()->Listening()); ++i) PumpOnce();
    if (!clock.Remote() || !clock.Remote()->Listening()) return (void)std::printf("# remote control did not start\n");
    clock.StartCountdown();

    std::vector<double> orders;
    std::thread http([&] {
        Client client;
        for (int i = 0; i < kSamples; ++i) {
            orders.push_back(nowMs());
            if (!client.Send(Request(i % 2 ? "/api/v1/add/-60" : "/api/v1/add/60")) || !client.ReadHttpAnswer()) break;
        }
        done = true;
    });
    PumpUntil(done);
    http.join();
    PrintDelays("HTTP order to its frame", orders, frames);

    std::vector<double> ticks, messages;
    std::atomic<bool> connected{false};
    done = false;
    std::thread viewer([&] {
        Client client;
        client.Send(
            "GET /api/v1/ws?key=bench-remote-key HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
            "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
        if (client.ReadHttpAnswer() && client.ReadWebSocketMessage()) {
            connected = true;
            while (messages.size() < static_cast<size_t>(kSamples) && client.ReadWebSocketMessage())
                messages.push_back(nowMs());
        }
        connected = true;
        done = true;
    });
    PumpUntil(connected);
    const HWND window = clock.GetSafeHwnd();
    for (int i = 0; i < kSamples && !done; ++i) {
        ticks.push_back(nowMs());
        SendMessageW(window, kTickMessage, clock.Model().m_timerId, NextTickDueMs(clock.Model()));
        const double until = nowMs() + 20;
        while (nowMs() < until) PumpOnce();
    }
    viewer.join();
    PrintDelays("tick to a WebSocket client", ticks, messages);
}
