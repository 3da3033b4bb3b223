#include "remote/remote_server.h"

#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <cctype>
#include <deque>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "remote/http_route.h"
#include "remote/osc_packet.h"

namespace tallyglass {

namespace {
namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;
using udp = net::ip::udp;
using error_code = boost::system::error_code;
using Text = std::shared_ptr<const std::string>;  // one buffer, read by every viewer it goes to

constexpr size_t kMaxConnections = 64;
// The last slots only for connections that present the control key: viewers cannot crowd it out.
constexpr size_t kControlSlots = 8;
// Per address other than this PC's own, where every local program shares 127.0.0.1.
constexpr size_t kMaxPerAddress = 16;
constexpr auto kSilence = std::chrono::seconds(10);
constexpr size_t kHeaderLimit = 16 * 1024;
constexpr size_t kBodyLimit = 64 * 1024;
// The read buffer holds one header block and a little more; bodies go straight into the request.
constexpr size_t kReadBufferLimit = kHeaderLimit + 4096;
// Bytes one connection may send over its life before it is closed after its answer.
constexpr uint64_t kByteBudget = 1024 * 1024;
// Messages a WebSocket client may fall behind by before it is dropped as too slow.
constexpr size_t kMaxQueued = 16;
constexpr uint32_t kOscPerSecond = 50;  // orders per sender; the rest are dropped
constexpr size_t kMaxOscSenders = 4096;
constexpr auto kStopWait = std::chrono::milliseconds(500);
constexpr auto kSummaryEvery = std::chrono::minutes(1);

std::string_view View(beast::string_view text) { return {text.data(), text.size()}; }

uint64_t SteadyMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The name of a Host header without its port.
std::string_view HostName(std::string_view host) {
    const size_t colon = host.rfind(':');
    return colon == std::string_view::npos ? host : host.substr(0, colon);
}

// Orders from one sender in the current second; a bounded table.
class OscRate {
public:
    bool Take(const std::string& sender, uint64_t nowMs) {
        if (m_senders.size() >= kMaxOscSenders && !m_senders.count(sender))
            for (auto it = m_senders.begin(); it != m_senders.end();)
                it = nowMs - it->second.secondStartMs >= 1000 ? m_senders.erase(it) : std::next(it);
        if (m_senders.size() >= kMaxOscSenders && !m_senders.count(sender)) return false;
        Sender& record = m_senders[sender];
        if (nowMs - record.secondStartMs >= 1000) record = {nowMs, 0};
        return ++record.orders <= kOscPerSecond;
    }

private:
    struct Sender {
        uint64_t secondStartMs = 0;
        uint32_t orders = 0;
    };
    std::unordered_map<std::string, Sender> m_senders;
};

// What was refused since the last line in the log.
struct Refusals {
    unsigned wrongKey = 0, lockedOut = 0, slots = 0, foreign = 0, busy = 0, late = 0, oscDropped = 0;
    std::string Line() const {
        std::string line;
        const auto add = [&line](unsigned count, const char* what) {
            if (count) line += (line.empty() ? "" : ", ") + std::to_string(count) + " " + what;
        };
        add(wrongKey, "wrong keys");
        add(lockedOut, "refused as locked out");
        add(slots, "connections refused for want of a slot");
        add(foreign, "refused for their Host or Origin");
        add(busy, "orders refused while the clock's queue was full");
        add(late, "answers the clock gave too late");
        add(oscDropped, "OSC orders over the rate dropped");
        return line.empty() ? line : "refused: " + line;
    }
};
}  // namespace

class HttpSession;
class WebSocketSession;

// Any connection, so that Stop can reach every one.
class Session {
public:
    virtual ~Session() = default;
    virtual void GoAway() = 0;  // at Stop: a WebSocket says why, a request just ends
    virtual void Close() = 0;   // now, whatever it was doing
};

// Only the network thread touches these members, so they need no lock: the sessions join
// and leave their lists themselves.
struct RemoteServer::Impl {
    Impl(RemoteConfig c, OrderSink s) : config(std::move(c)), sink(std::move(s)) {}

    RemoteConfig config;
    OrderSink sink;
    LockOut lockOut;
    OscRate oscRate;
    Refusals refused;
    SnapshotPtr latest = std::make_shared<ClockSnapshot>();
    size_t connections = 0;
    std::unordered_map<std::string, size_t> perAddress;
    std::unordered_set<Session*> sessions;
    std::unordered_set<WebSocketSession*> viewers;
    std::unordered_map<uint64_t, std::weak_ptr<HttpSession>> waiting;  // by answer id
    uint64_t nextAnswerId = 1;
    bool stopping = false, draining = false;
    size_t closing = 0;  // close frames not yet sent at Stop
    uint16_t port = 0;
    std::optional<udp::endpoint> feedback;
    udp::endpoint oscSender;
    std::vector<uint8_t> oscBuffer = std::vector<uint8_t>(65536);
    net::io_context ioc{1};
    tcp::acceptor acceptor{ioc};
    udp::socket osc{ioc};
    net::steady_timer retryAccept{ioc}, summary{ioc}, stopWait{ioc};
    std::thread thread;

    void Accept();
    void Admit(tcp::socket socket);
    void ReceiveOsc();
    void OnOsc(const std::vector<uint8_t>& datagram, const udp::endpoint& sender);
    void Broadcast(const SnapshotPtr& snapshot);
    void Deliver(uint64_t id, SnapshotPtr state);
    void Summarize();
    void ArmSummary() {
        summary.expires_after(kSummaryEvery);
        summary.async_wait([this](error_code ec) {
            if (ec) return;
            Summarize();
            ArmSummary();
        });
    }
    void GoAway();
    void Closed() {
        if (--closing == 0 && !draining) ioc.stop();
    }
    void Drain();
    void Log(const std::string& line) {
        try {
            if (config.log) config.log(line);
        } catch (...) {  // a log that cannot be written loses its line, never the server
        }
    }
    bool Order(const ClockCommand& command, uint64_t answerId) { return sink && sink(command, answerId); }
};

namespace {
using Shared = RemoteServer::Impl;

// One of the 64 connections, given back when its session ends (on the network thread).
class ConnectionSlot {
public:
    ConnectionSlot(Shared& shared, std::string address) : m_shared(&shared), m_address(std::move(address)) {
        ++shared.connections;
        ++shared.perAddress[m_address];
    }
    ConnectionSlot(ConnectionSlot&& other) noexcept
        : m_shared(std::exchange(other.m_shared, nullptr)), m_address(std::move(other.m_address)) {}
    ConnectionSlot& operator=(ConnectionSlot&&) = delete;
    ~ConnectionSlot() {
        if (!m_shared) return;
        --m_shared->connections;
        if (--m_shared->perAddress[m_address] == 0) m_shared->perAddress.erase(m_address);
    }

private:
    Shared* m_shared;
    std::string m_address;
};

template <class Response>
void CommonHeaders(Response& response) {
    response.set(http::field::server, "Tallyglass");
    response.set("Referrer-Policy", "no-referrer");
    response.set("X-Content-Type-Options", "nosniff");
}

http::response<http::string_body> Answer(http::status status, const std::string& body, bool keepAlive,
                                         const char* type = "application/json; charset=utf-8") {
    http::response<http::string_body> response{status, 11};
    CommonHeaders(response);
    response.set(http::field::content_type, type);
    response.set(http::field::cache_control, "no-store");
    response.keep_alive(keepAlive);
    response.body() = body;
    response.prepare_payload();
    return response;
}

const char* TypeOf(const std::string& name) {
    const auto endsWith = [&name](std::string_view end) {
        return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith(".js") ? "text/javascript; charset=utf-8" : endsWith(".css") ? "text/css; charset=utf-8" : "";
}
}  // namespace

class WebSocketSession : public Session, public std::enable_shared_from_this<WebSocketSession> {
public:
    WebSocketSession(tcp::socket socket, Shared& shared, Access access, ConnectionSlot slot)
        : m_ws(std::move(socket)), m_shared(shared), m_access(access), m_slot(std::move(slot)) {
        m_shared.sessions.insert(this);
    }
    ~WebSocketSession() override {
        m_shared.sessions.erase(this);
        m_shared.viewers.erase(this);
    }

    void Accept(http::request<http::string_body> request) {
        m_ws.set_option(websocket::stream_base::timeout{kSilence, kSilence, true});
        m_ws.set_option(
            websocket::stream_base::decorator([](websocket::response_type& response) { CommonHeaders(response); }));
        m_ws.read_message_max(kBodyLimit);
        m_ws.async_accept(request, [self = shared_from_this()](error_code ec) {
            if (ec) return;
            if (self->m_shared.stopping) return self->Close();
            self->m_shared.viewers.insert(self.get());
            self->Send(std::make_shared<const std::string>(StateJson(*self->m_shared.latest, self->Controls())));
            self->Read();
        });
    }

    bool Controls() const { return m_access == Access::Control; }

    // A state not yet sent is replaced by a newer one: a viewer needs only the latest.
    void Send(Text text, bool state = true) {
        if (m_goingAway) return;
        if (state && m_queue.size() > 1 && m_queue.back().second) {
            m_queue.back().first = std::move(text);
            return;
        }
        if (m_queue.size() > kMaxQueued) return Close();
        m_queue.emplace_back(std::move(text), state);
        if (m_queue.size() == 1) Write();
    }

    void GoAway() override {
        if (!m_shared.viewers.count(this) || m_goingAway) return Close();
        m_goingAway = true;
        ++m_shared.closing;
        m_ws.async_close(websocket::close_code::going_away, [self = shared_from_this()](error_code) {
            self->Close();
            self->m_shared.Closed();
        });
    }

    void Close() override {
        error_code ignored;
        beast::get_lowest_layer(m_ws).socket().close(ignored);
    }

private:
    void Read() {
        m_ws.async_read(m_buffer, [self = shared_from_this()](error_code ec, size_t) {
            if (ec) return;  // closed, timed out or a malformed frame: the session ends
            self->OnMessage(beast::buffers_to_string(self->m_buffer.data()));
            self->m_buffer.consume(self->m_buffer.size());
            self->Read();
        });
    }

    void OnMessage(const std::string& text) {
        if (!m_ws.got_text()) return SendText(ErrorJson("orders are JSON text; a binary message is never read"));
        if (!Controls()) return SendText(ErrorJson("this key may only view"));
        const CommandCheck parsed = ParseOrderJson(text);
        if (!parsed.command) return SendText(ErrorJson(parsed.why, parsed.word));
        // The new state reaches this socket as every state does.
        if (!m_shared.Order(*parsed.command, 0)) {
            ++m_shared.refused.busy;
            SendText(ErrorJson("the clock is busy; the order was not taken"));
        }
    }

    void SendText(std::string text) { Send(std::make_shared<const std::string>(std::move(text)), false); }

    void Write() {
        m_ws.text(true);
        m_ws.async_write(net::buffer(*m_queue.front().first), [self = shared_from_this()](error_code ec, size_t) {
            self->m_queue.pop_front();
            if (ec) return self->Close();
            if (!self->m_queue.empty() && !self->m_goingAway) self->Write();
        });
    }

    websocket::stream<beast::tcp_stream> m_ws;
    beast::flat_buffer m_buffer;
    std::deque<std::pair<Text, bool>> m_queue;  // and whether it is a state; the front one is being written
    Shared& m_shared;
    Access m_access;
    ConnectionSlot m_slot;
    bool m_goingAway = false;
};

class HttpSession : public Session, public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(tcp::socket socket, Shared& shared, ConnectionSlot slot, std::string address, bool reserved)
        : m_stream(std::move(socket)),
          m_shared(shared),
          m_slot(std::move(slot)),
          m_address(std::move(address)),
          m_reserved(reserved) {
        error_code ec;
        const auto local = m_stream.socket().local_endpoint(ec);
        if (!ec) m_localAddress = local.address().to_string();
        m_shared.sessions.insert(this);
    }
    ~HttpSession() override {
        m_shared.sessions.erase(this);
        if (m_answerId) m_shared.waiting.erase(m_answerId);
    }

    void Read() {
        m_parser.emplace();
        m_parser->header_limit(kHeaderLimit);
        m_parser->body_limit(kBodyLimit);
        // Without a valid key yet, a connection has little time to show one.
        if (m_keyed)
            m_stream.expires_after(kSilence);
        else
            m_stream.expires_after(m_shared.config.keyWait);
        http::async_read_header(m_stream, m_buffer, *m_parser,
                                [self = shared_from_this()](error_code ec, size_t n) { self->OnHeader(ec, n); });
    }

    // The clock's answer to this session's order, or none in time (503); either way it carries on.
    void Answered(uint64_t id, const SnapshotPtr& state) {
        if (id != m_answerId) return;
        m_answerId = 0;
        m_answerTimer.cancel();
        if (state) return Send(Answer(http::status::ok, StateJson(*state, true), m_keepAlive));
        ++m_shared.refused.late;
        Send(Answer(http::status::service_unavailable, ErrorJson("the clock did not answer in time"), m_keepAlive));
    }

    void GoAway() override { Close(); }

    void Close() override {
        m_answerTimer.cancel();
        error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        m_stream.close();
    }

private:
    bool Failed(error_code ec) {
        if (ec == http::error::header_limit)
            Send(Answer(http::status::request_header_fields_too_large, ErrorJson("headers too large"), false));
        else if (ec == http::error::body_limit)
            Send(Answer(http::status::payload_too_large, ErrorJson("body too large"), false));
        else if (ec)
            Close();  // silent, gone, malformed or over the read buffer
        return bool(ec);
    }

    void OnHeader(error_code ec, size_t bytes) {
        m_bytesRead += bytes;
        if (Failed(ec)) return;
        // A chunked body could carry extensions and trailers of any length before the key is
        // checked; no order needs one, and every body comes with its length.
        if (m_parser->chunked())
            return Send(Answer(http::status::length_required, ErrorJson("a body needs a Content-Length"), false));
        http::async_read(m_stream, m_buffer, *m_parser, [self = shared_from_this()](error_code e, size_t n) {
            self->m_bytesRead += n;
            if (!self->Failed(e)) self->Handle(self->m_parser->release());
        });
    }

    bool HostAllowed(std::string_view host) const {
        const std::string_view name = HostName(host);
        if (SameName(name, "localhost") || name == "127.0.0.1" || name == m_localAddress ||
            name == m_shared.config.address)
            return !name.empty();
        for (const std::string& allowed : m_shared.config.hostNames)
            if (SameName(name, allowed)) return true;
        return false;
    }

    void Handle(http::request<http::string_body> request) {
        const bool keepAlive = request.keep_alive() && m_bytesRead < kByteBudget;
        const std::string_view host = View(request[http::field::host]);
        // A name that is not this PC's is a page of another site reaching it through DNS.
        if (!HostAllowed(host)) {
            ++m_shared.refused.foreign;
            return Send(Answer(http::status::misdirected_request, ErrorJson("this clock is not that host"), false));
        }
        const std::string target(View(request.target()));
        const std::string_view authorization = View(request[http::field::authorization]);
        const std::string key = PresentedKey(target, authorization, View(request[http::field::cookie]));
        const bool byCookie = !key.empty() && PresentedKey(target, authorization, {}).empty();
        const Access access = AccessFor(m_shared.config.keys, key);
        if (access == Access::None) return WrongKey(keepAlive);
        m_shared.lockOut.Passed(m_address);
        if (m_reserved && access != Access::Control) {
            ++m_shared.refused.slots;
            return Send(Answer(http::status::service_unavailable, ErrorJson("too many connections"), false));
        }
        m_keyed = true;
        const Route route = RouteRequest(View(request.method_string()), target);
        // A browser names the page's origin on a WebSocket and on a POST; a program with its key names none.
        const std::string_view origin = View(request[http::field::origin]);
        const bool ownOrigin = origin == "http://" + std::string(host);
        if ((route.kind == RouteKind::WebSocket || route.kind == RouteKind::Order) && !origin.empty() && !ownOrigin) {
            ++m_shared.refused.foreign;
            return Send(Answer(http::status::forbidden, ErrorJson("not from the clock's own pages"), keepAlive));
        }
        switch (route.kind) {
            case RouteKind::Error:
                return Send(
                    Answer(static_cast<http::status>(route.status), ErrorJson(route.error, route.word), keepAlive));
            case RouteKind::State:
                return Send(
                    Answer(http::status::ok, StateJson(*m_shared.latest, access == Access::Control), keepAlive));
            case RouteKind::ControlPage:
            case RouteKind::ViewPage:
                return SendPage(
                    route.kind == RouteKind::ControlPage ? m_shared.config.controlPage : m_shared.config.viewPage, key,
                    keepAlive);
            case RouteKind::File:
                return SendFile(route.word, keepAlive);
            case RouteKind::WebSocket:
                // The cookie rides along with any page's socket; only the clock's own pages may use it.
                if (byCookie && !ownOrigin) break;
                return Upgrade(std::move(request), access);
            case RouteKind::Order:
                // Likewise with any page's <img> or form: an order on the cookie only as the pages send it.
                if (byCookie && !(ownOrigin && request.method() == http::verb::post && request["X-Tallyglass"] == "1"))
                    break;
                return Order(route.command, access, keepAlive);
        }
        ++m_shared.refused.foreign;
        Send(Answer(http::status::forbidden, ErrorJson("not from the clock's own pages"), keepAlive));
    }

    void WrongKey(bool keepAlive) {
        switch (m_shared.lockOut.Failed(m_address, SteadyMs())) {
            case LockOut::Verdict::Refused:
                ++m_shared.refused.lockedOut;
                return Send(
                    Answer(http::status::too_many_requests, ErrorJson("too many wrong keys; wait a minute"), false));
            case LockOut::Verdict::LockedNow:
                m_shared.Log(m_address + " locked out for a minute after ten wrong keys");
                break;
            case LockOut::Verdict::Counted:
                break;
        }
        ++m_shared.refused.wrongKey;
        Send(Answer(http::status::unauthorized, ErrorJson("a valid key is needed"), keepAlive));
    }

    void Order(const ClockCommand& order, Access access, bool keepAlive) {
        if (access != Access::Control)
            return Send(Answer(http::status::forbidden, ErrorJson("this key may only view"), keepAlive));
        // The clock gets an id, never this session: it answers the id, and this thread finds
        // the session, if it is still there, when the answer comes.
        m_answerId = m_shared.nextAnswerId++;
        m_keepAlive = keepAlive;
        m_shared.waiting[m_answerId] = weak_from_this();
        // Armed before the sink is called: if that throws, the order still gets its 503.
        m_answerTimer.expires_after(m_shared.config.answerWait);
        m_answerTimer.async_wait([self = shared_from_this(), id = m_answerId](error_code ec) {
            if (ec) return;
            self->m_shared.waiting.erase(id);
            self->Answered(id, nullptr);
        });
        if (m_shared.Order(order, m_answerId)) return;
        m_shared.waiting.erase(m_answerId);
        m_answerId = 0;
        m_answerTimer.cancel();
        ++m_shared.refused.busy;
        Send(Answer(http::status::service_unavailable, ErrorJson("the clock is busy; try again"), keepAlive));
    }

    // The key goes into a cookie, so that the page's own requests and socket carry it.
    void SendPage(const std::string& page, const std::string& key, bool keepAlive) {
        auto response = Answer(http::status::ok, page, keepAlive, "text/html; charset=utf-8");
        response.set(http::field::set_cookie,
                     std::string(kKeyCookie) + "=" + key + "; Path=/; HttpOnly; SameSite=Strict");
        response.set("Content-Security-Policy",
                     "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self' "
                     "data:; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
        Send(std::move(response));
    }

    void SendFile(const std::string& name, bool keepAlive) {
        const auto found = m_shared.config.files.find(name);
        if (found == m_shared.config.files.end())
            return Send(Answer(http::status::not_found, ErrorJson("no such path"), keepAlive));
        Send(Answer(http::status::ok, found->second, keepAlive, TypeOf(name)));
    }

    void Upgrade(http::request<http::string_body> request, Access access) {
        if (!websocket::is_upgrade(request))
            return Send(Answer(http::status::bad_request, ErrorJson("this path takes a WebSocket"), false));
        m_stream.expires_never();
        auto session =
            std::make_shared<WebSocketSession>(m_stream.release_socket(), m_shared, access, std::move(m_slot));
        session->Accept(std::move(request));
    }

    void Send(http::response<http::string_body> response) {
        auto message = std::make_shared<http::response<http::string_body>>(std::move(response));
        m_stream.expires_after(kSilence);
        http::async_write(m_stream, *message, [self = shared_from_this(), message](error_code ec, size_t) {
            if (ec || !message->keep_alive()) return self->Close();
            self->Read();
        });
    }

    beast::tcp_stream m_stream;
    beast::flat_buffer m_buffer{kReadBufferLimit};
    std::optional<http::request_parser<http::string_body>> m_parser;
    Shared& m_shared;
    ConnectionSlot m_slot;
    std::string m_address, m_localAddress;
    bool m_reserved;
    bool m_keyed = false;
    uint64_t m_bytesRead = 0;
    uint64_t m_answerId = 0;  // the order waiting for the clock's answer, if any
    bool m_keepAlive = true;
    net::steady_timer m_answerTimer{m_stream.get_executor()};
};

namespace {
// A connection beyond the slots is told why and closed.
void Refuse(tcp::socket socket) {
    auto stream = std::make_shared<beast::tcp_stream>(std::move(socket));
    auto message = std::make_shared<http::response<http::string_body>>(
        Answer(http::status::service_unavailable, ErrorJson("too many connections"), false));
    stream->expires_after(kSilence);
    http::async_write(*stream, *message, [stream, message](error_code, size_t) {
        error_code ignored;
        stream->socket().shutdown(tcp::socket::shutdown_both, ignored);
    });
}

}  // namespace

// Handlers of the server itself hold it by pointer: it outlives its io_context's thread.
void RemoteServer::Impl::Accept() {
    acceptor.async_accept([this](error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted) return;
        if (ec) {
            // Tried again shortly, so that a lasting failure (no sockets left) does not spin.
            Log("accepting a connection failed: " + ec.message());
            retryAccept.expires_after(std::chrono::milliseconds(100));
            return retryAccept.async_wait([this](error_code e) {
                if (!e) Accept();
            });
        }
        // Re-armed before this one is handled: nothing below can end accepting.
        Accept();
        Admit(std::move(socket));
    });
}

void RemoteServer::Impl::Admit(tcp::socket socket) {
    error_code ec;
    const auto remote = socket.remote_endpoint(ec);
    if (ec) return;  // gone already
    const std::string address = remote.address().to_string();
    const auto mine = perAddress.find(address);
    const bool crowded = address != "127.0.0.1" && mine != perAddress.end() && mine->second >= kMaxPerAddress;
    if (connections >= kMaxConnections || crowded) {
        ++refused.slots;
        return Refuse(std::move(socket));
    }
    const bool reserved = connections >= kMaxConnections - kControlSlots;
    std::make_shared<HttpSession>(std::move(socket), *this, ConnectionSlot(*this, address), address, reserved)->Read();
}

void RemoteServer::Impl::ReceiveOsc() {
    osc.async_receive_from(net::buffer(oscBuffer), oscSender, [this](error_code ec, size_t size) {
        if (ec == net::error::operation_aborted) return;
        // Copied out and re-armed first: the next datagram may land in the buffer while this
        // one is read, and nothing below can end receiving.
        const std::vector<uint8_t> datagram(oscBuffer.begin(), oscBuffer.begin() + (ec ? 0 : size));
        const udp::endpoint sender = oscSender;
        ReceiveOsc();
        if (!ec) OnOsc(datagram, sender);
    });
}

void RemoteServer::Impl::OnOsc(const std::vector<uint8_t>& datagram, const udp::endpoint& sender) {
    // OSC carries no key: only this machine, unless the user trusts the network.
    if (!config.oscFromAnywhere && !sender.address().is_loopback()) return;
    const std::string address = sender.address().to_string();
    for (const OscMessage& message : DecodeOscPacket(datagram.data(), datagram.size())) {
        const std::optional<CommandCheck> check = CommandFromOsc(message);
        if (!check || !check->command) continue;
        if (!oscRate.Take(address, SteadyMs()) || !Order(*check->command, 0)) ++refused.oscDropped;
    }
}

void RemoteServer::Impl::Broadcast(const SnapshotPtr& snapshot) {
    latest = snapshot;
    const Text forControl = std::make_shared<const std::string>(StateJson(*snapshot, true));
    const Text forViewing = std::make_shared<const std::string>(StateJson(*snapshot, false));
    for (WebSocketSession* viewer : viewers) viewer->Send(viewer->Controls() ? forControl : forViewing);
    if (!feedback) return;
    OscMessage state{"/tallyglass/state", {}};
    state.arguments = {OscArgument(snapshot->text), OscArgument(snapshot->remaining), OscArgument(snapshot->phase)};
    auto packet = std::make_shared<std::vector<uint8_t>>(EncodeOscMessage(state));
    osc.async_send_to(net::buffer(*packet), *feedback, [packet](error_code, size_t) {});
}

void RemoteServer::Impl::Deliver(uint64_t id, SnapshotPtr state) {
    const auto found = waiting.find(id);
    if (found == waiting.end()) return;  // answered 503 already, or its connection is gone
    const auto session = found->second.lock();
    waiting.erase(found);
    if (session) session->Answered(id, state ? state : latest);
}

void RemoteServer::Impl::Summarize() {
    const std::string line = refused.Line();
    if (!line.empty()) Log(line);
    refused = {};
}

void RemoteServer::Impl::GoAway() {
    stopping = true;
    error_code ignored;
    acceptor.close(ignored);
    osc.close(ignored);
    retryAccept.cancel();
    summary.cancel();
    // A copy: a session that closes at once may leave the list.
    for (Session* session : std::vector<Session*>(sessions.begin(), sessions.end())) session->GoAway();
    if (closing == 0) return ioc.stop();
    stopWait.expires_after(kStopWait);
    stopWait.async_wait([this](error_code ec) {
        if (!ec) ioc.stop();
    });
}

// What is left of the sessions ends here, on the network thread, never on the clock's.
void RemoteServer::Impl::Drain() {
    draining = true;
    for (Session* session : std::vector<Session*>(sessions.begin(), sessions.end())) session->Close();
    stopWait.cancel();
    Summarize();
    ioc.restart();
    try {
        ioc.run_for(kStopWait);
    } catch (const std::exception& e) {
        Log(std::string("a handler failed at exit: ") + e.what());
    }
    // Work left now would end with the io_context, on whichever thread destroys the server.
    if (!ioc.stopped()) Log("connections still open half a second after the close");
}

RemoteServer::RemoteServer(RemoteConfig config, OrderSink sink)
    : m_impl(std::make_unique<Impl>(std::move(config), std::move(sink))) {}

RemoteServer::~RemoteServer() { Stop(); }

std::string RemoteServer::Start() {
    Impl& impl = *m_impl;
    error_code ec;
    const auto address = net::ip::make_address_v4(impl.config.address, ec);
    if (ec) return "the address " + impl.config.address + " is not an IPv4 address";
    const std::string where = impl.config.address + ":" + std::to_string(impl.config.port);
    impl.acceptor.open(tcp::v4(), ec);
    // No SO_REUSEADDR: on Windows it would let a second program take the port from under the first.
    if (!ec) impl.acceptor.bind(tcp::endpoint(address, impl.config.port), ec);
    if (!ec) impl.acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (!ec) impl.port = impl.acceptor.local_endpoint(ec).port();
    if (ec) return "TCP " + where + ": " + ec.message();
    impl.osc.open(udp::v4(), ec);
    if (!ec) impl.osc.bind(udp::endpoint(address, impl.port), ec);
    if (ec) return "UDP " + where + ": " + ec.message();
    if (!impl.config.feedbackAddress.empty()) {
        const auto to = net::ip::make_address_v4(impl.config.feedbackAddress, ec);
        if (ec) return "the feedback address " + impl.config.feedbackAddress + " is not an IPv4 address";
        impl.feedback = udp::endpoint(to, impl.config.feedbackPort);
    }
    impl.Accept();
    impl.ReceiveOsc();
    impl.thread = std::thread([shared = m_impl.get()] {
        shared->ArmSummary();
        // A failure in one handler ends that handler, never the server: the listeners were
        // re-armed before it ran.
        for (;;) {
            try {
                shared->ioc.run();
                break;
            } catch (const std::exception& e) {
                shared->Log(std::string("a handler failed: ") + e.what());
            }
        }
        shared->Drain();
    });
    return {};
}

uint16_t RemoteServer::Port() const { return m_impl->port; }

void RemoteServer::Publish(SnapshotPtr snapshot) {
    if (!snapshot) return;
    net::post(m_impl->ioc, [impl = m_impl.get(), snapshot = std::move(snapshot)] { impl->Broadcast(snapshot); });
}

void RemoteServer::Answer(uint64_t answerId, SnapshotPtr state) {
    net::post(m_impl->ioc,
              [impl = m_impl.get(), answerId, state = std::move(state)] { impl->Deliver(answerId, state); });
}

void RemoteServer::Stop() {
    if (!m_impl->thread.joinable()) return;
    net::post(m_impl->ioc, [impl = m_impl.get()] { impl->GoAway(); });
    m_impl->thread.join();
}

}  // namespace tallyglass
