// The viewer's web page: served on 127.0.0.1 to a headless browser, and written to one file with its
// data, on files written from the sample world.
#include "browsersupport.h"
#include "drawscript.h"
#include "schemasupport.h"
#include "viewsupport.h"
#include "worldfiles.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <compressed.h>
#include <sampleworld.h>
#include <webapi.h>

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using browsersupport::Child;
using browsersupport::contents;
using browsersupport::findBrowser;
using browsersupport::has;
using browsersupport::pageAfterScripts;
using browsersupport::serve;
using browsersupport::viewer;

// One GET request: the status code and the body ("" and 0 when no answer came).
struct Answer
{
    int status = 0;
    std::string body;
};
Answer get(int port, const std::string& target, const std::string& host, const std::string& headers = "")
{
    Answer answer;
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request =
            "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n" + headers + "\r\n";
        if (send(socket, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
            std::string response;
            char buffer[4096];
            for (ssize_t n; (n = recv(socket, buffer, sizeof buffer, 0)) > 0;)
                response.append(buffer, static_cast<size_t>(n));
            std::sscanf(response.c_str(), "HTTP/1.%*d %d", &answer.status);
            const size_t body = response.find("\r\n\r\n");
            if (body != std::string::npos)
                answer.body = response.substr(body + 4);
        }
    }
    close(socket);
    return answer;
}

// A connection to the server that sends what a test gives it, and reads what comes back.
class Client
{
public:
    explicit Client(int port)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval wait{5, 0};
        setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(m_socket);
            m_socket = -1;
        }
    }
    ~Client()
    {
        if (m_socket >= 0)
            close(m_socket);
    }
    // False once the server no longer takes what is sent.
    bool send(const std::string& text)
    {
        return m_socket >= 0 && ::send(m_socket, text.data(), text.size(), MSG_NOSIGNAL) == ssize_t(text.size());
    }
    // True when the server has sent something (or closed) within the time.
    bool answered(std::chrono::milliseconds within = std::chrono::milliseconds(0))
    {
        pollfd ready{m_socket, POLLIN, 0};
        return poll(&ready, 1, static_cast<int>(within.count())) > 0;
    }
    // What the server sends until it closes the connection, or until the time passes.
    std::string receive(std::chrono::seconds within = std::chrono::seconds(10))
    {
        std::string text;
        const auto until = std::chrono::steady_clock::now() + within;
        char buffer[65536];
        while (
            std::chrono::steady_clock::now() < until &&
            answered(std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()))) {
            const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }

private:
    int m_socket = -1;
};

// The status of each answer in a text of answers, in order.
std::vector<int> statuses(const std::string& answers)
{
    std::vector<int> found;
    for (size_t at = answers.find("HTTP/1.1 "); at != std::string::npos; at = answers.find("HTTP/1.1 ", at + 1))
        found.push_back(std::atoi(answers.c_str() + at + 9));
    return found;
}

// The peak resident memory of a process, in kB.
long peakKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "VmHWM:") == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

class WebTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        scene = dir + "/world.scene";
        draw = dir + "/world.draw";
        ASSERT_NO_FATAL_FAILURE(worldfiles::write(scene, draw, 2));
    }

    std::string dir, scene, draw;
};

TEST_F(WebTest, ServesTheSceneOnlyUnderItsOwnHostAndOpensAFoundObject)
{
    Child server({viewer(), "--serve", scene, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string self = "127.0.0.1:" + std::to_string(port);

    // Another name for the same address (a rebinding page's own) is refused, for the page and the data.
    for (const char* target : {"/", "/api/info", "/api/children?id=0"}) {
        EXPECT_EQ(get(port, target, "attacker.example:" + std::to_string(port)).status, 403) << target;
        EXPECT_EQ(get(port, target, "localhost:" + std::to_string(port)).status, 403) << target;
        EXPECT_EQ(get(port, target, "127.0.0.1").status, 403) << target;
    }
    EXPECT_EQ(get(port, "/", self).status, 200);
    // Other sites may link to the page but not ask for its data, nor for the page in any other way.
    const std::string link = "Sec-Fetch-Mode: navigate\r\nSec-Fetch-Dest: document\r\n";
    EXPECT_EQ(get(port, "/", self, "Sec-Fetch-Site: cross-site\r\n" + link).status, 200);
    EXPECT_EQ(get(port, "/", self, "Sec-Fetch-Site: cross-site\r\n").status, 403);
    EXPECT_EQ(get(port, "/main.js", self, "Sec-Fetch-Site: cross-site\r\nSec-Fetch-Dest: script\r\n").status, 403);
    EXPECT_EQ(get(port, "/api/info", self, "Sec-Fetch-Site: cross-site\r\n" + link).status, 403);
    EXPECT_EQ(get(port, "/api/info", self, "Sec-Fetch-Site: cross-site\r\n").status, 403);
    EXPECT_EQ(get(port, "/api/info", self, "Sec-Fetch-Site: same-origin\r\n").status, 200);
    EXPECT_EQ(get(port, "/api/children?id=4000000000", self).status, 404);
    EXPECT_EQ(get(port, "/api/children?id=-1", self).status, 400);
    // A search text with control characters is refused as an empty one is (a NUL matched everything).
    for (const char* q : {"", "%00", "%1B", "wheel%0A", "%C2%85"})
        EXPECT_EQ(get(port, std::string("/api/find?q=") + q, self).status, 400) << q;

    std::string chromium;
    findBrowser(chromium);
    if (chromium.empty())
        return;
    const std::string page = pageAfterScripts(chromium, "http://" + self + "/?find=" + sampleworld::names::OBJECT, dir);
    // The first result is opened and marked, and shows its attributes as "name [type] = value".
    EXPECT_TRUE(has(page, "<div class=\"r-name\">Cargo</div>")) << page;
    const size_t found = page.find("id=\"found\"");
    ASSERT_NE(found, std::string::npos) << page;
    const std::string object = page.substr(found, 20000);
    EXPECT_TRUE(has(object, "<span class=\"type\">[akObject *]</span>")) << object;
    EXPECT_TRUE(has(object,
                    "<span class=\"name\">Auto Page</span><span class=\"type\">[akObject::AutoPage]</span>"
                    "<span class=\"eq\">=</span><span class=\"value\">AUTO_PAGE_ASYNCHRONOUS</span>"))
        << object;
    // Advanced attributes are there, hidden by the switch; tool tips and error marks are on their rows.
    EXPECT_TRUE(has(page, "<span class=\"tag\">advanced</span>"));
    EXPECT_TRUE(has(page, "title=\"11111111111111111111111111111111\"")) << "the mask's tool tip";

    // An address search finds the object too; the page ends cleanly on SIGTERM.
    const size_t digits = object.find(">0x") + 3;
    std::string address = "0x";
    for (size_t i = digits; i < object.size() && std::isxdigit(static_cast<unsigned char>(object[i])); ++i)
        address += object[i];
    ASSERT_GT(address.size(), 2u) << object;
    const std::string byAddress = pageAfterScripts(chromium, "http://" + self + "/?find=" + address, dir);
    EXPECT_TRUE(has(byAddress, "<div class=\"r-name\">Cargo</div>")) << address;
    EXPECT_EQ(server.end(SIGTERM), 0);
}

TEST_F(WebTest, ServesDrawRecordsByFrameWithTheirObjects)
{
    // The first geometry draw and what it shows.
    int geometryRecord = -1;
    std::string geometryType;
    {
        akDebugDraw reader;
        ASSERT_EQ(reader.read(draw.c_str()), telu::SUCCESS);
        int index = 0;
        for (auto it = reader.begin_record(); it != reader.end_record() && geometryRecord < 0; ++it, ++index)
            if ((*it)->geometry && (*it)->name.length() == 0) {
                geometryRecord = index;
                char type[akDebugAttributeBase::s_stringBufferSize];
                (*it)->geometry->getTypeString(type);
                geometryType = type;
            }
    }
    ASSERT_GE(geometryRecord, 0);

    Child server({viewer(), "--serve", draw, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string self = "127.0.0.1:" + std::to_string(port);
    const Answer records = get(port, "/api/records?offset=0&limit=3", self);
    EXPECT_EQ(records.status, 200);
    EXPECT_TRUE(has(records.body, "\"kind\":\"Draw Channel Begin\"")) << records.body;

    std::string chromium;
    findBrowser(chromium);
    if (chromium.empty())
        return;
    // Served, and from disk as the page written with its data: alike.
    const std::string written = dir + "/world-draw.html";
    Child writer({viewer(), "--html", written, draw});
    ASSERT_EQ(writer.wait(std::chrono::seconds(60)), 0);
    for (const std::string& url : {"http://" + self + "/", "file://" + written}) {
        const std::string page = pageAfterScripts(chromium, url + "?record=" + std::to_string(geometryRecord), dir);
        EXPECT_TRUE(has(page,
                        "<h1>Record " + std::to_string(geometryRecord) +
                            "</h1><span class=\"kind kind-geometry\">Geometry</span>"))
            << page;
        EXPECT_TRUE(has(page, "<span class=\"name\">Geometry</span><span class=\"type\">[" + geometryType + "]</span>"))
            << page;
        EXPECT_TRUE(has(page, "<span class=\"name\">Draw Context</span><span class=\"type\">[olDrawContext *]</span>"))
            << page;
        EXPECT_TRUE(has(page, "<span class=\"name\">Channel Bin</span>")) << page;
        // The record is chosen in its frame's list, beside the marks of the others.
        EXPECT_TRUE(has(page, "<li class=\"rec chosen\" data-index=\"" + std::to_string(geometryRecord) + "\""))
            << page;
        EXPECT_TRUE(has(page, "<div class=\"frame open\"><div class=\"frame-head\">")) << page;
        EXPECT_TRUE(has(page, "<span class=\"tag redundant\">redundant</span>")) << page;
        // A search opens the record that holds what it found, and marks it.
        const std::string found = pageAfterScripts(chromium, url + "?find=opaque", dir);
        EXPECT_TRUE(has(found, "<div class=\"r-path\">Record ")) << found;
        EXPECT_TRUE(has(found, "id=\"found\"")) << found;
        EXPECT_TRUE(has(found, "<div class=\"record-head\"><h1>Record ")) << found;
    }
    EXPECT_EQ(server.end(SIGTERM), 0);
}

TEST_F(WebTest, ADrawContextThatCannotBeResolvedLeavesTheRecordWithoutOne)
{
    // A channel end whose draw context is a repeat of an address the file never held: the reader
    // keeps the record without a draw context, and the viewer shows it instead of crashing.
    int contextType = -1;
    {
        akDebugDraw reader;
        ASSERT_EQ(reader.read(draw.c_str()), telu::SUCCESS);
        for (auto it = reader.begin_type(); it != reader.end_type(); ++it)
            if (std::string((*it)->getName()) == "olDrawContext")
                contextType = (*it)->getIndex();
    }
    ASSERT_GE(contextType, 0);
    std::string bytes = contents(draw);
    bytes.resize(bytes.size() - 4);  // the end record
    for (int word : {int(akDebugDraw::KIND_CHANNEL_END), contextType, int(akDebug::OBJECT_REPEAT), 0x7EADBEEF,
                     int(akDebugDraw::KIND_END)})
        bytes.append(reinterpret_cast<const char*>(&word), 4);
    const std::string damaged = dir + "/damaged.draw";
    std::ofstream(damaged, std::ios::binary) << bytes;

    const viewsupport::ViewRun text = viewsupport::view(damaged);
    ASSERT_GE(text.status, 0) << "the text output crashed";
    EXPECT_EQ(text.status, 0) << text.out << text.err;
    EXPECT_TRUE(text.has("unable to resolve debug object")) << text.out << text.err;

    Child server({viewer(), "--serve", damaged, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string self = "127.0.0.1:" + std::to_string(port);
    const Answer info = get(port, "/api/info", self);
    const size_t at = info.body.find("\"records\":");
    ASSERT_NE(at, std::string::npos) << info.body;
    const int last = std::atoi(info.body.c_str() + at + 10) - 1;
    const Answer record = get(port, "/api/record?index=" + std::to_string(last), self);
    EXPECT_EQ(record.status, 200);
    EXPECT_TRUE(has(record.body, "\"kind\":\"Draw Channel End\",\"name\":\"Draw Channel End\",\"objects\":[]"))
        << record.body;
    EXPECT_EQ(server.end(SIGTERM), 0);
}

// The served page asks for each of its styles and scripts by name and holds no script of its own;
// the page written with its data holds them all inline, and holds exactly what the server
// answers: asked for in the order of the written answers (which is the order in which ids are
// handed out), a server gives each one alike.
TEST_F(WebTest, TheWrittenPageHoldsWhatTheServerAnswersUnderTheRequestsThePageMakes)
{
    for (const std::string& file : {scene, draw}) {
        Child server({viewer(), "--serve", file, "--port", "0"});
        const int port = serve(server);
        ASSERT_GT(port, 0);
        const std::string self = "127.0.0.1:" + std::to_string(port);

        const std::string served = get(port, "/", self).body;
        EXPECT_FALSE(has(served, "<script>")) << "no inline script";
        size_t resources = 0;
        for (const std::string open : {"<script src=\"", "<link rel=\"stylesheet\" href=\""})
            for (size_t at = served.find(open); at != std::string::npos; at = served.find(open, at + 1)) {
                const size_t name = at + open.size();
                const Answer resource = get(port, "/" + served.substr(name, served.find('"', name) - name), self);
                EXPECT_EQ(resource.status, 200) << served.substr(name, 40);
                EXPECT_FALSE(resource.body.empty());
                ++resources;
            }
        EXPECT_GE(resources, 2u);

        const std::string page = dir + "/answers.html";
        Child written({viewer(), "--html", page, file});
        ASSERT_EQ(written.wait(std::chrono::seconds(60)), 0);
        const std::string html = contents(page);
        EXPECT_FALSE(has(html, "<script src=")) << "every script inline";
        EXPECT_FALSE(has(html, "<link rel=\"stylesheet\"")) << "every style inline";
        const std::string open = "<script id=\"akdata\" type=\"application/json\">";
        const size_t data = html.find(open) + open.size();
        ASSERT_GT(data, open.size());
        const auto answers = nlohmann::ordered_json::parse(html.substr(data, html.find("</script>", data) - data));
        EXPECT_GT(answers.size(), 100u);
        EXPECT_TRUE(answers.contains("info?"));
        EXPECT_TRUE(answers.contains("searchable?"));

        // A fresh server, asked in the same order.
        Child fresh({viewer(), "--serve", file, "--port", "0"});
        const int freshPort = serve(fresh);
        ASSERT_GT(freshPort, 0);
        const std::string freshHost = "127.0.0.1:" + std::to_string(freshPort);
        for (const auto& answer : answers.items()) {
            const Answer asked = get(freshPort, "/api/" + answer.key(), freshHost);
            ASSERT_EQ(asked.status, 200) << answer.key();
            if (answer.key().compare(0, 9, "geometry?") == 0)  // binary, written as base64
                ASSERT_EQ(view::base64(asked.body), answer.value().get<std::string>()) << answer.key();
            else
                ASSERT_EQ(nlohmann::ordered_json::parse(asked.body), answer.value()) << answer.key();
        }
        EXPECT_EQ(fresh.end(SIGTERM), 0);
        EXPECT_EQ(server.end(SIGTERM), 0);
    }
}

// The page with its data: a named object of the file in it, texts from the file kept out of the
// markup, and a file too big for one page refused with the way to serve it instead.
// The page's data loses nothing either: names that differ in one byte that is not UTF-8 come with
// their bytes, in the answers of a search and in the nodes of a window of children.
TEST_F(WebTest, NamesThatAreNotUtf8AreAlsoGivenAsTheirBytes)
{
    kiNode root("Root");
    root.addChild(new kiNode("Caf\xE9"));
    root.addChild(new kiNode("Caf\xE8"));
    const std::string file = dir + "/names.scene";
    akDebugScene writer;
    ASSERT_EQ(writer.write(file.c_str(), &root, false), telu::SUCCESS);
    view::WebApi api;
    ASSERT_TRUE(api.read(file, akDebug::s_defaultMaxAttributes));

    const view::WebApi::Answer found = api.answer("find", {{"q", "caf"}});
    ASSERT_EQ(found.status, 200) << found.json;
    const nlohmann::json results = nlohmann::json::parse(found.json)["results"];
    ASSERT_EQ(results.size(), 2u) << found.json;
    EXPECT_EQ(results[0]["name"], "Caf\xEF\xBF\xBD");
    EXPECT_EQ(results[1]["name"], "Caf\xEF\xBF\xBD");
    std::set<std::string> bytes = {results[0]["nameBytes"], results[1]["nameBytes"]};
    EXPECT_EQ(bytes, (std::set<std::string>{"436166e9", "436166e8"}));
    EXPECT_FALSE(nlohmann::json::parse(api.answer("find", {{"q", "root"}}).json)["results"][0].contains("nameBytes"));

    // The way down to the first found opens its node, whose name attribute's value has its bytes.
    const nlohmann::json way = results[0]["way"];
    const view::WebApi::Answer level =
        api.answer("children", {{"id", std::to_string(way.back()[0].get<unsigned int>())}});
    const nlohmann::json emBase = nlohmann::json::parse(level.json)["children"][0];
    const nlohmann::json names = nlohmann::json::parse(
        api.answer("children", {{"id", std::to_string(emBase["id"].get<unsigned int>())}}).json)["children"];
    ASSERT_GE(names.size(), 2u) << level.json;
    EXPECT_EQ(names[1]["name"], "Name");
    EXPECT_EQ(names[1]["valueBytes"], "22" + results[0]["nameBytes"].get<std::string>() + "22");
}

TEST_F(WebTest, WritesOnePageWithItsDataUnlessTheFileIsTooBig)
{
    const std::string page = dir + "/world.html";
    Child written({viewer(), "--html", page, scene});
    ASSERT_EQ(written.wait(std::chrono::seconds(60)), 0);
    const std::string html = contents(page);
    EXPECT_TRUE(has(html, sampleworld::names::SHARED_GEOMETRY));
    // Its policy allows its own inline scripts and styles by their hashes, and nothing inline else.
    const std::string policy = "<meta charset=\"utf-8\">\n<meta http-equiv=\"Content-Security-Policy\" "
                               "content=\"default-src 'none'; script-src 'sha256-";
    EXPECT_TRUE(has(html, policy)) << html.substr(0, 600);
    const std::string meta = html.substr(html.find(policy), html.find(">", html.find(policy) + 40) - html.find(policy));
    EXPECT_TRUE(has(meta, "; connect-src 'none'; img-src data:; base-uri 'none'; form-action 'none'\"")) << meta;
    EXPECT_FALSE(has(meta, "unsafe")) << meta;
    size_t inlined = 0, hashes = 0;
    for (const char* open : {"<script>", "<style>"})
        for (size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1))
            ++inlined;
    for (size_t at = meta.find("'sha256-"); at != std::string::npos; at = meta.find("'sha256-", at + 1))
        ++hashes;
    EXPECT_GT(inlined, 2u);
    EXPECT_EQ(hashes, inlined);

    // A name that would end the script element holding the data, and markup in another.
    const char* const hostile = "</script><b id=\"injected\">bold</b>";
    // Its name has characters that would reorder the title and a control character.
    const std::string hostileScene = dir + "/hostile\u202E\x1B.scene";
    {
        kiNode* root = new kiNode;
        root->setName(hostile);
        kiNode* child = new kiNode;
        child->setName("<img src=x onerror=alert(1)>");
        root->addChild(child);
        kiNode* notText = new kiNode;
        notText->setName("Not UTF-8 \xC3\x28");
        root->addChild(notText);
        akDebugScene writer;
        ASSERT_EQ(writer.write(hostileScene.c_str(), root, false), telu::SUCCESS);
        delete root;
    }
    const std::string hostilePage = dir + "/hostile.html";
    Child hostileWritten({viewer(), "--html", hostilePage, hostileScene});
    ASSERT_EQ(hostileWritten.wait(std::chrono::seconds(60)), 0);
    EXPECT_FALSE(has(contents(hostilePage), "</script><b")) << "a text from the file ended the data";
    EXPECT_TRUE(has(contents(hostilePage), "Not UTF-8 \xEF\xBF\xBD(")) << "bytes that are not UTF-8 are replaced";

    // Over 200000 attributes: refused, and nothing written.
    const std::string big = dir + "/big.scene";
    {
        kiNode* root = new kiNode;
        for (int i = 0; i < 12000; ++i)
            root->addChild(new kiNode);
        akDebugScene writer;
        ASSERT_EQ(writer.write(big.c_str(), root, false), telu::SUCCESS);
        delete root;
    }
    const viewsupport::ViewRun refused = viewsupport::view("--html " + dir + "/big.html " + big);
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_TRUE(refused.has("holds more than 200000 attributes, too many for one page; serve it instead: "
                            "akdebug-view --serve"))
        << refused.err;
    EXPECT_FALSE(refused.has("--max-attributes")) << "the page's limit is not the reader's: " << refused.err;
    EXPECT_EQ(access((dir + "/big.html").c_str(), F_OK), -1);

    std::string chromium;
    findBrowser(chromium);
    if (chromium.empty())
        return;
    // From disk, the page searches its own data and opens what it found; control characters show
    // as the terminal shows them, and one attribute stays one row.
    const std::string shown = pageAfterScripts(chromium, "file://" + page + "?find=line%20one", dir);
    EXPECT_TRUE(has(shown, "<div class=\"r-name\">Line one\\nline two \\x1B[1mbold\\x1B[0m</div>")) << shown;
    EXPECT_TRUE(has(shown, "id=\"found\"")) << shown;
    const std::string hostileShown = pageAfterScripts(chromium, "file://" + hostilePage + "?find=script", dir);
    EXPECT_TRUE(has(hostileShown, "<title>hostile\\u202E\\x1B.scene \u2014 akdebug viewer</title>")) << hostileShown;
    EXPECT_FALSE(has(hostileShown, "id=\"injected\">")) << hostileShown;
    EXPECT_FALSE(has(hostileShown, "<img src=\"x\"")) << hostileShown;
    EXPECT_TRUE(has(hostileShown, "<div class=\"r-name\">&lt;/script&gt;&lt;b id=\"injected\"&gt;bold&lt;/b&gt;</div>"))
        << hostileShown;
}

// The number of chart canvases in a page that drew at least `ink` pixels.
int chartsDrawn(const std::string& page, int ink)
{
    int drawn = 0;
    for (size_t at = page.find("data-ink=\""); at != std::string::npos; at = page.find("data-ink=\"", at + 1))
        drawn += std::atoi(page.c_str() + at + 10) >= ink;
    return drawn;
}

TEST_F(WebTest, StatisticsDrawTheirChartsAndTwoRecordingsShowWhatDiffers)
{
    // A recording, and one of another run with the second draw left out and the third's colour
    // changed; in both, the second draw follows a change of material.
    const std::string a = dir + "/a.draw", b = dir + "/b.draw";
    drawscript::Paint red(1, 0, 0), green(0, 1, 0);
    const auto first = drawscript::quad("first", 1, 1, 1), second = drawscript::quad("second", 1, 1, 1),
               third = drawscript::quad("third", 0, 0, 1), first2 = drawscript::quad("first", 1, 1, 1),
               third2 = drawscript::quad("third", 0, 0, 0.5f);
    for (const std::string& file : {a, b}) {
        drawscript::Script script(file);
        script.context.setElement(&red.element);
        script.begin();
        script.draw(file == a ? first.get() : first2.get());
        script.context.setElement(&green.element);
        script.state("Green");
        if (file == a)
            script.draw(second.get());
        script.draw(file == a ? third.get() : third2.get());
        script.end(true);
    }
    Child server({viewer(), "--serve", a, "--compare", b, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string self = "127.0.0.1:" + std::to_string(port);
    const Answer differences = get(port, "/api/diff", self);
    ASSERT_EQ(differences.status, 200);
    const nlohmann::json diff = nlohmann::json::parse(differences.body);
    EXPECT_EQ(diff["removed"], 1);
    EXPECT_EQ(diff["changed"], 1);
    EXPECT_EQ(diff["added"], 0);
    EXPECT_EQ(get(port, "/api/changes?index=3", self).body,
              "{\"index\":3,\"changes\":{\"since\":1,\"elements\":[{\"element\":\"olMaterial::Element\",\"change\":"
              "\"changed\",\"fields\":[{\"path\":\"Material/Color, Diffuse\",\"type\":\"emVec4<float>\",\"before\":"
              "\"r=1, g=0, b=0, a=1\",\"after\":\"r=0, g=1, b=0, a=1\"}]}]}}");
    EXPECT_EQ(get(port, "/api/changes?index=99", self).status, 404);
    // Without --compare, the page compares nothing.
    Child alone({viewer(), "--serve", a, "--port", "0"});
    const int alonePort = serve(alone);
    ASSERT_GT(alonePort, 0);
    EXPECT_EQ(get(alonePort, "/api/diff", "127.0.0.1:" + std::to_string(alonePort)).status, 404);
    EXPECT_EQ(viewsupport::view("--serve " + scene + " --compare " + a + " --port 0").status, 1);

    std::string chromium;
    findBrowser(chromium);
    if (chromium.empty())
        return;
    const std::string compared = pageAfterScripts(chromium, "http://" + self + "/?view=compare", dir);
    EXPECT_TRUE(has(compared, "2 differences: 0 added, 1 removed, 1 changed")) << compared;
    EXPECT_TRUE(has(compared,
                    "<li class=\"difference difference-removed\"><span class=\"what\">removed</span>"
                    "<a class=\"ri\" href=\"?record=3\">record 3</a><span class=\"label\">Geometry "
                    "olGeometry \"second\"</span></li>"))
        << compared;
    EXPECT_TRUE(has(compared,
                    "<span class=\"path\">Geometry/olGeometryBase/Colors/0</span><span class=\"type\">"
                    "[emVec4&lt;float&gt;]</span><span class=\"before\">r=0, g=0, b=1, a=1</span><span "
                    "class=\"arrow\">→</span><span class=\"after\">r=0, g=0, b=0.5, a=1</span>"))
        << compared;
    size_t listed = 0;
    for (size_t at = compared.find("<li class=\"difference "); at != std::string::npos;
         at = compared.find("<li class=\"difference ", at + 1))
        ++listed;
    EXPECT_EQ(listed, 2u);
    // The draw after the change of material shows it in its "Changed" panel.
    const std::string record = pageAfterScripts(chromium, "http://" + self + "/?record=3", dir);
    EXPECT_TRUE(has(record, "<span class=\"what\">changed</span><span class=\"element\">olMaterial::Element</span>"))
        << record;
    EXPECT_TRUE(has(record,
                    "<td class=\"path\">Material/Color, Diffuse</td><td class=\"type\">[emVec4&lt;float&gt;]"
                    "</td><td class=\"before\">r=1, g=0, b=0, a=1</td>"))
        << record;

    // Statistics with their charts: the recording's, served and from disk, and the scene's.
    const std::string page = dir + "/world.html";
    Child writer({viewer(), "--html", page, draw});
    ASSERT_EQ(writer.wait(std::chrono::seconds(60)), 0);
    for (const std::string& url : {"http://" + self + "/?view=stats", "file://" + page + "?view=stats"}) {
        const std::string stats = pageAfterScripts(chromium, url, dir);
        EXPECT_TRUE(has(stats, "data-charts=\"4\"")) << stats;
        EXPECT_EQ(chartsDrawn(stats, 1000), 4) << url;
        EXPECT_TRUE(has(stats, "<th>redundant</th>")) << stats;
    }
    Child sceneServer({viewer(), "--serve", scene, "--port", "0"});
    const int scenePort = serve(sceneServer);
    ASSERT_GT(scenePort, 0);
    const std::string sceneStats =
        pageAfterScripts(chromium, "http://127.0.0.1:" + std::to_string(scenePort) + "/?view=stats", dir);
    EXPECT_EQ(chartsDrawn(sceneStats, 1000), 4) << sceneStats;
    EXPECT_TRUE(has(sceneStats, "<td>kiGeometry</td>")) << sceneStats;
}

// The server's limits, through real sockets: anything but a plain GET or HEAD is refused without
// its body being read, whatever the body's size and however many clients send one; every answer
// carries the page's policy.
TEST_F(WebTest, RefusesAllButGetAndHeadWithoutReadingBodies)
{
    Child server({viewer(), "--serve", scene, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
    const long before = peakKilobytes(server.pid());
    ASSERT_GT(before, 0);

    // Four clients at once announce 300 MB each and send until they are answered (64 MB at most).
    std::vector<std::string> answers(4);
    std::vector<std::thread> clients;
    for (size_t i = 0; i < answers.size(); ++i)
        clients.emplace_back([&, i] {
            Client client(port);
            client.send("POST /api/info HTTP/1.1\r\n" + host + "Content-Length: 300000000\r\n\r\n");
            const std::string chunk(64 * 1024, 'x');
            for (int sent = 0; sent < 1024 && !client.answered() && client.send(chunk); ++sent) {}
            answers[i] = client.receive();
        });
    for (std::thread& client : clients)
        client.join();
    for (const std::string& answer : answers) {
        EXPECT_EQ(statuses(answer), std::vector<int>{405}) << answer.substr(0, 300);
        EXPECT_TRUE(has(answer, "\r\nAllow: GET, HEAD\r\n")) << answer.substr(0, 300);
    }
    EXPECT_LT(peakKilobytes(server.pid()) - before, 16 * 1024) << "the bodies were not read";

    // Bodies of a GET: a small one is dropped and the next request on the connection answered; a
    // larger one, or one of unknown length, is refused.
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"GET /api/info HTTP/1.1\r\n" + host + "Content-Length: 5\r\n\r\nhelloGET / HTTP/1.1\r\n" + host +
             "Connection: close\r\n\r\n",
         {200, 200}},
        {"GET / HTTP/1.1\r\n" + host + "Content-Length: 1025\r\n\r\n", {413}},
        {"GET / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n", {413}},
        {"GET / HTTP/1.1\r\n" + host + "Content-Length: 0\r\nContent-Length: 5\r\n\r\nhello", {413}},
        {"DELETE / HTTP/1.1\r\n" + host + "Content-Length: 10\r\nExpect: 100-continue\r\n\r\n", {405}},
        {"OPTIONS * HTTP/1.1\r\n" + host + "\r\n", {405}},
        // Refused from another site too, where it would have come from a form.
        {"POST / HTTP/1.1\r\n" + host + "Sec-Fetch-Site: cross-site\r\nContent-Length: 3\r\n\r\na=b", {405}},
    };
    for (const auto& entry : cases) {
        Client client(port);
        client.send(entry.first);
        EXPECT_EQ(statuses(client.receive()), entry.second) << entry.first;
    }
    Client head(port);
    head.send("HEAD / HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n");
    const std::string headAnswer = head.receive();
    EXPECT_EQ(statuses(headAnswer), std::vector<int>{200});
    EXPECT_EQ(headAnswer.substr(headAnswer.find("\r\n\r\n") + 4), "") << "no body";

    // The policy with every answer: the page, a refusal, a route that is not there, a bad request.
    for (const std::string& request :
         {"GET / HTTP/1.1\r\n" + host, std::string("GET / HTTP/1.1\r\nHost: elsewhere\r\n"),
          "GET /nothing HTTP/1.1\r\n" + host, "PUT / HTTP/1.1\r\n" + host, "GET /api/find?q= HTTP/1.1\r\n" + host}) {
        Client client(port);
        client.send(request + "Connection: close\r\n\r\n");
        const std::string answer = client.receive();
        const size_t at = answer.find("\r\nContent-Security-Policy: ");
        ASSERT_NE(at, std::string::npos) << answer;
        const std::string policy = answer.substr(at + 27, answer.find("\r\n", at + 2) - at - 27);
        EXPECT_EQ(policy,
                  "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src data:; "
                  "base-uri 'none'; form-action 'none'; frame-ancestors 'none'")
            << request;
    }
    EXPECT_EQ(server.end(SIGTERM), 0);
}

// A request's head is bounded in lines, bytes and time; slow clients hold a worker each for a few
// seconds at most, and there are workers enough that the page is answered meanwhile.
TEST_F(WebTest, RequestHeadsAreBoundedAndSlowClientsDoNotStarveThePage)
{
    Child server({viewer(), "--serve", scene, "--port", "0"});
    const int port = serve(server);
    ASSERT_GT(port, 0);
    const std::string self = "127.0.0.1:" + std::to_string(port);
    const std::string host = "Host: " + self + "\r\n";
    std::string lines, longLines;
    for (int i = 0; i < 2000; ++i)
        lines += "X-Line-" + std::to_string(i) + ": a\r\n";
    for (int i = 0; i < 5; ++i)
        longLines += "X-Long-" + std::to_string(i) + ": " + std::string(7000, 'a') + "\r\n";
    std::string hundred;
    for (int i = 0; i < 98; ++i)
        hundred += "X-Line-" + std::to_string(i) + ": a\r\n";
    const std::pair<std::string, int> cases[] = {
        {"GET / HTTP/1.1\r\n" + host + lines + "\r\n", 431},
        {"GET / HTTP/1.1\r\n" + host + longLines + "\r\n", 431},
        {"GET /" + std::string(40000, 'a') + " HTTP/1.1\r\n" + host + "\r\n", 431},
        {"GET / HTTP/1.1\r\n" + host + "Connection: close\r\n" + hundred + "\r\n", 200},
    };
    for (const auto& entry : cases) {
        Client client(port);
        client.send(entry.first);
        const std::string answer = client.receive();
        EXPECT_EQ(statuses(answer), std::vector<int>{entry.second}) << answer.substr(0, 200);
    }

    // Sixteen clients send a header line a second.
    constexpr int slowClients = 16;
    std::vector<std::string> answers(slowClients);
    std::vector<double> seconds(slowClients, 0);
    std::vector<std::thread> clients;
    for (int i = 0; i < slowClients; ++i)
        clients.emplace_back([&, i] {
            Client client(port);
            const auto start = std::chrono::steady_clock::now();
            client.send("GET / HTTP/1.1\r\n");
            for (int line = 0; line < 15 && !client.answered(std::chrono::seconds(1)); ++line)
                client.send("X-Slow: " + std::to_string(line) + "\r\n");
            answers[i] = client.receive();
            seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto asked = std::chrono::steady_clock::now();
    const Answer info = get(port, "/api/info", self);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    EXPECT_EQ(info.status, 200);
    EXPECT_LT(took, 1.0) << "the page waited for the slow clients";
    for (std::thread& client : clients)
        client.join();
    for (int i = 0; i < slowClients; ++i) {
        EXPECT_EQ(statuses(answers[i]), std::vector<int>{408}) << answers[i].substr(0, 200);
        EXPECT_GE(seconds[i], 4.5);
        EXPECT_LT(seconds[i], 9.0);
    }
    EXPECT_EQ(server.end(SIGTERM), 0);
}

// A port that another program listens on is an error, never shared: neither with another viewer,
// nor with a socket that allows sharing its port.
TEST_F(WebTest, APortInUseIsAnError)
{
    Child first({viewer(), "--serve", scene, "--port", "0"});
    const int port = serve(first);
    ASSERT_GT(port, 0);
    const int shared = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    setsockopt(shared, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    setsockopt(shared, SOL_SOCKET, SO_REUSEPORT, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(shared, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(shared, 4), 0);
    ASSERT_EQ(getsockname(shared, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int sharedPort = ntohs(address.sin_port);

    for (int taken : {port, sharedPort}) {
        const std::string output = dir + "/second-" + std::to_string(taken) + ".txt";
        Child second({"/bin/sh", "-c",
                      "exec \"" + viewer() + "\" --serve \"" + scene + "\" --port " + std::to_string(taken) + " 2>&1"},
                     output);
        EXPECT_EQ(second.wait(std::chrono::seconds(30)), 1) << taken;
        EXPECT_TRUE(has(contents(output),
                        "akdebug-view: cannot serve on 127.0.0.1:" + std::to_string(taken) +
                            ": another program listens on it; give another port with --port N"))
            << contents(output);
    }
    close(shared);
    // Every connection still reaches the first.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(get(port, "/", "127.0.0.1:" + std::to_string(port)).status, 200);
    EXPECT_EQ(first.end(SIGTERM), 0);
}

}  // namespace
