// The local web page: served on 127.0.0.1 (the page's files, and the API that its script asks for
// one level of the tree at a time), or written to one file with the API's answers in it.
//
// The server (webguard.h: GET and HEAD only, bounded requests and time per client) answers only
// requests that name it as 127.0.0.1 with its port in their Host header: a page from elsewhere
// that gets a name of its own resolved to 127.0.0.1 (DNS rebinding) is refused. Other sites may
// link to the page, and nothing more: every other request that a browser marks as coming from
// another site is refused, and no answer allows reading from another origin or framing.
#include "options.h"
#include "webapi.h"
#include "webguard.h"
#include "webpage.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <pthread.h>
#include <string>
#include <thread>

namespace view {

namespace {

// The most attributes a page written with its data holds: beyond it the page gets too heavy for a
// browser, and the file is to be served instead.
constexpr unsigned long long s_pageLimit = 200000;

// A path as a pattern that matches it alone.
std::string pattern(const std::string& path)
{
    std::string out;
    for (char c : path)
        out += std::strchr("\\^$.|?*+()[]{}", c) ? std::string("\\") + c : std::string(1, c);
    return out;
}

// The page's files under their names (the page itself as "/"), and the API's routes under "/api/".
void routes(httplib::Server& server, WebApi& api, std::mutex& lock)
{
    for (const WebFile& file : webFiles())
        server.Get(file.name == "index.html" ? "/" : pattern("/" + file.name),
                   [&file](const httplib::Request&, httplib::Response& response) {
                       if (file.gzip)
                           response.set_header("Content-Encoding", "gzip");
                       response.set_content(file.content.data(), file.content.size(), file.type);
                   });
    for (const WebApi::Route& route : WebApi::routes())
        server.Get(pattern(std::string("/api/") + route.name),
                   [&api, &lock, &route](const httplib::Request& request, httplib::Response& response) {
                       WebApi::Params params;
                       for (const auto& param : request.params)
                           params.emplace(param.first, param.second);
                       // The trees, their registries and the lazily sorted indexes belong to one
                       // thread at a time.
                       std::lock_guard<std::mutex> hold(lock);
                       const WebApi::Answer answer = api.answer(route.name, params);
                       response.status = answer.status;
                       response.set_content(
                           answer.json, answer.binary ? "application/octet-stream" : "application/json; charset=utf-8");
                   });
}

}  // namespace

int runServe(const Options& options)
{
    WebApi api;
    if (!api.read(options.file, options.maxAttributes)) {
        if (!api.refusal().empty())
            std::fprintf(stderr, "akdebug-view: %s\n", api.refusal().c_str());
        return 1;
    }
    if (!options.compare.empty() && !api.compareWith(options.compare, options.maxAttributes, options.tolerance))
        return 1;
    // The drawing the page shows first, made before the page asks for it.
    api.prepareGeometry();
    if (!api.complete())
        std::fprintf(stderr, "akdebug-view: \"%s\" could not be read whole; serving what was read\n",
                     escape(options.file.c_str()).c_str());

    // SIGINT and SIGTERM go to one thread that waits for them and stops the server; the server's
    // threads, started below, inherit the blocked mask.
    sigset_t signals, old;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, &old);

    std::string host;
    std::mutex lock;
    GuardedServer server(
        [&](const httplib::Request& request, httplib::Response& response) {
            // The page itself, the page's own requests, what is typed in or asked by a program
            // (no Sec-Fetch-Site), and a link from elsewhere to the page.
            const std::string site = request.get_header_value("Sec-Fetch-Site");
            const bool link = request.path == "/" && request.get_header_value("Sec-Fetch-Mode") == "navigate" &&
                request.get_header_value("Sec-Fetch-Dest") == "document";
            if (request.get_header_value("Host") == host &&
                (site.empty() || site == "same-origin" || site == "none" || link))
                return httplib::Server::HandlerResponse::Unhandled;
            response.status = 403;
            response.set_content("akdebug-view answers only requests for " + host + " and its own page\n",
                                 "text/plain; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        },
        {{"Content-Security-Policy", servedPolicy()},
         {"X-Content-Type-Options", "nosniff"},
         {"Cache-Control", "no-store"},
         {"Referrer-Policy", "no-referrer"},
         {"X-Frame-Options", "DENY"},
         {"Cross-Origin-Resource-Policy", "same-origin"}});
    routes(server, api, lock);

    std::string why;
    const int port = server.bindLocal(options.port, why);
    if (port <= 0) {
        std::fprintf(stderr,
                     "akdebug-view: cannot serve on 127.0.0.1:%d: %s; give another port with --port N, or "
                     "--port 0 for a free one\n",
                     options.port, why.c_str());
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
        return 1;
    }
    host = "127.0.0.1:" + std::to_string(port);
    std::printf("serving http://%s/ (%s, %llu attributes); interrupt to end\n", host.c_str(),
                escape(options.file.c_str()).c_str(), api.attributes());
    std::fflush(stdout);

    std::atomic<bool> ended{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        // stop() is lost on a server that is not running yet: wait until it runs, or has ended.
        while (!ended) {
            if (server.is_running()) {
                server.stop();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const bool listened = server.listen_after_bind();
    ended = true;
    // A waiter that still waits (the server ended alone) takes the signal it waits for and ends.
    pthread_kill(waiter.native_handle(), SIGTERM);  // NOLINT(bugprone-bad-signal-to-kill-thread)
    waiter.join();
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return listened ? 0 : 1;
}

int runHtml(const Options& options)
{
    // The read stops at the page's limit; what is said of that is this program's own message here,
    // not the advice to raise --max-attributes.
    const bool pageLimited = options.maxAttributes > s_pageLimit;
    WebApi api;
    const bool read = api.read(options.file, pageLimited ? s_pageLimit : options.maxAttributes);
    if (!read && pageLimited && !api.refusal().empty()) {
        std::fprintf(stderr,
                     "akdebug-view: \"%s\" holds more than %llu attributes, too many for one page; serve it "
                     "instead: akdebug-view --serve \"%s\"\n",
                     escape(options.file.c_str()).c_str(), s_pageLimit, escape(options.file.c_str()).c_str());
        return 1;
    }
    if (!read) {
        if (!api.refusal().empty())
            std::fprintf(stderr, "akdebug-view: %s\n", api.refusal().c_str());
        return 1;
    }
    const std::string page = pageWithData(api.written());
    std::ofstream out(options.html, std::ios::binary | std::ios::trunc);
    out.write(page.data(), static_cast<std::streamsize>(page.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "akdebug-view: cannot write \"%s\"\n", escape(options.html.c_str()).c_str());
        return 1;
    }
    if (!api.complete())
        std::fprintf(stderr, "akdebug-view: \"%s\" could not be read whole; the page shows what was read\n",
                     escape(options.file.c_str()).c_str());
    return api.complete() ? 0 : 1;
}

}  // namespace view
