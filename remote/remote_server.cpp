#include "remote/remote_server.h"

#include "remote/http_session.h"
#include "remote/key_page.h"
#include "remote/osc_packet.h"
#include "remote/server_parts.h"
#include "remote/websocket_session.h"

namespace tallyglass {

using namespace server;

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
        std::optional<CommandCheck> check = CommandFromOsc(message);
        if (!check || !check->command) continue;
        check->command->wayIn = WayIn::Osc;
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

void RemoteServer::Impl::Deliver(uint64_t id, SnapshotPtr state, bool changed) {
    const auto found = waiting.find(id);
    if (found == waiting.end()) return;  // answered 503 already, or its connection is gone
    const auto session = found->second.lock();
    waiting.erase(found);
    if (session) session->Answered(id, state ? state : latest, changed);
}

void RemoteServer::Impl::ArmKeepAlive() {
    keepAlive.expires_after(kKeepAliveEvery);
    keepAlive.async_wait([this](error_code ec) {
        if (ec) return;
        const Text alive = std::make_shared<const std::string>(
            KeepAliveJson(config.unixNowMs ? std::optional<int64_t>(config.unixNowMs()) : std::nullopt));
        for (WebSocketSession* viewer : viewers) viewer->KeepAlive(alive);
        ArmKeepAlive();
    });
}

void RemoteServer::Impl::ArmSummary() {
    summary.expires_after(kSummaryEvery);
    summary.async_wait([this](error_code ec) {
        if (ec) return;
        Summarize();
        ArmSummary();
    });
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
    keepAlive.cancel();
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

RemoteServer::Impl::Impl(RemoteConfig c, OrderSink s) : config(std::move(c)), sink(std::move(s)) {
    // Each page knows its language before the first state: the words it starts with are right.
    for (std::string* page : {&config.controlPage, &config.viewPage, &config.overlayPage})
        *page = PageInLanguage(std::move(*page), config.language);
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
        shared->ArmKeepAlive();
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

void RemoteServer::Answer(uint64_t answerId, SnapshotPtr state, bool changed) {
    net::post(m_impl->ioc, [impl = m_impl.get(), answerId, state = std::move(state), changed] {
        impl->Deliver(answerId, state, changed);
    });
}

void RemoteServer::Stop() {
    if (!m_impl->thread.joinable()) return;
    net::post(m_impl->ioc, [impl = m_impl.get()] { impl->GoAway(); });
    m_impl->thread.join();
}

}  // namespace tallyglass
