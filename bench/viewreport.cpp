#include "viewreport.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace benchview {

namespace {

std::string format(const char* pattern, ...)
{
    char text[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

const char* unit(Figure figure)
{
    switch (figure) {
    case Figure::Ratio: return "x";
    case Figure::Seconds: return " s";
    case Figure::Megabytes: return " MB";
    case Figure::Rate: return " MB/s";
    case Figure::BytesPerAttribute: return " B/attr";
    case Figure::Milliseconds: return " ms";
    }
    return "";
}

std::string number(Figure figure, double value)
{
    const bool whole = figure == Figure::Megabytes || figure == Figure::Rate || figure == Figure::Milliseconds;
    return format(whole ? "%.0f%s" : figure == Figure::BytesPerAttribute ? "%.1f%s" : "%.2f%s", value, unit(figure));
}

bool usable(const Measure* read)
{
    return read && read->failure.empty() && !read->outcome.stopped && read->seconds > 0;
}

// The figure of a measure for an aim; false when it has none. A ratio is to the time of `base`,
// or, with `built`, to that time per attribute for as many attributes as `built` read.
bool value(const Aim& aim, const Measure& m, const Measure* base, const Measure* built, double& v)
{
    switch (aim.figure) {
    case Figure::Ratio: {
        if (!usable(base))
            return false;
        double seconds = base->seconds;
        if (built) {
            // A read that ends refused (its status expected) built what it holds.
            if (!built->ran || built->outcome.stopped || !built->attributes || !base->attributes)
                return false;
            seconds *= static_cast<double>(built->attributes) / static_cast<double>(base->attributes);
        }
        v = m.seconds / seconds;
        return true;
    }
    case Figure::Seconds: v = m.seconds; return true;
    case Figure::Megabytes: v = m.outcome.peakMegabytes; return true;
    case Figure::Rate:
        v = static_cast<double>(m.outcome.outputBytes) / 1e6 / m.seconds;
        return m.seconds > 0 && !m.outcome.stopped;
    case Figure::BytesPerAttribute:
        v = (m.outcome.peakMegabytes - m.residentMegabytes) * 1024 * 1024 / static_cast<double>(m.attributes);
        return m.attributes > 0;
    case Figure::Milliseconds: return false;
    }
    return false;
}

// Sets the figure, the aim and the verdict of a row; `bound`: the figure is a lower bound (the run
// was stopped).
void judge(Row& row, const Aim& aim, double v, bool bound)
{
    const bool atLeast = aim.figure == Figure::Rate;
    row.figure = (bound ? "> " : "") + number(aim.figure, v);
    row.aim = (atLeast ? ">= " : "<= ") + number(aim.figure, aim.limit);
    const bool within = atLeast ? v >= aim.limit : v <= aim.limit;
    const bool twice = atLeast ? v < aim.limit / 2 : v > 2 * aim.limit;
    // A bound within the aim tells nothing.
    row.verdict = within ? (bound ? "stopped" : "ok") : twice ? "over 2x" : "over";
    row.failsCheck = twice;
}

void fail(Row& row, const std::string& why, bool counts)
{
    row.figure = "-";
    row.verdict = "failed: " + why;
    row.failsCheck = counts;
}

}  // namespace

std::vector<Row> rowsOf(const std::vector<Mode>& modes, const std::vector<Measure>& best, size_t i, bool strict)
{
    std::vector<Row> rows;
    const Mode& mode = modes[i];
    const Measure& m = best[i];
    if (!m.ran)
        return rows;
    const Measure *base = nullptr, *built = nullptr;
    for (size_t j = 0; j < i; ++j) {
        if (modes[j].key() == mode.baseline)
            base = &best[j];
        if (!mode.builds.empty() && modes[j].key() == mode.builds)
            built = &best[j];
    }
    Row row;
    row.mode = mode.name;
    row.file = mode.file;
    const bool stopped = m.outcome.stopped;
    row.seconds = format("%s%.2f", stopped ? "> " : "", m.seconds);
    row.peak = format("%.0f", m.outcome.peakMegabytes);
    // One row per aim; one for a mode without an aim.
    for (size_t a = 0; a < std::max<size_t>(1, mode.aims.size()); ++a) {
        const Aim* aim = a < mode.aims.size() ? &mode.aims[a] : nullptr;
        double v = 0;
        row.figure = row.aim = "-";
        row.verdict.clear();
        row.failsCheck = false;
        if (!m.failure.empty())
            fail(row, m.failure, m.unexpected || strict);
        else if (aim && value(*aim, m, base, mode.builds.empty() ? nullptr : built, v))
            judge(row, *aim, v, stopped);
        else if (aim && aim->figure == Figure::Ratio)
            row.verdict = "no read to compare with";
        else if (stopped)
            row.verdict = "stopped";
        rows.push_back(row);
    }
    for (const Answer& answer : m.answers) {
        Row api;
        api.mode = mode.name;
        api.file = mode.file + ": " + answer.name;
        api.seconds = api.peak = api.aim = "-";
        if (answer.answered || answer.timedOut)
            judge(api, {Figure::Milliseconds, 100}, answer.milliseconds, answer.timedOut);
        else
            fail(api, answer.why, strict);
        rows.push_back(api);
    }
    return rows;
}

std::vector<Row> tabulate(const std::vector<Mode>& modes, const std::vector<Measure>& best, bool strict)
{
    std::vector<Row> rows;
    for (size_t i = 0; i < modes.size(); ++i)
        for (Row& row : rowsOf(modes, best, i, strict))
            rows.push_back(std::move(row));
    return rows;
}

bool withinAims(const std::vector<Mode>& modes, const std::vector<Measure>& best, size_t i)
{
    const std::vector<Row> rows = rowsOf(modes, best, i, false);
    return best[i].ran && std::all_of(rows.begin(), rows.end(), [](const Row& row) {
               return row.verdict.empty() || row.verdict == "ok";
           });
}

void printPlain(const std::vector<std::string>& header, const std::vector<Row>& rows)
{
    for (const std::string& line : header)
        std::printf("%s\n", line.c_str());
    std::printf("\n%-10s %-16s %9s %8s %14s %16s  %s\n", "mode", "file", "seconds", "peak MB", "figure", "aim", "");
    for (const Row& r : rows)
        std::printf("%-10s %-16s %9s %8s %14s %16s  %s\n", r.mode.c_str(), r.file.c_str(), r.seconds.c_str(),
                    r.peak.c_str(), r.figure.c_str(), r.aim.c_str(), r.verdict.c_str());
}

void printMarkdown(const std::vector<std::string>& header, const std::vector<Row>& rows)
{
    for (const std::string& line : header)
        std::printf("%s\n", line.c_str());
    std::printf("\n| Mode | File | Seconds | Peak MB | Figure | Aim | |\n|---|---|--:|--:|--:|--:|---|\n");
    for (const Row& r : rows) {
        std::string verdict = r.verdict;
        std::replace(verdict.begin(), verdict.end(), '|', '/');
        std::printf("| `%s` | %s | %s | %s | %s | %s | %s |\n", r.mode.c_str(), r.file.c_str(), r.seconds.c_str(),
                    r.peak.c_str(), r.figure.c_str(), r.aim.c_str(), verdict.c_str());
    }
}

}  // namespace benchview
