#include "remote/websocket_session.h"

namespace tallyglass::server {

WebSocketSession::WebSocketSession(tcp::socket socket, Shared& shared, Access access, ConnectionSlot slot,
                                   bool keepAlive, bool page)
    : m_ws(std::move(socket)),
      m_shared(shared),
      m_access(access),
      m_slot(std::move(slot)),
      m_keepAlive(keepAlive),
      m_page(page) {
    m_shared.sessions.insert(this);
}

WebSocketSession::~WebSocketSession() {
    m_shared.sessions.erase(this);
    m_shared.viewers.erase(this);
    for (const auto& waiting : m_orderIds) m_shared.waiting.erase(waiting.first);
}

void WebSocketSession::Accept(http::request<http::string_body> request) {
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

void WebSocketSession::Send(Text text, bool state) {
    if (m_goingAway) return;
    if (state && m_queue.size() > 1 && m_queue.back().second) {
        m_queue.back().first = std::move(text);
        return;
    }
    if (m_queue.size() > kMaxQueued) return Close();
    m_queue.emplace_back(std::move(text), state);
    if (m_queue.size() == 1) Write();
}

void WebSocketSession::GoAway() {
    if (!m_shared.viewers.count(this) || m_goingAway) return Close();
    m_goingAway = true;
    ++m_shared.closing;
    m_ws.async_close(websocket::close_code::going_away, [self = shared_from_this()](error_code) {
        self->Close();
        self->m_shared.Closed();
    });
}

void WebSocketSession::Close() {
    error_code ignored;
    beast::get_lowest_layer(m_ws).socket().close(ignored);
}

void WebSocketSession::Read() {
    m_ws.async_read(m_buffer, [self = shared_from_this()](error_code ec, size_t) {
        if (ec) return;  // closed, timed out or a malformed frame: the session ends
        self->OnMessage(beast::buffers_to_string(self->m_buffer.data()));
        self->m_buffer.consume(self->m_buffer.size());
        self->Read();
    });
}

void WebSocketSession::OnMessage(const std::string& text) {
    if (!m_ws.got_text()) return SendText(ErrorJson("orders are JSON text; a binary message is never read"));
    if (!Controls()) return SendText(ErrorJson("this key may only view"));
    uint64_t orderId = 0;
    CommandCheck parsed = ParseOrderJson(text, &orderId);
    if (parsed.command) parsed.command->wayIn = m_page ? WayIn::Page : WayIn::Api;
    if (!parsed.command) return SendText(ErrorJson(parsed.why, parsed.word, orderId));
    // A page that asks for more answers than a slow clock gives has lost track of them.
    if (orderId && m_orderIds.size() >= kMaxQueued)
        return SendText(ErrorJson("too many orders wait for their answer", {}, orderId));
    // The new state reaches this socket as every state does; the answer only says what the order did.
    const uint64_t answerId = orderId ? m_shared.nextAnswerId++ : 0;
    if (answerId) {
        m_orderIds[answerId] = orderId;
        m_shared.waiting[answerId] = std::weak_ptr<AnswerWaiter>(shared_from_this());
    }
    if (!m_shared.Order(*parsed.command, answerId)) {
        ++m_shared.refused.busy;
        m_orderIds.erase(answerId);
        m_shared.waiting.erase(answerId);
        SendText(ErrorJson("the clock is busy; the order was not taken", {}, orderId));
    }
}

void WebSocketSession::Answered(uint64_t id, const SnapshotPtr&, bool changed) {
    const auto found = m_orderIds.find(id);
    if (found == m_orderIds.end()) return;
    const uint64_t orderId = found->second;
    m_orderIds.erase(found);
    SendText(AnswerJson(orderId, changed));
}

void WebSocketSession::Write() {
    m_ws.text(true);
    m_ws.async_write(net::buffer(*m_queue.front().first), [self = shared_from_this()](error_code ec, size_t) {
        self->m_queue.pop_front();
        if (ec) return self->Close();
        if (!self->m_queue.empty() && !self->m_goingAway) self->Write();
    });
}

}  // namespace tallyglass::server
