// What a user waits for: every output of `akdebug-view` on the benchmark scene and a recording of
// it, each run in a fresh process (wall time and peak resident memory) and given as a ratio to the
// plain read of the same file in the same run, so that a busy machine moves both alike. Other
// figures are absolute: `--types` in seconds, the server's answers in milliseconds, the refusal of
// a file whose repeats expand exponentially in seconds and megabytes.
//
// usage: bench_view [--nodes N] [--frames F] [--repeat K] [--core C] [--check] [--strict]
//                   [--markdown] [--timeout S] [--viewer PATH] [--keep DIRECTORY] [--only TEXT...]
#include "viewfiles.h"
#include "viewmodes.h"
#include "viewreport.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sched.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

using namespace benchview;

struct Options
{
    int nodes = 100000;
    int frames = 2;
    int repeat = 1;
    int core = -1;
    bool check = false;
    bool strict = false;
    bool markdown = false;
    double timeout = 600;
    std::string viewer;
    std::string keep;
    std::vector<std::string> only;
    std::string command;  // as given, for the report
    // Hidden: the processes this program starts of itself.
    std::string write;
    std::vector<std::string> read, readRecords;
};

std::string selfPath()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : "bench_view";
}

// Parses the command line; false with the exit status when the program ends here.
bool parse(int argc, char** argv, Options& o, int& status)
{
    CLI::App app("Times every output of akdebug-view on the benchmark scene of N geometry nodes and a recording of "
                 "F frames of it, each in a fresh process, as a ratio to the plain read of the same file.",
                 "bench_view");
    app.add_option("--nodes", o.nodes, "geometry nodes of the benchmark scene (default 100000)")
        ->check(CLI::Range(10, 10000000));
    app.add_option("--frames", o.frames, "frames recorded (default 2)")->check(CLI::Range(1, 1000));
    app.add_option("--repeat", o.repeat, "the best of K runs of each mode (default 1)")->check(CLI::Range(1, 100));
    app.add_option("--core", o.core, "run the programs measured on core C only")->check(CLI::NonNegativeNumber);
    app.add_flag("--check", o.check,
                 "exit status 1 when a figure passes twice its aim or a run ends with a status its mode does not "
                 "expect; a run is stopped once it passes twice its aim");
    app.add_flag("--strict", o.strict, "with --check: every failed run counts, whatever its status");
    app.add_flag("--markdown", o.markdown, "print the README's table (progress goes to stderr)");
    app.add_option("--timeout", o.timeout, "stop a run after S seconds (default 600)")->check(CLI::PositiveNumber);
    app.add_option("--viewer", o.viewer, "the viewer measured (default: akdebug-view beside this program)");
    app.add_option("--keep", o.keep, "write the files to DIRECTORY and keep them");
    app.add_option("--only", o.only,
                   "only the modes whose mode and file, as the table shows them (\"--find draw\"), hold one of these "
                   "texts, and the reads they are compared with");
    app.add_option("--write", o.write)->group("");
    app.add_option("--read", o.read)->group("");
    app.add_option("--read-records", o.readRecords)->group("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        status = app.exit(e) == 0 ? 0 : 2;
        return false;
    }
    cpu_set_t allowed;
    if (o.core >= 0 &&
        (o.core >= CPU_SETSIZE || sched_getaffinity(0, sizeof allowed, &allowed) != 0 ||
         !CPU_ISSET(o.core, &allowed))) {
        std::fprintf(stderr, "bench_view: core %d is not one this program may run on\n", o.core);
        status = 2;
        return false;
    }
    o.command = "bench_view";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool plain =
            arg.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./=:,") ==
            std::string::npos;
        o.command += plain ? " " + arg : " '" + arg + "'";
    }
    return true;
}

double fileMegabytes(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0.0;
}

// The most a run of the mode may take: the timeout, and with --check the time past which it is
// over twice its aim anyway.
double limitOf(const Mode& mode, const std::vector<Mode>& modes, const std::vector<Measure>& best, const Options& o)
{
    // The attributes the mode builds against those of its baseline, when it builds those of another read.
    double scale = 1;
    for (size_t i = 0; i < modes.size() && !mode.builds.empty(); ++i)
        for (size_t j = 0; j < modes.size(); ++j)
            if (modes[i].key() == mode.builds && modes[j].key() == mode.baseline && best[j].attributes)
                scale = static_cast<double>(best[i].attributes) / static_cast<double>(best[j].attributes);
    double limit = o.timeout;
    for (const Aim& aim : o.check ? mode.aims : std::vector<Aim>{}) {
        if (aim.figure == Figure::Seconds)
            limit = std::min(limit, 2 * aim.limit);
        for (size_t i = 0; i < modes.size() && aim.figure == Figure::Ratio && scale > 0; ++i)
            if (modes[i].key() == mode.baseline && best[i].failure.empty() && !best[i].outcome.stopped &&
                best[i].seconds > 0)
                limit = std::min(limit, 2 * aim.limit * best[i].seconds * scale);
    }
    return limit;
}

// The modes to run (again) in a round: those chosen, except that a run stopped at its limit or
// ended unexpectedly gives no better one when repeated, and with --check a mode already within its
// aims is not run again. A read is run while a mode compared with it is.
std::vector<bool> dueModes(const std::vector<Mode>& modes, const std::vector<Measure>& best, const Options& o)
{
    std::vector<bool> due(modes.size());
    for (size_t i = modes.size(); i-- > 0;) {
        const Measure& m = best[i];
        const bool chosen = o.only.empty() || std::any_of(o.only.begin(), o.only.end(), [&](const std::string& text) {
                                return modes[i].key().find(text) != std::string::npos;
                            });
        due[i] =
            chosen && (!m.ran || (!m.outcome.stopped && !m.unexpected && !(o.check && withinAims(modes, best, i))));
        for (size_t j = i + 1; j < modes.size(); ++j)
            if (due[j] && (modes[j].baseline == modes[i].key() || modes[j].builds == modes[i].key()) &&
                !m.outcome.stopped && !m.unexpected)
                due[i] = true;
    }
    return due;
}

std::vector<std::string> describe(const Options& o, const Files& files, const std::vector<Mode>& modes,
                                  const std::vector<Measure>& best)
{
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    struct utsname name;
    uname(&name);
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, cpu = "unknown processor";
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) {
            cpu = line.substr(line.find(':') + 2);
            break;
        }
    auto file = [&](const std::string& what, const std::string& path, const std::string& key, const char* counted) {
        const double megabytes = fileMegabytes(path);
        char text[64];
        std::snprintf(text, sizeof text, megabytes < 1 ? " (%.0f KB" : " (%.1f MB",
                      megabytes < 1 ? megabytes * 1000 : megabytes);
        std::string described = what + text;
        for (size_t i = 0; i < modes.size(); ++i)
            if (modes[i].key() == key && best[i].attributes)
                described += ", " + std::to_string(best[i].attributes) + " " + counted;
        return described + ")";
    };
    const std::string quote = o.markdown ? "`" : "";
    const std::string pinned = o.core >= 0 ? "runs pinned to core " + std::to_string(o.core) : "runs not pinned";
    return {
        "Measured " + std::string(date) + ", " + name.sysname + " " + name.release + " " + name.machine + ", " + cpu +
            ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores, " + pinned + ".",
        "Command: " + quote + o.command + quote + " (each figure the best of " + std::to_string(o.repeat) + " run" +
            (o.repeat == 1 ? "" : "s") + "; ratios to the plain read of the same file in the same run).",
        "Files: " + file("scene", files.scene, "read scene", "attributes") + ", " +
            file("draw of " + std::to_string(o.frames) + (o.frames == 1 ? " frame" : " frames"), files.draw,
                 "read draw", "attributes held at most") +
            ", " + file("instanced", files.instanced, "read instanced", "attributes") + ", " +
            file("fresh", files.fresh, "read fresh", "attributes") + ", " +
            file("bomb", files.bomb, "read bomb", "attributes built before its refusal") + ".",
    };
}

void removeFiles(const Files& files, const std::string& directory)
{
    for (const std::string& path : files.all())
        std::remove(path.c_str());
    rmdir(directory.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    int status = 0;
    if (!parse(argc, argv, o, status))
        return status;
    if (!o.write.empty())
        return writeFiles(o.write, o.nodes, o.frames);
    if (!o.read.empty() || !o.readRecords.empty())
        return readFiles(o.read.empty() ? o.readRecords : o.read, o.read.empty());

    Runner runner;
    runner.self = selfPath();
    runner.viewer = o.viewer.empty() ? runner.self.substr(0, runner.self.rfind('/') + 1) + "akdebug-view" : o.viewer;
    runner.core = o.core;
    runner.answerTimeout = o.check ? 0.2 : 30;  // twice the aim of an answer
    std::string directory = o.keep;
    if (directory.empty()) {
        char pattern[] = "/tmp/akdebug-bench-view-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::fprintf(stderr, "bench_view: cannot make a temporary directory\n");
            return 1;
        }
        directory = pattern;
    }
    const Files files(directory);

    // The files are written by a process of their own: the peaks measured would otherwise count
    // the memory this one held while writing them.
    std::fprintf(stderr, "bench_view: writing the files to %s\n", directory.c_str());
    const Outcome written = run(
        {runner.self, "--write", directory, "--nodes", std::to_string(o.nodes), "--frames", std::to_string(o.frames)},
        -1, 0);
    const std::string frames = lineAfter(written.head, "draw frames ");
    const Targets targets{lineAfter(written.head, "find "), lineAfter(written.head, "scene address "),
                          lineAfter(written.head, "draw address "), frames.substr(0, frames.find(' ')),
                          frames.substr(frames.find(' ') + 1)};
    if (!written.exited || written.status != 0 || targets.name.empty()) {
        std::fprintf(stderr, "bench_view: the files could not be written%s%s", written.errors.empty() ? "\n" : ": ",
                     written.errors.c_str());
        if (o.keep.empty())
            removeFiles(files, directory);
        return 1;
    }

    const std::vector<Mode> table = modes(files, targets);
    std::vector<Measure> best(table.size());
    for (int round = 1; round <= o.repeat; ++round) {
        const std::vector<bool> due = dueModes(table, best, o);
        for (size_t i = 0; i < table.size(); ++i) {
            if (!due[i])
                continue;
            const Measure m = measure(table[i], runner, targets.name, limitOf(table[i], table, best, o));
            std::fprintf(stderr, "bench_view: [%d/%d] %s %s: %s%.2f s, %.0f MB%s%s\n", round, o.repeat,
                         table[i].name.c_str(), table[i].file.c_str(), m.outcome.stopped ? "stopped at " : "",
                         m.seconds, m.outcome.peakMegabytes, m.failure.empty() ? "" : ", failed: ", m.failure.c_str());
            keepBest(best[i], m);
        }
    }

    const std::vector<Row> rows = tabulate(table, best, o.strict);
    const std::vector<std::string> header = describe(o, files, table, best);
    if (o.markdown)
        printMarkdown(header, rows);
    else
        printPlain(header, rows);
    if (o.keep.empty())
        removeFiles(files, directory);

    bool passed = true;
    for (const Row& row : rows)
        if (o.check && row.failsCheck) {
            if (row.figure == "-")
                std::fprintf(stderr, "bench_view: %s %s %s\n", row.mode.c_str(), row.file.c_str(), row.verdict.c_str());
            else
                std::fprintf(stderr, "bench_view: %s %s: %s, past twice its aim (%s)\n", row.mode.c_str(),
                             row.file.c_str(), row.figure.c_str(), row.aim.c_str());
            passed = false;
        }
    return passed ? 0 : 1;
}
