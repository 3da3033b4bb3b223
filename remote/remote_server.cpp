#include "remote/remote_server.h"

#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

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

constexpr size_t kMaxConnections = 64;
constexpr auto kSilence = std::chrono::seconds(10);
constexpr size_t kHeaderLimit = 16 * 1024;
constexpr size_t kBodyLimit = 64 * 1024;
// States a WebSocket client may fall behind by before it is dropped as too slow.
constexpr size_t kMaxQueuedStates = 16;

std::string_view View(beast::string_view text) { return {text.data(), text.size()}; }

uint64_t SteadyMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}
}  // namespace

class WebSocketSession;

// Members that sessions touch come before the io_context: a session still held by a
// handler is destroyed with the io_context, and may then still count itself out.
struct RemoteServer::Impl : std::enable_shared_from_this<RemoteServer::Impl> {
    Impl(RemoteConfig c, OrderSink s) : config(std::move(c)), sink(std::move(s)) {}

    RemoteConfig config;
    OrderSink sink;
    LockOut lockOut;
    SnapshotPtr latest = std::make_shared<ClockSnapshot>();
    size_t connections = 0;
    std::vector<std::weak_ptr<WebSocketSession>> viewers;
    std::optional<udp::endpoint> feedback;
    udp::endpoint oscSender;
    std::vector<uint8_t> oscBuffer = std::vector<uint8_t>(65536);
    net::io_context ioc{1};
    tcp::acceptor acceptor{ioc};
    udp::socket osc{ioc};
    std::thread thread;

    void Accept();
    void ReceiveOsc();
    void OnOsc(size_t size);
    void Broadcast(const SnapshotPtr& snapshot);
    void Order(const tallyglass::ClockCommand& command, std::function<void(SnapshotPtr)> answer) {
        if (sink) sink(command, std::move(answer));
    }
};

namespace {
using Shared = RemoteServer::Impl;

// One of the 64 connections, given back when its session ends.
class ConnectionSlot {
public:
    explicit ConnectionSlot(Shared& shared) : m_shared(&shared) { ++shared.connections; }
    ConnectionSlot(ConnectionSlot&& other) noexcept : m_shared(std::exchange(other.m_shared, nullptr)) {}
    ConnectionSlot& operator=(ConnectionSlot&&) = delete;
    ~ConnectionSlot() {
        if (m_shared) --m_shared->connections;
    }

private:
    Shared* m_shared;
};
}  // namespace

class WebSocketSession : public std::enable_shared_from_this<WebSocketSession> {
public:
    WebSocketSession(tcp::socket socket, Shared& shared, Access access, ConnectionSlot slot)
        : m_ws(std::move(socket)), m_shared(shared), m_access(access), m_slot(std::move(slot)) {}

    void Accept(http::request<http::string_body> request) {
        m_ws.set_option(websocket::stream_base::timeout{kSilence, kSilence, true});
        m_ws.read_message_max(kBodyLimit);
        m_ws.async_accept(request, [self = shared_from_this()](error_code ec) {
            if (ec) return;
            self->m_shared.viewers.push_back(self);
            self->Send(StateJson(*self->m_shared.latest, self->Controls()));
            self->Read();
        });
    }

    bool Controls() const { return m_access == Access::Control; }

    void Send(std::string text) {
        if (m_queue.size() > kMaxQueuedStates) return Drop();
        m_queue.push_back(std::move(text));
        if (m_queue.size() == 1) Write();
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
        if (!Controls()) return Send(ErrorJson("this key may only view"));
        const tallyglass::CommandCheck parsed = ParseOrderJson(text);
        if (!parsed.command) return Send(ErrorJson(parsed.why, parsed.word));
        // The new state reaches this socket as every state does.
        m_shared.Order(*parsed.command, nullptr);
    }

    void Write() {
        m_ws.text(true);
        m_ws.async_write(net::buffer(m_queue.front()), [self = shared_from_this()](error_code ec, size_t) {
            self->m_queue.pop_front();
            if (ec) return self->Drop();
            if (!self->m_queue.empty()) self->Write();
        });
    }

    void Drop() {
        error_code ignored;
        beast::get_lowest_layer(m_ws).socket().close(ignored);
    }

    websocket::stream<beast::tcp_stream> m_ws;
    beast::flat_buffer m_buffer;
    std::deque<std::string> m_queue;  // the front one is being written
    Shared& m_shared;
    Access m_access;
    ConnectionSlot m_slot;
};

namespace {
http::response<http::string_body> Answer(http::status status, const std::string& body, bool keepAlive,
                                         const char* type = "application/json; charset=utf-8") {
    http::response<http::string_body> response{status, 11};
    response.set(http::field::server, "Tallyglass");
    response.set(http::field::content_type, type);
    response.set(http::field::cache_control, "no-store");
    response.keep_alive(keepAlive);
    response.body() = body;
    response.prepare_payload();
    return response;
}

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(tcp::socket socket, Shared& shared, ConnectionSlot slot)
        : m_stream(std::move(socket)), m_shared(shared), m_slot(std::move(slot)) {
        error_code ec;
        const auto remote = m_stream.socket().remote_endpoint(ec);
        m_address = ec ? std::string("?") : remote.address().to_string();
    }

    void Read() {
        m_parser.emplace();
        m_parser->header_limit(kHeaderLimit);
        m_parser->body_limit(kBodyLimit);
        m_stream.expires_after(kSilence);
        http::async_read(m_stream, m_buffer, *m_parser,
                         [self = shared_from_this()](error_code ec, size_t) { self->OnRead(ec); });
    }

private:
    void OnRead(error_code ec) {
        if (ec == http::error::header_limit)
            return Send(Answer(http::status::request_header_fields_too_large, ErrorJson("headers too large"), false));
        if (ec == http::error::body_limit)
            return Send(Answer(http::status::payload_too_large, ErrorJson("body too large"), false));
        if (ec) return Close();  // silent, gone or malformed
        Handle(m_parser->release());
    }

    void Handle(http::request<http::string_body> request) {
        const bool keepAlive = request.keep_alive();
        const uint64_t now = SteadyMs();
        if (m_shared.lockOut.Locked(m_address, now))
            return Send(
                Answer(http::status::too_many_requests, ErrorJson("too many wrong keys; wait a minute"), false));
        const std::string target(View(request.target()));
        const std::string key =
            PresentedKey(target, View(request[http::field::authorization]), View(request[http::field::cookie]));
        const Access access = AccessFor(m_shared.config.keys, key);
        if (access == Access::None) {
            m_shared.lockOut.Failed(m_address, now);
            return Send(Answer(http::status::unauthorized, ErrorJson("a valid key is needed"), keepAlive));
        }
        const Route route = RouteRequest(View(request.method_string()), target);
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
            case RouteKind::WebSocket:
                return Upgrade(std::move(request), access);
            case RouteKind::Order:
                break;
        }
        if (access != Access::Control)
            return Send(Answer(http::status::forbidden, ErrorJson("this key may only view"), keepAlive));
        // Called on the clock's thread: the session is moved into the handler posted back,
        // so that this thread never lets go of the last reference to it.
        std::weak_ptr<Shared> shared = m_shared.shared_from_this();
        m_shared.Order(route.command, [self = shared_from_this(), shared, keepAlive](SnapshotPtr state) mutable {
            const auto alive = shared.lock();
            if (!alive || !state) return;
            net::post(alive->ioc, [self = std::move(self), state, keepAlive] {
                self->Send(Answer(http::status::ok, StateJson(*state, true), keepAlive));
            });
        });
    }

    // The key goes into a cookie, so that the page's own requests and socket carry it.
    void SendPage(const std::string& page, const std::string& key, bool keepAlive) {
        auto response = Answer(http::status::ok, page, keepAlive, "text/html; charset=utf-8");
        response.set(http::field::set_cookie,
                     std::string(kKeyCookie) + "=" + key + "; Path=/; HttpOnly; SameSite=Strict");
        response.set("Content-Security-Policy",
                     "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; "
                     "img-src 'self' data:");
        response.set("X-Content-Type-Options", "nosniff");
        Send(std::move(response));
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

    void Close() {
        error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        m_stream.close();
    }

    beast::tcp_stream m_stream;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
    Shared& m_shared;
    ConnectionSlot m_slot;
    std::string m_address;
};

// The 65th connection is told why and closed.
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
    acceptor.async_accept([self = this](error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted) return;
        if (!ec) {
            if (self->connections >= kMaxConnections)
                Refuse(std::move(socket));
            else
                std::make_shared<HttpSession>(std::move(socket), *self, ConnectionSlot(*self))->Read();
        }
        self->Accept();
    });
}

void RemoteServer::Impl::ReceiveOsc() {
    osc.async_receive_from(net::buffer(oscBuffer), oscSender, [self = this](error_code ec, size_t size) {
        if (ec == net::error::operation_aborted) return;
        if (!ec) self->OnOsc(size);
        self->ReceiveOsc();
    });
}

void RemoteServer::Impl::OnOsc(size_t size) {
    // OSC carries no key: only this machine, unless the user trusts the network.
    if (!config.oscFromAnywhere && !oscSender.address().is_loopback()) return;
    for (const OscMessage& message : DecodeOscPacket(oscBuffer.data(), size)) {
        const std::optional<tallyglass::CommandCheck> check = CommandFromOsc(message);
        if (check && check->command) Order(*check->command, nullptr);
    }
}

void RemoteServer::Impl::Broadcast(const SnapshotPtr& snapshot) {
    latest = snapshot;
    const std::string forControl = StateJson(*snapshot, true), forViewing = StateJson(*snapshot, false);
    std::vector<std::weak_ptr<WebSocketSession>> still;
    for (const auto& weak : viewers) {
        const auto viewer = weak.lock();
        if (!viewer) continue;
        viewer->Send(viewer->Controls() ? forControl : forViewing);
        still.push_back(viewer);
    }
    viewers = std::move(still);
    if (!feedback) return;
    OscMessage state{"/tallyglass/state", {}};
    state.arguments = {OscArgument(snapshot->text), OscArgument(snapshot->remaining), OscArgument(snapshot->phase)};
    auto packet = std::make_shared<std::vector<uint8_t>>(EncodeOscMessage(state));
    osc.async_send_to(net::buffer(*packet), *feedback, [packet](error_code, size_t) {});
}

RemoteServer::RemoteServer(RemoteConfig config, OrderSink sink)
    : m_impl(std::make_shared<Impl>(std::move(config), std::move(sink))) {}

RemoteServer::~RemoteServer() { Stop(); }

std::string RemoteServer::Start() {
    Impl& impl = *m_impl;
    error_code ec;
    const auto address = net::ip::make_address_v4(impl.config.address, ec);
    if (ec) return "the address " + impl.config.address + " is not an IPv4 address";
    const tcp::endpoint endpoint(address, impl.config.port);
    const std::string where = impl.config.address + ":" + std::to_string(impl.config.port);
    impl.acceptor.open(endpoint.protocol(), ec);
    // No SO_REUSEADDR: on Windows it would let a second program take the port from under the first.
    if (!ec) impl.acceptor.bind(endpoint, ec);
    if (!ec) impl.acceptor.listen(net::socket_base::max_listen_connections, ec);
    if (ec) return "TCP " + where + ": " + ec.message();
    impl.osc.open(udp::v4(), ec);
    if (!ec) impl.osc.bind(udp::endpoint(address, impl.config.port), ec);
    if (ec) return "UDP " + where + ": " + ec.message();
    if (!impl.config.feedbackAddress.empty()) {
        const auto to = net::ip::make_address_v4(impl.config.feedbackAddress, ec);
        if (ec) return "the feedback address " + impl.config.feedbackAddress + " is not an IPv4 address";
        impl.feedback = udp::endpoint(to, impl.config.feedbackPort);
    }
    impl.Accept();
    impl.ReceiveOsc();
    impl.thread = std::thread([shared = m_impl.get()] {
        // A failure in one handler ends that handler, never the clock.
        for (;;) {
            try {
                shared->ioc.run();
                return;
            } catch (const std::exception&) {
            }
        }
    });
    return {};
}

void RemoteServer::Publish(SnapshotPtr snapshot) {
    if (!snapshot) return;
    net::post(m_impl->ioc, [impl = m_impl.get(), snapshot = std::move(snapshot)] { impl->Broadcast(snapshot); });
}

void RemoteServer::Stop() {
    if (!m_impl->thread.joinable()) return;
    m_impl->ioc.stop();
    m_impl->thread.join();
}

}  // namespace tallyglass
