#include "viewprocess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace benchview {

namespace {

constexpr size_t s_headBytes = 64 * 1024;
constexpr size_t s_tailBytes = 4 * 1024;
constexpr size_t s_errorBytes = 4 * 1024;

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

void keep(std::string& text, const char* data, size_t n, size_t most)
{
    text.append(data, std::min(n, most - std::min(most, text.size())));
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, int core)
{
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // The child takes the affinity of the thread that starts it.
    cpu_set_t before;
    bool pinned = false;
    if (core >= 0 && sched_getaffinity(0, sizeof before, &before) == 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(core, &one);
        pinned = sched_setaffinity(0, sizeof one, &one) == 0;
    }
    m_start = now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
        m_pid = pid;
    if (pinned)
        sched_setaffinity(0, sizeof before, &before);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
    m_outcome.started = m_pid > 0;
    if (m_pid <= 0) {
        close(m_out);
        close(m_err);
        m_out = m_err = -1;
    }
}

Process::~Process()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        finish(0);
    }
}

double Process::elapsed() const { return now() - m_start; }

bool Process::pump(double seconds)
{
    pollfd fds[2];
    int n = 0;
    for (int fd : {m_out, m_err})
        if (fd >= 0)
            fds[n++] = {fd, POLLIN, 0};
    if (n == 0)
        return false;
    const int waited = poll(fds, static_cast<nfds_t>(n), static_cast<int>(std::max(0.0, seconds) * 1000));
    if (waited < 0 && errno != EINTR)
        return false;
    char buffer[64 * 1024];
    for (int i = 0; i < n && waited > 0; ++i) {
        if (!fds[i].revents)
            continue;
        const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            close(fds[i].fd);
            (fds[i].fd == m_out ? m_out : m_err) = -1;
            continue;
        }
        const size_t size = static_cast<size_t>(got);
        if (fds[i].fd == m_err) {
            keep(m_outcome.errors, buffer, size, s_errorBytes);
            continue;
        }
        m_outcome.outputBytes += size;
        keep(m_outcome.head, buffer, size, s_headBytes);
        m_outcome.tail.append(buffer, size);
        if (m_outcome.tail.size() > s_tailBytes)
            m_outcome.tail.erase(0, m_outcome.tail.size() - s_tailBytes);
    }
    return m_out >= 0 || m_err >= 0;
}

void Process::stopAtLimit(double limit)
{
    if (limit > 0 && !m_outcome.stopped && elapsed() >= limit) {
        kill(m_pid, SIGKILL);
        m_outcome.stopped = true;
    }
}

bool Process::readUntil(double limit, const std::function<bool(const Outcome&)>& ready)
{
    while (m_pid > 0 && !ready(m_outcome)) {
        const double left = limit - elapsed();
        if (left <= 0 || !pump(std::min(left, 0.1)))
            return false;
    }
    return m_pid > 0;
}

void Process::signal(int number)
{
    if (m_pid > 0)
        kill(m_pid, number);
}

const Outcome& Process::finish(double limit)
{
    if (m_pid <= 0)
        return m_outcome;
    for (bool open = true; open;) {
        stopAtLimit(limit);
        open = pump(limit > 0 && !m_outcome.stopped ? std::min(0.1, std::max(0.0, limit - elapsed())) : 0.1);
    }
    // Its outputs are closed; it is ending, or has closed them and goes on.
    struct rusage usage;
    int status = 0;
    for (;;) {
        const pid_t reaped = wait4(m_pid, &status, WNOHANG, &usage);
        if (reaped == m_pid)
            break;
        if (reaped < 0 && errno != EINTR) {
            m_pid = -1;
            return m_outcome;
        }
        stopAtLimit(limit);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    m_outcome.seconds = elapsed();
    m_outcome.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    m_outcome.exited = WIFEXITED(status);
    m_outcome.status = m_outcome.exited ? WEXITSTATUS(status) : -1;
    m_outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    m_pid = -1;
    return m_outcome;
}

std::string lineAfter(const std::string& output, const std::string& label)
{
    const size_t at = output.find(label);
    if (at == std::string::npos)
        return "";
    const size_t from = at + label.size();
    return output.substr(from, output.find('\n', from) - from);
}

Outcome run(const std::vector<std::string>& argv, int core, double limit)
{
    Process process(argv, core);
    return process.finish(limit);
}

}  // namespace benchview
