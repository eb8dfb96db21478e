#include "viewserve.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>

namespace benchview {

namespace {

using json = nlohmann::json;

class Asker
{
public:
    Asker(int port, double timeout) : m_client("127.0.0.1", port)
    {
        const auto wait = std::chrono::duration<double>(timeout);
        m_client.set_connection_timeout(wait);
        m_client.set_read_timeout(wait);
        // As a browser asks: one connection kept open, each request sent at once.
        m_client.set_keep_alive(true);
        m_client.set_tcp_nodelay(true);
    }

    // Asks for `path` with `params`; the answer is its JSON body when it came whole with status 200.
    Answer& ask(const char* name, const std::string& path, const httplib::Params& params, json& body)
    {
        m_answers.emplace_back();
        Answer& answer = m_answers.back();
        answer.name = name;
        const auto start = std::chrono::steady_clock::now();
        const httplib::Result result = m_client.Get(path, params, httplib::Headers{});
        answer.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (!result) {
            answer.timedOut = result.error() == httplib::Error::Read;
            answer.why = httplib::to_string(result.error());
            return answer;
        }
        if (result->status != 200) {
            answer.why = "HTTP " + std::to_string(result->status);
            return answer;
        }
        body = json::parse(result->body, nullptr, false);
        answer.answered = body.is_object();
        if (!answer.answered)
            answer.why = "not a JSON object";
        return answer;
    }
    // An answer that could not be asked for: what it needs was not in an earlier one.
    void skip(const char* name, const char* why)
    {
        m_answers.emplace_back();
        m_answers.back().name = name;
        m_answers.back().why = why;
    }

    std::vector<Answer> answers() const { return m_answers; }

private:
    httplib::Client m_client;
    std::vector<Answer> m_answers;
};

// The id of the child that holds the most children, or -1.
long long largest(const json& nodes, const char* name = nullptr)
{
    long long id = -1, most = -1;
    if (!nodes.is_array())
        return -1;
    for (const json& node : nodes) {
        const long long n = node.value("n", 0ll);
        if ((!name || node.value("name", "") == name) && n > most && node.contains("id")) {
            most = n;
            id = node["id"].get<long long>();
        }
    }
    return id;
}

}  // namespace

int servedPort(const std::string& output)
{
    const std::string prefix = "http://127.0.0.1:";
    const size_t at = output.find(prefix);
    if (at == std::string::npos)
        return 0;
    return std::atoi(output.c_str() + at + prefix.size());
}

std::vector<Answer> askServer(int port, const std::string& query, double timeout)
{
    Asker asker(port, timeout);
    json info, record, children, found;
    long long windowOf = -1;
    size_t offset = 0;
    if (asker.ask("info", "/api/info", {}, info).answered && info.contains("records")) {
        const size_t records = info.value("records", size_t{0});
        if (asker.ask("record", "/api/record", {{"index", std::to_string(records / 2)}}, record).answered)
            windowOf = largest(record["objects"]);
    } else if (info.contains("root")) {
        // The root's own level first, as the page asks for it; the window is of its list of children.
        const std::string root = std::to_string(info["root"].value("id", 0ll));
        json top;
        if (asker.ask("root", "/api/children", {{"id", root}}, top).answered) {
            windowOf = largest(top["children"], "Children");
            for (const json& node : top["children"])
                if (node.value("id", -1ll) == windowOf)
                    offset = node.value("n", size_t{0}) / 2;
        }
    }
    if (windowOf >= 0)
        asker.ask("children", "/api/children",
                  {{"id", std::to_string(windowOf)}, {"offset", std::to_string(offset)}, {"limit", "500"}}, children);
    else
        asker.skip("children", "no list of children to ask for");
    Answer& find = asker.ask("find", "/api/find", {{"q", query}}, found);
    if (find.answered && found["results"].empty()) {
        find.answered = false;
        find.why = "nothing found";
    }
    return asker.answers();
}

}  // namespace benchview
