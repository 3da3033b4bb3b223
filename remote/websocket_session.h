#pragma once
// A WebSocket: the state to every viewer as it changes, orders from a control key's.
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "remote/server_parts.h"

namespace tallyglass::server {

class WebSocketSession : public Session, public AnswerWaiter, public std::enable_shared_from_this<WebSocketSession> {
public:
    // keepAlive: whether it hears from the clock every second when nothing changes.
    // page: one of the clock's own pages, riding on its cookie (for the run log's way in).
    WebSocketSession(tcp::socket socket, Shared& shared, Access access, ConnectionSlot slot, bool keepAlive, bool page);
    ~WebSocketSession() override;
    WebSocketSession(const WebSocketSession&) = delete;
    WebSocketSession& operator=(const WebSocketSession&) = delete;

    void Accept(http::request<http::string_body> request);
    bool Controls() const { return m_access == Access::Control; }
    // A state not yet sent is replaced by a newer one: a viewer needs only the latest.
    void Send(Text text, bool state = true);
    // When asked for, and only when nothing waits to be written: anything sent says as much.
    void KeepAlive(const Text& text) {
        if (m_keepAlive && m_queue.empty()) Send(text, false);
    }
    // The clock's answer to an order that carried an id.
    void Answered(uint64_t id, const SnapshotPtr& state, bool changed) override;
    void GoAway() override;
    void Close() override;

private:
    void Read();
    void OnMessage(const std::string& text);
    void SendText(std::string text) { Send(std::make_shared<const std::string>(std::move(text)), false); }
    void Write();

    websocket::stream<beast::tcp_stream> m_ws;
    beast::flat_buffer m_buffer;
    std::deque<std::pair<Text, bool>> m_queue;  // and whether it is a state; the front one is being written
    Shared& m_shared;
    Access m_access;
    ConnectionSlot m_slot;
    bool m_goingAway = false;
    bool m_keepAlive;
    bool m_page;
    std::unordered_map<uint64_t, uint64_t> m_orderIds;  // the page's id of each order waiting, by answer id
};

}  // namespace tallyglass::server
