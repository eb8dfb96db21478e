// A program run in a fresh process, as a user meets it: wall time from its start until it is
// reaped, its peak resident memory (from wait4's resource usage), how it ended and what it wrote.
//
// The peak that the kernel reports for a child also counts the memory of the process that
// started it (the child shares or copies it until its exec), so the processes measured are
// started from a small one.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace benchview {

struct Outcome
{
    bool started = false;
    double seconds = 0;  // from the start until reaped
    double peakMegabytes = 0;
    bool exited = false;  // ended by exit, with `status`; otherwise by `signal`
    int status = -1;
    int signal = 0;
    bool stopped = false;  // killed by this program at its time limit
    unsigned long long outputBytes = 0;
    std::string head;    // the first 64 KB of its standard output
    std::string tail;    // the last 4 KB of it
    std::string errors;  // the first 4 KB of its standard error
};

class Process
{
public:
    // Starts argv[0] with stdin from /dev/null and its stdout and stderr read by this object; on
    // one core only when `core` is not negative.
    Process(const std::vector<std::string>& argv, int core);
    // A child still running is killed and reaped.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return m_pid > 0; }
    // Seconds since the start.
    double elapsed() const;
    const Outcome& outcome() const { return m_outcome; }

    // Reads the child's output until `ready(outcome())` holds (true), or the child closes its
    // output or `limit` seconds from the start pass (false).
    bool readUntil(double limit, const std::function<bool(const Outcome&)>& ready);
    void signal(int number);
    // Reads the rest of its output and reaps it; kills it once `limit` seconds from the start have
    // passed (0: no limit).
    const Outcome& finish(double limit);

private:
    // Waits up to `seconds` for output and reads what came; false once both outputs are closed.
    bool pump(double seconds);
    void stopAtLimit(double limit);

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    double m_start = 0;
    Outcome m_outcome;
};

// The rest of the line after the first `label` in an output ("" when there is none).
std::string lineAfter(const std::string& output, const std::string& label);

// The whole run of a program (see Process).
Outcome run(const std::vector<std::string>& argv, int core, double limit);

}  // namespace benchview
