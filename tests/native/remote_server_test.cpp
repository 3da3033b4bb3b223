// The network side in process on 127.0.0.1 with clients of the test's own (plain
// sockets, every read bounded by a 3 s timeout), and a fake clock on a thread of its
// own that takes the orders, answers their ids and publishes states.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include "remote/osc_packet.h"
#include "remote/remote_server.h"

using namespace tallyglass;

namespace {
using namespace std::chrono_literals;
constexpr char kControl[] = "control-key-1", kView[] = "view-key-22";

class Client {
public:
    explicit Client(uint16_t port, const char* from = "127.0.0.1", int type = SOCK_STREAM)
        : m_fd(socket(AF_INET, type, 0)) {
        const timeval timeout{3, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, from, &local.sin_addr);
        bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
        sockaddr_in server = local;
        server.sin_port = htons(port);
        inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        connect(m_fd, reinterpret_cast<sockaddr*>(&server), sizeof server);
    }
    ~Client() { close(m_fd); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t sent = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) return false;
            bytes.remove_prefix(static_cast<size_t>(sent));
        }
        return true;
    }
    // Until `size` bytes are buffered: false when the connection ends or stays silent first.
    bool Fill(size_t size) {
        char chunk[4096];
        while (m_in.size() < size) {
            const ssize_t got = recv(m_fd, chunk, sizeof chunk, 0);
            if (got <= 0) return false;
            m_in.append(chunk, static_cast<size_t>(got));
        }
        return true;
    }
    std::string Take(size_t size) {
        std::string taken = m_in.substr(0, size);
        m_in.erase(0, size);
        return taken;
    }
    // One HTTP answer, headers and body; empty when the connection ends first.
    std::string Answer() {
        size_t end;
        while ((end = m_in.find("\r\n\r\n")) == std::string::npos)
            if (!Fill(m_in.size() + 1)) return {};
        const size_t length = m_in.find("Content-Length: ");
        const size_t body = length < end ? std::stoul(m_in.substr(length + 16)) : 0;
        return Fill(end + 4 + body) ? Take(end + 4 + body) : std::string();
    }
    // Whether the server closes this connection within the read timeout.
    bool Closed() {
        char chunk[4096];
        ssize_t got;
        while ((got = recv(m_fd, chunk, sizeof chunk, 0)) > 0) {
        }
        return got == 0 || errno == ECONNRESET;
    }
    // A WebSocket frame from the client: masked, here with a mask of zeros.
    bool SendFrame(uint8_t opcode, const std::string& payload) {  // shorter than 126 bytes
        const std::string head{static_cast<char>(0x80 | opcode), static_cast<char>(0x80 | payload.size())};
        return Write(head + std::string(4, '\0') + payload);
    }
    // The next frame from the server: its opcode and payload; opcode -1 when none came.
    std::pair<int, std::string> Frame() {
        if (!Fill(2)) return {-1, {}};
        const int opcode = m_in[0] & 15;
        size_t length = m_in[1] & 127, header = 2;
        if (length == 126 && Fill(4)) length = (uint8_t(m_in[2]) << 8 | uint8_t(m_in[3])), header = 4;
        if (!Fill(header + length)) return {-1, {}};
        Take(header);
        return {opcode, Take(length)};
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
    std::string m_in;
};

// The frames a socket gets up to the first that holds `wanted` (the last; empty when none
// comes within six frames or the read timeout).
std::vector<std::string> FramesUntil(Client& client, std::string_view wanted) {
    std::vector<std::string> frames;
    for (int i = 0; i < 6; ++i) {
        auto [opcode, payload] = client.Frame();
        if (opcode == -1) break;
        frames.push_back(std::move(payload));
        if (frames.back().find(wanted) != std::string::npos) return frames;
    }
    frames.emplace_back();
    return frames;
}

int StatusOf(const std::string& answer) { return answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : 0; }

std::string Request(const std::string& lines) { return lines + "Host: 127.0.0.1\r\n\r\n"; }

std::string Upgrade(const std::string& target, const std::string& more = {}) {
    return Request("GET " + target +
                   " HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                   "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n" +
                   more);
}

// The server and a fake clock: each order it takes is counted, its id answered with a state
// (unless told not to) and that state published, as the window does. A Resume changes
// nothing (nothing is paused); every other order does.
class Served {
public:
    explicit Served(bool answers = true, std::function<void(const ClockCommand&)> onOrder = {}) : m_answers(answers) {
        RemoteConfig config;
        config.port = 0;
        config.keys = {kControl, kView};
        config.controlPage = "<p id=start>";
        config.overlayPage = "<html lang=\"en\"><b>overlay";
        config.language = "zh";
        config.unixNowMs = [] { return int64_t{1234}; };
        config.report = [](const std::vector<ShowSegment>& show) { return "segments:" + std::to_string(show.size()); };
        config.files = {{"control.js", "let a;"}};
        config.log = [this](const std::string& line) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_log += line + "\n";
        };
        // Long enough for a clock under a sanitizer on a busy machine, short where none answers, and
        // always within the clients' 3 s read: a thrown order still gets its 503 before they give up.
        config.answerWait = answers ? 1500ms : 300ms;
        config.keyWait = 300ms;
        server =
            std::make_unique<RemoteServer>(std::move(config), [this, onOrder](const ClockCommand& order, uint64_t id) {
                if (onOrder) onOrder(order);
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_queue.push_back({id, order.kind != CommandKind::Resume});
                m_wake.notify_one();
                return true;
            });
        EXPECT_EQ(server->Start(), "");
        m_clock = std::thread([this] {
            std::unique_lock<std::mutex> lock(m_mutex);
            while (!m_done) {
                m_wake.wait(lock, [this] { return m_done || !m_queue.empty(); });
                // One state for the batch, as the window draws one frame for it.
                const std::vector<std::pair<uint64_t, bool>> batch = std::exchange(m_queue, {});
                m_orders += static_cast<int>(batch.size());
                auto state = std::make_shared<ClockSnapshot>();
                state->remaining = m_orders;
                server->Publish(state);
                for (const auto& [id, changed] : batch)
                    if (m_answers && id) server->Answer(id, state, changed);
            }
        });
    }
    ~Served() {
        server->Stop();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
            m_wake.notify_one();
        }
        m_clock.join();
    }
    uint16_t Port() const { return server->Port(); }
    int Orders() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_orders;
    }
    std::string Log() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }
    // Waits up to 5 s for the clock to have taken `count` orders.
    bool Took(int count) {
        for (int i = 0; i < 500 && Orders() < count; ++i) std::this_thread::sleep_for(10ms);
        return Orders() == count;
    }

    std::unique_ptr<RemoteServer> server;

private:
    bool m_answers;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::pair<uint64_t, bool>> m_queue;  // each order's answer id, and whether it changes anything
    int m_orders = 0;
    bool m_done = false;
    std::string m_log;
    std::thread m_clock;
};

void SendOsc(uint16_t port, const OscMessage& message) {
    Client udp(port, "127.0.0.1", SOCK_DGRAM);
    const std::vector<uint8_t> packet = EncodeOscMessage(message);
    send(udp.fd(), packet.data(), packet.size(), 0);
}

// Under ThreadSanitizer too: HTTP, WebSocket and OSC clients order at once while states
// are published, and then the server stops with the sockets still open.
TEST(RemoteServer, ManyClientsOrderWhileStatesArePublishedAndEveryViewerIsToldItStops) {
    Served served;
    constexpr int kEach = 20, kHttp = 4, kSockets = 4, kOsc = 2;
    std::vector<std::thread> clients;
    std::atomic<int> answered{0}, goingAway{0}, opened{0};
    for (int c = 0; c < kHttp; ++c)
        clients.emplace_back([&] {
            Client client(served.Port());
            for (int i = 0; i < kEach; ++i) {
                client.Write(Request(std::string("GET /api/v1/add/1?key=") + kControl + " HTTP/1.1\r\n"));
                answered += StatusOf(client.Answer()) == 200;
            }
        });
    std::vector<std::unique_ptr<Client>> sockets;
    for (int c = 0; c < kSockets; ++c) sockets.push_back(std::make_unique<Client>(served.Port()));
    for (auto& socket : sockets)
        clients.emplace_back([&, client = socket.get()] {
            client->Write(Upgrade(std::string("/api/v1/ws?key=") + kControl));
            opened += StatusOf(client->Answer()) == 101;
            for (int i = 0; i < kEach; ++i) client->SendFrame(1, R"({"order":"add","seconds":1})");
            for (auto frame = client->Frame(); frame.first != -1; frame = client->Frame())
                if (frame.first == 8) goingAway += frame.second.substr(0, 2) == "\x03\xe9";  // 1001
        });
    for (int c = 0; c < kOsc; ++c)
        clients.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) SendOsc(served.Port(), {"/tallyglass/add", {OscArgument(int32_t{1})}});
        });
    clients.emplace_back([&] {
        for (int i = 0; i < 100; ++i) {
            served.server->Publish(std::make_shared<ClockSnapshot>());
            std::this_thread::sleep_for(1ms);
        }
    });
    EXPECT_TRUE(served.Took(kEach * (kHttp + kSockets + kOsc))) << served.Orders() << served.Log();
    served.server->Stop();
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(answered, kEach * kHttp);
    EXPECT_EQ(opened, kSockets);
    EXPECT_EQ(goingAway, kSockets);
    EXPECT_EQ(served.Log(), "");  // nothing failed, and every session ended on the network thread
}

// Each rule a request meets, in order on one server: the Host, the key and where it came
// from, the Origin, chunked bodies, the whole header block, and the headers on every answer.
TEST(RemoteServer, EachRequestMeetsItsRule) {
    Served served;
    const std::string port = std::to_string(served.Port()), own = "Origin: http://127.0.0.1:" + port + "\r\n";
    const std::string cookie = std::string("Cookie: tallyglass_key=") + kControl + "\r\n", key = "?key=";
    std::string bigHeaders;
    for (int i = 0; i < 20; ++i) bigHeaders += "X-" + std::to_string(i) + ": " + std::string(1000, 'x') + "\r\n";
    struct Case {
        std::string request;
        int status;
        const char* has;  // in the answer's headers or body
    };
    const Case cases[] = {
        {Request("GET /api/v1/state" + key + kControl + " HTTP/1.1\r\n"), 200, "Referrer-Policy: no-referrer"},
        {Request("GET /api/v1/state" + key + kView + " HTTP/1.1\r\n"), 200, "X-Content-Type-Options: nosniff"},
        {"GET /api/v1/state" + key + kControl + " HTTP/1.1\r\nHost: evil.example:" + port + "\r\n\r\n", 421, ""},
        {Request("GET /api/v1/start" + key + kView + " HTTP/1.1\r\n"), 403, "only view"},
        {Request("GET /api/v1/start" + key + kControl + " HTTP/1.1\r\n"), 200, "\"changed\":true"},
        {Request("GET /api/v1/resume" + key + kControl + " HTTP/1.1\r\n"), 200, "\"changed\":false"},
        {Request("GET /api/v1/report.csv" + key + kControl + " HTTP/1.1\r\n"), 200, "text/csv; charset=utf-8"},
        {Request("GET /api/v1/report.csv" + key + kView + " HTTP/1.1\r\n"), 403, "needs the control key"},
        {Request("GET /api/v1/start" + key + kControl + " HTTP/1.1\r\nOrigin: http://evil.example\r\n"), 403, ""},
        {Request("GET /api/v1/start HTTP/1.1\r\n" + cookie), 403, ""},
        {Request("POST /api/v1/start HTTP/1.1\r\nX-Tallyglass: 1\r\nContent-Length: 0\r\n" + cookie), 403, ""},
        {"POST /api/v1/start HTTP/1.1\r\nContent-Length: 0\r\n" + cookie + own + "Host: 127.0.0.1:" + port + "\r\n\r\n",
         403, ""},
        {"POST /api/v1/start HTTP/1.1\r\nContent-Length: 0\r\nX-Tallyglass: 1\r\n" + cookie + own +
             "Host: 127.0.0.1:" + port + "\r\n\r\n",
         200, "\"remaining\""},
        {Request("POST /api/v1/start" + key + kControl + " HTTP/1.1\r\nTransfer-Encoding: chunked\r\n"), 411, ""},
        {Request("GET /api/v1/state" + key + kControl + " HTTP/1.1\r\n" + bigHeaders), 431, ""},
        {Upgrade("/api/v1/ws", cookie), 403, ""},
        {Upgrade(std::string("/api/v1/ws?key=") + kControl, "Origin: http://evil.example\r\n"), 403, ""},
        {Request("GET /" + key + kControl + " HTTP/1.1\r\n"), 200, "frame-ancestors 'none'"},
        {Request("GET /overlay" + key + kView + " HTTP/1.1\r\n"), 200, "<html lang=\"zh-CN\"><b>overlay"},
        // A person without a key gets a page saying where a link is found, in the clock's language.
        {Request("GET /view HTTP/1.1\r\n"), 401, "<h1>此页面需要时钟的密钥。</h1>"},
        {Request("GET /files/control.js" + key + kControl + " HTTP/1.1\r\n"), 200, "text/javascript"},
        // A wrong key counts, a right one always passes and clears its address's count; a
        // page gets a page, a program JSON.
        {Request("GET /overlay?key=wrong HTTP/1.1\r\n"), 401, "<h1>"},
        {Request("GET /api/v1/state?key=wrong HTTP/1.1\r\n"), 401, "\"error\":\"a valid key is needed\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.substr(0, 120));
        Client client(served.Port());
        client.Write(c.request);
        const std::string answer = client.Answer();
        EXPECT_EQ(StatusOf(answer), c.status);
        EXPECT_NE(answer.find(c.has), std::string::npos) << answer;
        // Only the key page, which has no script, has its style inline.
        EXPECT_EQ(answer.find("unsafe-inline") == std::string::npos, answer.find("<h1>") == std::string::npos);
        EXPECT_EQ(answer.find("script-src 'unsafe"), std::string::npos);
    }
    Client client(served.Port());
    for (int i = 0; i < 12; ++i) client.Write(Request("GET /api/v1/state?key=wrong HTTP/1.1\r\n"));
    std::vector<int> statuses;
    for (int i = 0; i < 12; ++i) statuses.push_back(StatusOf(client.Answer()));
    EXPECT_EQ(statuses[7], 401);  // the tenth with the two above
    EXPECT_EQ(statuses[8], 429);
    for (const auto& [presented, status] : {std::pair{kControl, 200}, {"wrong", 401}}) {
        Client again(served.Port());
        again.Write(Request(std::string("GET /api/v1/state?key=") + presented + " HTTP/1.1\r\n"));
        EXPECT_EQ(StatusOf(again.Answer()), status) << presented;
    }
    // The page's own socket rides on the cookie; a binary message on it is never an order.
    Client page(served.Port());
    page.Write(Upgrade("/api/v1/ws", cookie + "Origin: http://127.0.0.1\r\n"));
    EXPECT_EQ(StatusOf(page.Answer()), 101);
    const int before = served.Orders();
    page.SendFrame(2, R"({"order":"start"})");
    EXPECT_NE(FramesUntil(page, "error").back().find("binary"), std::string::npos);
    EXPECT_EQ(served.Orders(), before);
}

// Over a page's socket an order with an id is answered after the state it made, with whether
// it changed anything; a refused one names its id; a clock with nothing new still says it is there.
TEST(RemoteServer, ASocketsOrdersAreAnsweredByTheirIdsAndAQuietClockKeepsTheSocketAlive) {
    Served served;
    Client page(served.Port());
    page.Write(Upgrade(std::string("/api/v1/ws?keepalive=1&key=") + kControl));
    ASSERT_EQ(StatusOf(page.Answer()), 101);
    page.SendFrame(1, R"({"order":"start","id":41})");
    const std::vector<std::string> frames = FramesUntil(page, "answer");
    EXPECT_EQ(frames.back(), R"({"answer":41,"changed":true})");
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end() - 1,
                            [](const std::string& f) { return f.find(R"("remaining":1)") != std::string::npos; }));
    page.SendFrame(1, R"({"order":"resume","id":42})");
    EXPECT_EQ(FramesUntil(page, "answer").back(), R"({"answer":42,"changed":false})");
    page.SendFrame(1, R"({"order":"fly","id":43})");
    EXPECT_NE(FramesUntil(page, "error").back().find(R"("id":43)"), std::string::npos);
    EXPECT_EQ(FramesUntil(page, "alive").back(), R"({"alive":true,"serverTime":1234})");
}

// The clock late or full, and a handler that throws: the request gets 503 or its
// connection ends, and the server carries on listening for HTTP and OSC.
TEST(RemoteServer, AnOrderNotTakenOrAnsweredGets503AndNothingEndsListening) {
    {
        Served late(false);
        Client client(late.Port());
        client.Write(Request(std::string("GET /api/v1/reset?key=") + kControl + " HTTP/1.1\r\n"));
        EXPECT_EQ(StatusOf(client.Answer()), 503);
        client.Write(Request(std::string("GET /api/v1/state?key=") + kControl + " HTTP/1.1\r\n"));
        EXPECT_EQ(StatusOf(client.Answer()), 200);
    }
    Served throwing(true, [](const ClockCommand& order) {
        if (order.kind == CommandKind::Reset) throw std::runtime_error("reset failed");
    });
    Client client(throwing.Port());
    client.Write(Request(std::string("GET /api/v1/reset?key=") + kControl + " HTTP/1.1\r\n"));
    EXPECT_EQ(StatusOf(client.Answer()), 503);
    SendOsc(throwing.Port(), {"/tallyglass/reset", {}});
    SendOsc(throwing.Port(), {"/tallyglass/start", {}});
    EXPECT_TRUE(throwing.Took(1));
    Client next(throwing.Port());
    next.Write(Request(std::string("GET /api/v1/start?key=") + kControl + " HTTP/1.1\r\n"));
    EXPECT_EQ(StatusOf(next.Answer()), 200);
    for (int i = 0; i < 120; ++i) SendOsc(throwing.Port(), {"/tallyglass/start", {}});
    // A loaded machine (the sanitizers beside the end-to-end lanes) reads the burst late:
    // the rate's share first, then a moment for the rest to be dropped.
    throwing.Took(2 + 50);
    std::this_thread::sleep_for(200ms);
    EXPECT_LE(throwing.Orders(), 2 + 2 * 50);  // fifty a second, the window perhaps split in two
    throwing.server->Stop();
    EXPECT_NE(throwing.Log().find("a handler failed: reset failed"), std::string::npos) << throwing.Log();
    EXPECT_NE(throwing.Log().find("OSC orders over the rate dropped"), std::string::npos) << throwing.Log();
}

// Slots: a connection without a key goes soon, another address holds at most 16, and
// viewers never take the last slots, which are kept for the control key.
TEST(RemoteServer, SlotsStayForTheKeyHolders) {
    Served served;
    EXPECT_TRUE(Client(served.Port()).Closed());  // within the 3 s timeout: the key's wait, not the silence's 10 s
    std::vector<std::unique_ptr<Client>> held;
    for (int i = 0; i < 17; ++i) held.push_back(std::make_unique<Client>(served.Port(), "127.0.0.2"));
    EXPECT_EQ(StatusOf(held.back()->Answer()), 503);
    held.clear();
    std::this_thread::sleep_for(100ms);  // their sessions end
    std::vector<std::unique_ptr<Client>> viewers;
    for (int i = 0; i < 57; ++i) {
        viewers.push_back(std::make_unique<Client>(served.Port()));
        viewers.back()->Write(Upgrade(std::string("/api/v1/ws?key=") + kView));
        EXPECT_EQ(StatusOf(viewers.back()->Answer()), i < 56 ? 101 : 503) << i;
    }
    Client control(served.Port());
    control.Write(Request(std::string("GET /api/v1/state?key=") + kControl + " HTTP/1.1\r\n"));
    EXPECT_EQ(StatusOf(control.Answer()), 200);
}

// AddressSanitizer keeps freed memory in quarantine: there the process's size tells nothing.
#ifdef __has_feature
#if __has_feature(address_sanitizer)
#define UNDER_ASAN
#endif
#endif
#ifdef __SANITIZE_ADDRESS__
#define UNDER_ASAN
#endif

size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// A chunk extension or a trailer of 10 MiB, sent before any key: the connection ends and
// the process's memory stays where it was.
TEST(RemoteServer, AnEndlessChunkedBodyEndsItsConnectionAndCostsNoMemory) {
    Served served;
    const std::string head = Request("POST /api/v1/start HTTP/1.1\r\nTransfer-Encoding: chunked\r\n");
    const std::string tenMiB(10 << 20, 'x');
    const std::string bodies[] = {"1;" + tenMiB, "0\r\nX-Trailer: " + tenMiB};
    Client(served.Port()).Write(head + "1;xx");  // warms what a first connection allocates
    [[maybe_unused]] const size_t before = ResidentBytes();
    for (const std::string& body : bodies) {
        Client client(served.Port());
        client.Write(head);
        client.Write(body);
        EXPECT_TRUE(client.Closed());
    }
#ifndef UNDER_ASAN
    EXPECT_LT(ResidentBytes(), before + (2 << 20));
#endif
}
}  // namespace
