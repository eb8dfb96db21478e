#include "viewmodes.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace benchview {

std::vector<Mode> modes(const Files& f, const Targets& t)
{
    using F = Figure;
    const Program R = Program::Reader, V = Program::Viewer, S = Program::Server;
    // clang-format off
    return {
        // The plain reads: a scene whole, a draw file record by record.
        {"read", "scene", R, {"--read", f.scene}, "", {{F::BytesPerAttribute, 48}}},
        {"read", "draw", R, {"--read-records", f.draw}, "", {}},
        {"read", "2 scenes", R, {"--read", f.scene, f.other}, "", {}},
        {"read", "2 draws", R, {"--read-records", f.draw, f.otherDraw}, "", {}},
        {"read", "fresh", R, {"--read", f.fresh}, "", {}},
        {"read", "instanced", R, {"--read", f.instanced}, "read fresh", {{F::Ratio, 1.5}}},
        // What the exponential file builds before it is refused.
        {"read", "bomb", R, {"--read", f.bomb}, "", {}, {1}},
        // The viewer's outputs.
        {"--summary", "scene", V, {"--summary", f.scene}, "read scene", {{F::Ratio, 1.2}}},
        {"--summary", "draw", V, {"--summary", f.draw}, "read draw", {{F::Ratio, 1.3}}},
        {"--types", "scene", V, {"--types", f.scene}, "", {{F::Seconds, 0.1}}},
        {"--types", "draw", V, {"--types", f.draw}, "", {{F::Seconds, 0.1}}},
        {"--find", "scene", V, {"--find", t.name, f.scene}, "read scene", {{F::Ratio, 1.2}}, {0}, true},
        {"--find", "draw", V, {"--find", t.name, f.draw}, "read draw", {{F::Ratio, 1.2}}, {0}, true},
        {"--address", "scene", V, {"--address", t.sceneAddress, f.scene}, "read scene", {{F::Ratio, 1.2}}, {0}, true},
        {"--address", "draw", V, {"--address", t.drawAddress, f.draw}, "read draw", {{F::Ratio, 1.2}}, {0}, true},
        {"--json", "scene", V, {"--json", f.scene}, "read scene", {{F::Ratio, 3}, {F::Rate, 150}}},
        {"--json", "draw", V, {"--json", f.draw}, "read draw", {{F::Ratio, 3}, {F::Rate, 150}}},
        {"--diff", "2 scenes", V, {"--diff", f.scene, f.other}, "read 2 scenes", {{F::Ratio, 2.5}}, {0, 3}},
        {"--diff", "2 draws", V, {"--diff", f.draw, f.otherDraw}, "read 2 draws", {{F::Ratio, 3}}, {0, 3}},
        {"--diff", "draw frames", V, {"--diff", f.draw, "--frames", t.firstFrame, t.lastFrame}, "read draw",
         {{F::Ratio, 1.5}}, {0, 3}},
        {"--stats", "draw", V, {"--stats", f.draw}, "read draw", {{F::Ratio, 1.3}}},
        // What each draw changed, against the records shown without it: those of the first frame,
        // which keeps the runs short.
        {"tree", "draw frame", V, {"--frame", t.firstFrame, f.draw}, "read draw", {}},
        {"--changes", "draw frame", V, {"--changes", "--frame", t.firstFrame, f.draw}, "tree draw frame",
         {{F::Ratio, 1.2}}},
        {"--serve", "scene", S, {"--serve", f.scene, "--port", "0"}, "read scene", {{F::Ratio, 1.2}}},
        {"--serve", "draw", S, {"--serve", f.draw, "--port", "0"}, "read draw", {{F::Ratio, 1.2}}},
        // Refused, with the bound it met, in about the time that reading as many attributes fresh takes.
        {"--summary", "bomb", V, {"--summary", f.bomb}, "read fresh", {{F::Ratio, 1.2}, {F::Megabytes, 1024}}, {1},
         false, "read bomb"},
    };
    // clang-format on
}

namespace {

// The count of a line "N objects found" or "N places found" at the end of an output, or -1.
long long foundCount(const std::string& tail)
{
    const size_t end = tail.rfind(" found");
    if (end == std::string::npos)
        return -1;
    const size_t line = tail.rfind('\n', end);
    return std::atoll(tail.c_str() + (line == std::string::npos ? 0 : line + 1));
}

std::string firstLine(const std::string& text) { return text.substr(0, std::min(text.find('\n'), size_t{200})); }

// Notes why an ended run did not do its job, if it did not. A server asked to end with SIGTERM may
// end by it.
void judge(const Mode& mode, Measure& m, bool signalled)
{
    const Outcome& o = m.outcome;
    if (!o.started) {
        m.failure = "could not be started";
        m.unexpected = true;
    } else if (o.stopped) {
        return;
    } else if (o.exited && std::count(mode.statuses.begin(), mode.statuses.end(), o.status)) {
        if (mode.finds && foundCount(o.tail) <= 0)
            m.failure = "nothing found";
    } else if (signalled && o.signal == SIGTERM) {
        return;  // a server without a handler of its own
    } else {
        m.failure = (o.exited ? "exit status " + std::to_string(o.status) : "signal " + std::to_string(o.signal)) +
            (o.errors.empty() ? "" : ": " + firstLine(o.errors));
        m.unexpected = true;
    }
}

// Starts the server, waits until it says it serves, asks it what the page asks and ends it.
void serve(const Mode& mode, Measure& m, const std::vector<std::string>& argv, const Runner& runner,
           const std::string& query, double limit)
{
    Process process(argv, runner.core);
    const bool serving =
        process.readUntil(limit > 0 ? limit : 1e12, [](const Outcome& o) { return servedPort(o.head) > 0; });
    m.seconds = process.elapsed();
    if (!serving) {
        m.outcome = process.finish(limit);
        judge(mode, m, false);
        if (m.failure.empty() && !m.outcome.stopped)
            m.failure = "ended without serving";
        return;
    }
    m.answers = askServer(servedPort(process.outcome().head), query, runner.answerTimeout);
    process.signal(SIGTERM);
    m.outcome = process.finish(process.elapsed() + 10);
    if (m.outcome.stopped) {
        m.outcome.stopped = false;
        m.failure = "did not end when asked to";
        m.unexpected = true;
        return;
    }
    judge(mode, m, true);
}

}  // namespace

Measure measure(const Mode& mode, const Runner& runner, const std::string& query, double limit)
{
    Measure m;
    m.ran = true;
    std::vector<std::string> argv = {mode.program == Program::Reader ? runner.self : runner.viewer};
    argv.insert(argv.end(), mode.args.begin(), mode.args.end());
    if (mode.program == Program::Server) {
        serve(mode, m, argv, runner, query, limit);
        return m;
    }
    m.outcome = run(argv, runner.core, limit);
    m.seconds = m.outcome.seconds;
    judge(mode, m, false);
    if (mode.program == Program::Reader) {
        m.attributes = std::strtoull(lineAfter(m.outcome.head, "attributes ").c_str(), nullptr, 10);
        m.residentMegabytes = std::strtod(lineAfter(m.outcome.head, "resident ").c_str(), nullptr) / 1024;
    }
    return m;
}

void keepBest(Measure& best, const Measure& next)
{
    std::vector<Answer> answers = best.answers;
    for (const Answer& answer : next.answers) {
        auto same =
            std::find_if(answers.begin(), answers.end(), [&](const Answer& a) { return a.name == answer.name; });
        if (same == answers.end())
            answers.push_back(answer);
        else if (answer.answered > same->answered ||
                 (answer.answered == same->answered && answer.milliseconds < same->milliseconds))
            *same = answer;
    }
    const auto rank = [](const Measure& m) { return m.failure.empty() ? (m.outcome.stopped ? 1 : 0) : 2; };
    if (!best.ran || rank(next) < rank(best) || (rank(next) == rank(best) && next.seconds < best.seconds))
        best = next;
    best.answers = answers;
}

}  // namespace benchview
