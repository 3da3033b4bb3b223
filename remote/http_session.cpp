#include "remote/http_session.h"

#include <cctype>

#include "remote/key_page.h"
#include "remote/websocket_session.h"

namespace tallyglass::server {

namespace {
std::string_view View(beast::string_view text) { return {text.data(), text.size()}; }

ClockCommand WithWayIn(ClockCommand command, WayIn way) {
    command.wayIn = way;
    return command;
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

HttpSession::HttpSession(tcp::socket socket, Shared& shared, ConnectionSlot slot, std::string address, bool reserved)
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

HttpSession::~HttpSession() {
    m_shared.sessions.erase(this);
    if (m_answerId) m_shared.waiting.erase(m_answerId);
}

void HttpSession::Read() {
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

void HttpSession::Answered(uint64_t id, const SnapshotPtr& state, bool changed) {
    if (id != m_answerId) return;
    m_answerId = 0;
    m_answerTimer.cancel();
    if (state) return Send(Answer(http::status::ok, StateJson(*state, true, changed), m_keepAlive));
    ++m_shared.refused.late;
    Send(Answer(http::status::service_unavailable, ErrorJson("the clock did not answer in time"), m_keepAlive));
}

void HttpSession::Close() {
    m_answerTimer.cancel();
    error_code ignored;
    m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
    m_stream.close();
}

bool HttpSession::Failed(error_code ec) {
    if (ec == http::error::header_limit)
        Send(Answer(http::status::request_header_fields_too_large, ErrorJson("headers too large"), false));
    else if (ec == http::error::body_limit)
        Send(Answer(http::status::payload_too_large, ErrorJson("body too large"), false));
    else if (ec)
        Close();  // silent, gone, malformed or over the read buffer
    return bool(ec);
}

void HttpSession::OnHeader(error_code ec, size_t bytes) {
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

bool HttpSession::HostAllowed(std::string_view host) const {
    const std::string_view name = HostName(host);
    if (SameName(name, "localhost") || name == "127.0.0.1" || name == m_localAddress || name == m_shared.config.address)
        return !name.empty();
    for (const std::string& allowed : m_shared.config.hostNames)
        if (SameName(name, allowed)) return true;
    return false;
}

void HttpSession::Handle(http::request<http::string_body> request) {
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
    const Route route = RouteRequest(View(request.method_string()), target);
    if (access == Access::None) return WrongKey(route.kind, !key.empty(), keepAlive);
    m_shared.lockOut.Passed(m_address);
    if (m_reserved && access != Access::Control) {
        ++m_shared.refused.slots;
        return Send(Answer(http::status::service_unavailable, ErrorJson("too many connections"), false));
    }
    m_keyed = true;
    // A browser names the page's origin on a WebSocket and on a POST; a program with its key names none.
    const std::string_view origin = View(request[http::field::origin]);
    const bool ownOrigin = origin == "http://" + std::string(host);
    if ((route.kind == RouteKind::WebSocket || route.kind == RouteKind::Order) && !origin.empty() && !ownOrigin) {
        ++m_shared.refused.foreign;
        return Send(Answer(http::status::forbidden, ErrorJson("not from the clock's own pages"), keepAlive));
    }
    switch (route.kind) {
        case RouteKind::Error:
            return Send(Answer(static_cast<http::status>(route.status), ErrorJson(route.error, route.word), keepAlive));
        case RouteKind::Report:
            if (access != Access::Control)
                return Send(Answer(http::status::forbidden, ErrorJson("the report needs the control key"), keepAlive));
            if (!m_shared.config.report)
                return Send(Answer(http::status::not_found, ErrorJson("no run log"), keepAlive));
            return Send(Answer(http::status::ok, m_shared.config.report(m_shared.latest->segments), keepAlive,
                               "text/csv; charset=utf-8"));
        case RouteKind::State:
            return Send(Answer(http::status::ok, StateJson(*m_shared.latest, access == Access::Control), keepAlive));
        case RouteKind::ControlPage:
            return SendPage(m_shared.config.controlPage, key, target, keepAlive);
        case RouteKind::ViewPage:
            return SendPage(m_shared.config.viewPage, key, target, keepAlive);
        case RouteKind::OverlayPage:
            return SendPage(m_shared.config.overlayPage, key, target, keepAlive);
        case RouteKind::File:
            return SendFile(route.word, keepAlive);
        case RouteKind::WebSocket:
            // The cookie rides along with any page's socket; only the clock's own pages may use it.
            if (byCookie && !ownOrigin) break;
            // The clock's pages hear from it every second; a program asks for that, so that
            // one that reads every message as a state is not handed anything else.
            return Upgrade(std::move(request), access, byCookie || QueryValue(target, "keepalive") == "1", byCookie);
        case RouteKind::Order:
            // Likewise with any page's <img> or form: an order on the cookie only as the pages send it.
            if (byCookie && !(ownOrigin && request.method() == http::verb::post && request["X-Tallyglass"] == "1"))
                break;
            return Order(WithWayIn(route.command, byCookie ? WayIn::Page : WayIn::Api), access, keepAlive);
    }
    ++m_shared.refused.foreign;
    Send(Answer(http::status::forbidden, ErrorJson("not from the clock's own pages"), keepAlive));
}

// A person who opened a page gets a page saying where a link comes from; a program, JSON.
void HttpSession::WrongKey(RouteKind route, bool keyGiven, bool keepAlive) {
    const bool page =
        route == RouteKind::ControlPage || route == RouteKind::ViewPage || route == RouteKind::OverlayPage;
    const auto answer = [&](http::status status, KeyTrouble trouble, const char* error, bool keep) {
        if (!page) return Answer(status, ErrorJson(error), keep);
        auto response = Answer(status, KeyPage(trouble, m_shared.config.language), keep, "text/html; charset=utf-8");
        response.set("Content-Security-Policy",
                     "default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'");
        return response;
    };
    switch (m_shared.lockOut.Failed(m_address, SteadyMs())) {
        case LockOut::Verdict::Refused:
            ++m_shared.refused.lockedOut;
            return Send(answer(http::status::too_many_requests, KeyTrouble::LockedOut,
                               "too many wrong keys; wait a minute", false));
        case LockOut::Verdict::LockedNow:
            m_shared.Log(m_address + " locked out for a minute after ten wrong keys");
            break;
        case LockOut::Verdict::Counted:
            break;
    }
    ++m_shared.refused.wrongKey;
    Send(answer(http::status::unauthorized, keyGiven ? KeyTrouble::Wrong : KeyTrouble::Missing, "a valid key is needed",
                keepAlive));
}

void HttpSession::Order(const ClockCommand& order, Access access, bool keepAlive) {
    if (access != Access::Control)
        return Send(Answer(http::status::forbidden, ErrorJson("this key may only view"), keepAlive));
    // The clock gets an id, never this session: it answers the id, and this thread finds
    // the session, if it is still there, when the answer comes.
    m_answerId = m_shared.nextAnswerId++;
    m_keepAlive = keepAlive;
    m_shared.waiting[m_answerId] = std::weak_ptr<AnswerWaiter>(shared_from_this());
    // Armed before the sink is called: if that throws, the order still gets its 503.
    m_answerTimer.expires_after(m_shared.config.answerWait);
    m_answerTimer.async_wait([self = shared_from_this(), id = m_answerId](error_code ec) {
        if (ec) return;
        self->m_shared.waiting.erase(id);
        self->Answered(id, nullptr, false);
    });
    if (m_shared.Order(order, m_answerId)) return;
    m_shared.waiting.erase(m_answerId);
    m_answerId = 0;
    m_answerTimer.cancel();
    ++m_shared.refused.busy;
    Send(Answer(http::status::service_unavailable, ErrorJson("the clock is busy; try again"), keepAlive));
}

// The key goes into a cookie, so that the page's own requests and socket carry it.
void HttpSession::SendPage(const std::string& page, const std::string& key, std::string_view target, bool keepAlive) {
    auto response = Answer(http::status::ok, page, keepAlive, "text/html; charset=utf-8");
    response.set(http::field::set_cookie,
                 std::string(KeyCookieFor(target)) + "=" + key + "; Path=/; HttpOnly; SameSite=Strict");
    response.set("Content-Security-Policy",
                 "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self' "
                 "data:; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
    Send(std::move(response));
}

void HttpSession::SendFile(const std::string& name, bool keepAlive) {
    const auto found = m_shared.config.files.find(name);
    if (found == m_shared.config.files.end())
        return Send(Answer(http::status::not_found, ErrorJson("no such path"), keepAlive));
    Send(Answer(http::status::ok, found->second, keepAlive, TypeOf(name)));
}

void HttpSession::Upgrade(http::request<http::string_body> request, Access access, bool keepAlive, bool page) {
    if (!websocket::is_upgrade(request))
        return Send(Answer(http::status::bad_request, ErrorJson("this path takes a WebSocket"), false));
    m_stream.expires_never();
    auto session = std::make_shared<WebSocketSession>(m_stream.release_socket(), m_shared, access, std::move(m_slot),
                                                      keepAlive, page);
    session->Accept(std::move(request));
}

void HttpSession::Send(http::response<http::string_body> response) {
    auto message = std::make_shared<http::response<http::string_body>>(std::move(response));
    m_stream.expires_after(kSilence);
    http::async_write(m_stream, *message, [self = shared_from_this(), message](error_code ec, size_t) {
        if (ec || !message->keep_alive()) return self->Close();
        self->Read();
    });
}

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

}  // namespace tallyglass::server
