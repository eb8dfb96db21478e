#include "webguard.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace view {

namespace {

using Clock = std::chrono::steady_clock;

// Why a request is refused, and how: by Refusal.
enum class Refusal { None, Method, Body, HeadTooLong, TooManyLines, TooSlow };
struct RefusalAnswer
{
    int status;
    const char* reason;
    const char* text;
};
const RefusalAnswer s_refusals[] = {
    {200, "OK", ""},
    {405, "Method Not Allowed", "akdebug-view answers GET and HEAD requests only\n"},
    {413, "Payload Too Large",
     "akdebug-view takes no request body of more than 1024 bytes, nor one of unknown length\n"},
    {431, "Request Header Fields Too Large", "the request's line and headers are longer than 32768 bytes\n"},
    {431, "Request Header Fields Too Large", "the request has more than 100 header lines\n"},
    {408, "Request Timeout", "the request did not arrive whole within 5 seconds\n"},
};

// Milliseconds from now until `until`, rounded up (0 when it has passed), for poll().
int millisecondsUntil(Clock::time_point until)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60000));
}

// Waits until the socket is ready for `events` or `until` passes: true when it is ready.
bool ready(int socket, short events, Clock::time_point until)
{
    for (;;) {
        pollfd ready{socket, events, 0};
        const int n = poll(&ready, 1, millisecondsUntil(until));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

std::string addressText(const sockaddr_storage& address, int& port)
{
    char text[INET6_ADDRSTRLEN] = "";
    port = 0;
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    return text;
}

// One connection as the server reads it: its bytes come through here, counted against the limits
// of the request they belong to.
class Connection : public httplib::Stream
{
public:
    explicit Connection(int socket) : m_socket(socket) {}

    Refusal refusal = Refusal::None;

    // Waits up to `time` for the first byte of the next request: false when none came.
    bool awaitRequest(Clock::duration time) { return m_begin < m_end || fill(Clock::now() + time); }
    // The next request's head begins: it has s_headTime, s_headLimit bytes and s_headerLines lines.
    void beginRequest()
    {
        m_inHead = true;
        m_headBytes = m_headLines = m_written = 0;
        m_deadline = Clock::now() + GuardedServer::s_headTime;
    }
    // The request's head was read: its method and body are checked (a small body is read and
    // dropped), and a refused request is marked to close its connection.
    void check(httplib::Request& request)
    {
        m_inHead = false;
        if (request.method != "GET" && request.method != "HEAD")
            refusal = Refusal::Method;
        else if (request.has_header("Transfer-Encoding") || request.get_header_value_count("Content-Length") > 1)
            refusal = Refusal::Body;
        else if (request.has_header("Content-Length")) {
            const std::string length = request.get_header_value("Content-Length");
            if (length.empty() || length.size() > 4 || length.find_first_not_of("0123456789") != std::string::npos ||
                std::stoul(length) > GuardedServer::s_bodyLimit)
                refusal = Refusal::Body;
            else if (!drop(std::stoul(length)))
                refusal = Refusal::TooSlow;
        }
        m_deadline = Clock::now() + GuardedServer::s_answerTime;
        if (refusal != Refusal::None) {
            request.headers.erase("Connection");
            request.headers.emplace("Connection", "close");
        }
    }
    bool answered() const { return m_written > 0; }
    // Ends the connection. After a refusal the client may still be sending what was not read:
    // a little of it is taken in for a moment, so that the refusal reaches the client before the
    // connection is reset.
    void close()
    {
        shutdown(m_socket, SHUT_WR);
        if (refusal != Refusal::None) {
            const auto until = Clock::now() + std::chrono::milliseconds(500);
            for (size_t taken = 0; taken < 256 * 1024 && ready(m_socket, POLLIN, until);) {
                const ssize_t n = recv(m_socket, m_buffer, sizeof m_buffer, 0);
                if (n <= 0)
                    break;
                taken += static_cast<size_t>(n);
            }
        }
        ::close(m_socket);
    }

    bool is_readable() const override { return m_begin < m_end; }
    bool is_writable() const override { return ready(m_socket, POLLOUT, writeDeadline()); }
    ssize_t read(char* ptr, size_t size) override
    {
        if (m_inHead && (m_headBytes >= GuardedServer::s_headLimit || m_headLines > GuardedServer::s_headerLines + 1)) {
            refusal = m_headBytes >= GuardedServer::s_headLimit ? Refusal::HeadTooLong : Refusal::TooManyLines;
            return -1;
        }
        if (m_begin == m_end && !fill(m_deadline)) {
            if (m_inHead && !m_closed)
                refusal = Refusal::TooSlow;
            return m_inHead ? -1 : 0;
        }
        // The head is handed out a byte at a time, as it is asked for.
        const size_t n = std::min(size, m_end - m_begin);
        std::memcpy(ptr, m_buffer + m_begin, n);
        m_begin += n;
        if (m_inHead) {
            m_headBytes += n;
            m_headLines += static_cast<size_t>(std::count(ptr, ptr + n, '\n'));
        }
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char* ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        const ssize_t n = send(m_socket, ptr, size, MSG_NOSIGNAL);
        if (n > 0)
            m_written += static_cast<size_t>(n);
        return n;
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip = getpeername(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0 ? addressText(address, port)
                                                                                        : std::string();
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip = getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0 ? addressText(address, port)
                                                                                        : std::string();
    }
    socket_t socket() const override { return m_socket; }

private:
    // Receives what the client sent, waiting until `until` for it: false when nothing came (the
    // time passed, or the client closed its side or failed).
    bool fill(Clock::time_point until)
    {
        if (m_begin == m_end)
            m_begin = m_end = 0;
        if (m_end == sizeof m_buffer || !ready(m_socket, POLLIN, until))
            return false;
        const ssize_t n = recv(m_socket, m_buffer + m_end, sizeof m_buffer - m_end, 0);
        m_closed = n <= 0;
        if (n <= 0)
            return false;
        m_end += static_cast<size_t>(n);
        return true;
    }
    // Reads and drops `n` bytes of a body.
    bool drop(size_t n)
    {
        m_deadline = Clock::now() + GuardedServer::s_headTime;
        char scrap[256];
        while (n > 0) {
            const ssize_t got = read(scrap, std::min(n, sizeof scrap));
            if (got <= 0)
                return false;
            n -= static_cast<size_t>(got);
        }
        return true;
    }
    // A write may wait for the client a few seconds, and no longer than the answer's deadline.
    Clock::time_point writeDeadline() const { return std::min(m_deadline, Clock::now() + std::chrono::seconds(5)); }

    int m_socket;
    char m_buffer[4096];
    size_t m_begin = 0, m_end = 0;
    bool m_inHead = false, m_closed = false;
    size_t m_headBytes = 0, m_headLines = 0, m_written = 0;
    Clock::time_point m_deadline;
};

// The connection that this worker serves, for the handlers the library calls.
thread_local Connection* t_connection = nullptr;

// The answer to a refused request; false when it is not refused.
bool refuse(httplib::Response& response)
{
    if (!t_connection || t_connection->refusal == Refusal::None)
        return false;
    const RefusalAnswer& refusal = s_refusals[static_cast<int>(t_connection->refusal)];
    response.status = refusal.status;
    response.set_content(refusal.text, "text/plain; charset=utf-8");
    if (t_connection->refusal == Refusal::Method && !response.has_header("Allow"))
        response.set_header("Allow", "GET, HEAD");
    return true;
}

}  // namespace

GuardedServer::GuardedServer(const HandlerWithResponse& check, httplib::Headers headers) : m_headers(std::move(headers))
{
    set_default_headers(m_headers);
    new_task_queue = [] { return new httplib::ThreadPool(s_workers); };
    set_keep_alive_max_count(s_keepAliveCount);
    set_keep_alive_timeout(s_keepAliveTime.count());
    set_read_timeout(s_headTime.count());
    set_write_timeout(5);
    set_pre_routing_handler([check](const httplib::Request& request, httplib::Response& response) {
        return refuse(response) ? HandlerResponse::Handled : check(request, response);
    });
    // A request refused while its head was read is answered by the library as a bad request;
    // here it gets its own status.
    set_error_handler(HandlerWithResponse([](const httplib::Request& request, httplib::Response& response) {
        if (!refuse(response))
            return HandlerResponse::Unhandled;
        // (A request refused after its head was read says so itself, and the library answers it.)
        if (request.get_header_value("Connection") != "close")
            response.set_header("Connection", "close");
        return HandlerResponse::Handled;
    }));
    // A client that waits for leave to send a body learns at once that it is refused.
    set_expect_100_continue_handler(
        [](const httplib::Request&, httplib::Response& response) { return refuse(response) ? response.status : 100; });
    // SO_REUSEADDR alone: a port that another socket listens on cannot be bound (the library's
    // default would let processes share it).
    set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    set_address_family(AF_INET);
}

int GuardedServer::bindLocal(int port, std::string& why)
{
    errno = 0;
    const int bound = port == 0 ? bind_to_any_port("127.0.0.1") : (bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound > 0)
        return bound;
    const int error = errno;
    why = error == EADDRINUSE ? "another program listens on it" : error ? std::strerror(error) : "it cannot be bound";
    return -1;
}

bool GuardedServer::process_and_close_socket(socket_t sock)
{
    Connection connection(sock);
    t_connection = &connection;
    for (size_t served = 0; served < s_keepAliveCount && svr_sock_ != INVALID_SOCKET; ++served) {
        if (!connection.awaitRequest(served == 0 ? s_headTime : s_keepAliveTime))
            break;
        connection.beginRequest();
        bool closed = false;
        const bool answered = process_request(connection, served + 1 == s_keepAliveCount, closed,
                                              [&connection](httplib::Request& request) { connection.check(request); });
        if (connection.refusal != Refusal::None && !connection.answered()) {
            // Refused before the library could answer (within the request line).
            const RefusalAnswer& refusal = s_refusals[static_cast<int>(connection.refusal)];
            std::string text = "HTTP/1.1 " + std::to_string(refusal.status) + " " + refusal.reason + "\r\n";
            for (const auto& header : m_headers)
                text += header.first + ": " + header.second + "\r\n";
            text += "Content-Type: text/plain; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
                std::to_string(std::strlen(refusal.text)) + "\r\n\r\n" + refusal.text;
            connection.write(text.data(), text.size());
        }
        if (!answered || closed || connection.refusal != Refusal::None)
            break;
    }
    t_connection = nullptr;
    connection.close();
    return true;
}

}  // namespace view
