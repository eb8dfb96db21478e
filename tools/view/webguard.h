// The page's HTTP server with the limits that a server open to every program and every page on
// the machine needs. Each connection is read through a stream of its own, so that no client holds
// more than a small request head in memory or a worker for longer than a few seconds:
//   - GET and HEAD only: any other method is answered 405 without reading its body;
//   - a body of more than s_bodyLimit bytes, or of unknown length (chunked, or two lengths given),
//     is refused (413) without being read; a smaller one is read and dropped;
//   - a request head (its line and headers) of more than s_headLimit bytes or s_headerLines lines
//     is refused (431), and so is one that has not arrived whole s_headTime after its first byte
//     (408);
//   - an answer that has not gone out s_answerTime after it started ends its connection;
//   - a connection serves at most s_keepAliveCount requests and waits s_keepAliveTime for the
//     next one; after a refusal it is closed;
//   - s_workers connections are served at once, the rest wait to be accepted.
// The port is bound for this process alone: a port that another socket listens on is an error,
// never shared.
#pragma once

#include <httplib.h>

#include <chrono>
#include <string>

namespace view {

class GuardedServer : public httplib::Server
{
public:
    static constexpr size_t s_workers = 64;
    static constexpr size_t s_headLimit = 32 * 1024;
    static constexpr size_t s_headerLines = 100;
    static constexpr size_t s_bodyLimit = 1024;
    static constexpr std::chrono::seconds s_headTime{5};
    static constexpr std::chrono::seconds s_answerTime{30};
    static constexpr std::chrono::seconds s_keepAliveTime{2};
    static constexpr size_t s_keepAliveCount = 100;

    // `check` is asked about every request that the limits let through, before its route: it
    // answers (and returns Handled) to refuse one. `headers` go with every answer, refusals too.
    GuardedServer(const HandlerWithResponse& check, httplib::Headers headers);

    // Binds to 127.0.0.1 on the port (0: a free one). The port bound, or -1 with `why` set.
    int bindLocal(int port, std::string& why);

private:
    bool process_and_close_socket(socket_t sock) override;

    httplib::Headers m_headers;
};

}  // namespace view
