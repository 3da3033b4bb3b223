#pragma once
// A connection's requests: the Host, the key, the Origin, then the route's answer; an
// order waits for the clock's, and a WebSocket's request becomes a WebSocketSession.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "remote/http_route.h"
#include "remote/server_parts.h"

namespace tallyglass::server {

class HttpSession : public Session, public AnswerWaiter, public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(tcp::socket socket, Shared& shared, ConnectionSlot slot, std::string address, bool reserved);
    ~HttpSession() override;

    void Read();
    // The clock's answer to this session's order, or none in time (503); either way it carries on.
    void Answered(uint64_t id, const SnapshotPtr& state, bool changed) override;
    void GoAway() override { Close(); }
    void Close() override;

private:
    bool Failed(error_code ec);
    void OnHeader(error_code ec, size_t bytes);
    bool HostAllowed(std::string_view host) const;
    void Handle(http::request<http::string_body> request);
    void WrongKey(RouteKind route, bool keyGiven, bool keepAlive);
    void Order(const ClockCommand& order, Access access, bool keepAlive);
    void SendPage(const std::string& page, const std::string& key, std::string_view target, bool keepAlive);
    void SendFile(const std::string& name, bool keepAlive);
    void Upgrade(http::request<http::string_body> request, Access access, bool keepAlive, bool page);
    void Send(http::response<http::string_body> response);

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

// A connection beyond the slots is told why and closed.
void Refuse(tcp::socket socket);

}  // namespace tallyglass::server
