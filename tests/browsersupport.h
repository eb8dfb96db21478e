// What the tests of the web page share: the viewer and the headless browser started beside the
// test, the page's document after its scripts ran, and screenshots.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace browsersupport {

inline std::string viewer()
{
    const char* binDir = std::getenv("TELU_BIN_DIR");
    return std::string(binDir ? binDir : ".") + "/akdebug-view";
}

inline std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A program started beside the test. Its standard output goes to a pipe the test reads, or to a
// file; it is ended (SIGTERM) when the test is done with it.
class Child
{
public:
    Child(const std::vector<std::string>& arguments, const std::string& outputFile = "")
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int pipeEnds[2] = {-1, -1};
        if (outputFile.empty()) {
            if (pipe(pipeEnds) != 0)
                return;
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
            posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
            posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pipeEnds[1] >= 0)
            close(pipeEnds[1]);
        m_out = pipeEnds[0];
    }
    ~Child()
    {
        end(SIGKILL);
        if (m_out >= 0)
            close(m_out);
    }
    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // The next line of its output, or "" when none came within the time.
    std::string line(std::chrono::seconds within = std::chrono::seconds(30))
    {
        std::string text;
        const auto until = std::chrono::steady_clock::now() + within;
        char c = 0;
        while (m_out >= 0 && std::chrono::steady_clock::now() < until) {
            pollfd ready{m_out, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0)
                continue;
            if (read(m_out, &c, 1) != 1 || c == '\n')
                return text;
            text += c;
        }
        return "";
    }
    // Waits until it ends by itself (killing it after the time): its exit status, -1 when killed.
    int wait(std::chrono::seconds within)
    {
        const auto until = std::chrono::steady_clock::now() + within;
        while (m_pid > 0 && std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        end(SIGKILL);
        return -1;
    }
    // Sends the signal and waits: the exit status, or minus the signal that ended it.
    int end(int signal)
    {
        if (m_pid <= 0)
            return -1;
        kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

// The headless browser; left empty after failing the test, as only AKDEBUG_NO_BROWSER lets a
// machine without it skip.
inline std::string findChromium()
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && access((dir + "/chromium").c_str(), X_OK) == 0)
            return dir + "/chromium";
    return "";
}

inline void findBrowser(std::string& chromium)
{
    chromium = findChromium();
    if (!chromium.empty())
        return;
    if (std::getenv("AKDEBUG_NO_BROWSER"))
        GTEST_SKIP() << "chromium is not installed and AKDEBUG_NO_BROWSER is set";
    ADD_FAILURE() << "chromium is not installed (set AKDEBUG_NO_BROWSER to skip the browser tests)";
}

// Starts of the browser so far, for profiles and files of their own.
inline int& runs()
{
    static int count = 0;
    return count;
}

// The browser's command line without what it is to do. Software WebGL is asked for by name: the
// browser warns on the console when it falls back to it unasked.
inline std::vector<std::string> headless(const std::string& chromium, const std::string& profile)
{
    return {chromium,
            "--headless",
            "--no-sandbox",
            "--disable-gpu",
            "--enable-unsafe-swiftshader",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--user-data-dir=" + profile};
}

// The document of a page after its scripts ran.
inline std::string pageAfterScripts(const std::string& chromium, const std::string& url, const std::string& dir)
{
    const int run = ++runs();
    const std::string profile = dir + "/profile-" + std::to_string(run);
    const std::string dom = dir + "/dom-" + std::to_string(run) + ".html";
    mkdir(profile.c_str(), 0700);
    std::vector<std::string> arguments = headless(chromium, profile);
    arguments.insert(arguments.end(), {"--virtual-time-budget=10000", "--dump-dom", url});
    Child browser(arguments, dom);
    EXPECT_EQ(browser.wait(std::chrono::seconds(120)), 0) << url;
    const std::string page = contents(dom);
    EXPECT_TRUE(has(page, "data-ready=\"true\"")) << "the page did not finish: " << url << "\n" << page.substr(0, 2000);
    EXPECT_FALSE(has(page, "<div id=\"banner\">")) << "the page shows a failure: " << url;
    return page;
}

// A server started with --serve --port 0: its port, or 0.
inline int serve(Child& server)
{
    if (!server.started())
        return 0;
    const std::string line = server.line();
    int port = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "serving http://127.0.0.1:%d/", &port), 1) << line;
    return port;
}

// A picture of the page once its scripts ran, `width` by `height` pixels: the PNG file's path.
inline std::string screenshot(const std::string& chromium, const std::string& url, const std::string& dir, int width,
                              int height)
{
    const int run = ++runs();
    const std::string profile = dir + "/profile-" + std::to_string(run);
    const std::string png = dir + "/shot-" + std::to_string(run) + ".png";
    mkdir(profile.c_str(), 0700);
    std::vector<std::string> arguments = headless(chromium, profile);
    arguments.insert(arguments.end(),
                     {"--hide-scrollbars", "--window-size=" + std::to_string(width) + "," + std::to_string(height),
                      "--virtual-time-budget=10000", "--screenshot=" + png, url});
    Child browser(arguments, dir + "/shot-" + std::to_string(run) + ".log");
    EXPECT_EQ(browser.wait(std::chrono::seconds(120)), 0) << url;
    return png;
}

}  // namespace browsersupport
