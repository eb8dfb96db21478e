// akdebug-view: shows a scene or draw file as the module reads it, in the terminal, as JSON, as a
// difference of two scene files or as a local web page. It is also the tool the module starts
// after writing a file: the build places it in the tool directory as "DebugScene.exe" and
// "DebugDraw.exe"; started under those names with a file, it shows a summary and how to see more.
#include "options.h"
#include "reading.h"

#include <akdebugmodule.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const s_description =
    "Shows a scene file or a draw file as the module reads it: every attribute with its name, type\n"
    "and value, its error marks (with their level), tool tip and advanced mark; draw files as their\n"
    "records by frame, with state changes that set the state in effect marked redundant. Exit status: 0 shown, 1 a "
    "file could not be\n"
    "read, 2 bad usage, 3 (--diff) the files differ.";

bool startedAsTool(const char* program)
{
    const char* slash = std::strrchr(program, '/');
    const char* name = slash ? slash + 1 : program;
    return std::strncmp(name, "DebugScene", 10) == 0 || std::strncmp(name, "DebugDraw", 9) == 0;
}

// The options that choose the mode (none: the tree) and the format (none: text).
const std::pair<view::Mode, const char*> s_modes[] = {
    {view::Mode::Summary, "--summary"}, {view::Mode::Types, "--types"}, {view::Mode::Find, "--find"},
    {view::Mode::Address, "--address"}, {view::Mode::Diff, "--diff"},   {view::Mode::Serve, "--serve"},
    {view::Mode::Html, "--html"},       {view::Mode::Stats, "--stats"}};
const std::pair<view::Format, const char*> s_formats[] = {{view::Format::Json, "--json"},
                                                          {view::Format::Jsonl, "--jsonl"}};

// Options that apply to some outputs only: the modes they apply to, and whether they apply to
// draw files only.
struct Narrow
{
    const char* option;
    std::vector<view::Mode> modes;
    bool drawOnly;
};
const std::vector<Narrow>& narrowOptions()
{
    using view::Mode;
    static const std::vector<Narrow> table = {
        {"--exact", {Mode::Find}, false},
        {"--case", {Mode::Find}, false},
        {"--advanced", {Mode::Tree, Mode::Find, Mode::Address}, false},
        {"--depth", {Mode::Tree, Mode::Find, Mode::Address}, false},
        {"--frame", {Mode::Tree, Mode::Summary, Mode::Find, Mode::Address, Mode::Stats}, true},
        {"--record", {Mode::Tree, Mode::Summary, Mode::Find, Mode::Address, Mode::Stats}, true},
        {"--changes", {Mode::Tree}, true},
        {"--frames", {Mode::Diff}, true},
        {"--tolerance", {Mode::Diff, Mode::Serve}, true},
        {"--port", {Mode::Serve}, false},
        {"--compare", {Mode::Serve}, false},
    };
    return table;
}

std::string optionOf(view::Mode mode)
{
    for (const auto& entry : s_modes)
        if (entry.first == mode)
            return entry.second;
    return "the tree";
}

// "--find, --address and the tree".
std::string listOf(const std::vector<view::Mode>& modes)
{
    std::string list = optionOf(modes.front());
    for (size_t i = 1; i < modes.size(); ++i)
        list += (i + 1 < modes.size() ? ", " : " and ") + optionOf(modes[i]);
    return list;
}

// A whole number from `min` to `max`, said in plain words when the text is not one (the message is
// escaped where it is printed).
CLI::Validator wholeNumber(unsigned long long min, unsigned long long max)
{
    const std::string range = std::to_string(min) + " to " + std::to_string(max);
    return CLI::Validator(
        [min, max, range](std::string& text) {
            unsigned long long value = 0;
            const char* end = text.data() + text.size();
            const auto parsed = std::from_chars(text.data(), end, value);
            if (text.empty() || parsed.ec != std::errc() || parsed.ptr != end || value < min || value > max)
                return "\"" + text + "\" is not a whole number from " + range;
            return std::string();
        },
        range);
}

// Takes the mode and format from the options given; false, with the conflict named, when they do
// not go together.
bool chooseOutput(const CLI::App& app, view::Options& options)
{
    std::vector<std::string> given;
    for (const auto& entry : s_modes)
        if (app.get_option(entry.second)->count() > 0) {
            options.mode = entry.first;
            given.push_back(entry.second);
        }
    if (given.size() > 1) {
        std::string all;
        for (const auto& entry : s_modes)
            all += std::string(all.empty() ? "" : ", ") + entry.second;
        std::fprintf(stderr, "akdebug-view: %s and %s are two outputs; give one of %s (or none, for the tree)\n",
                     given[0].c_str(), given[1].c_str(), all.c_str());
        return false;
    }
    for (const auto& entry : s_formats) {
        if (app.get_option(entry.second)->count() == 0)
            continue;
        options.format = entry.first;
        if (view::outputFor(options.mode, options.format))
            continue;
        std::vector<view::Mode> applies;
        for (const view::Output& output : view::outputs())
            if (output.format == entry.first)
                applies.push_back(output.mode);
        std::fprintf(stderr, "akdebug-view: %s applies to %s, not to %s\n", entry.second, listOf(applies).c_str(),
                     optionOf(options.mode).c_str());
        return false;
    }
    for (const Narrow& narrow : narrowOptions())
        if (app.get_option(narrow.option)->count() > 0 &&
            std::find(narrow.modes.begin(), narrow.modes.end(), options.mode) == narrow.modes.end()) {
            std::fprintf(stderr, "akdebug-view: %s applies to %s, not to %s\n", narrow.option,
                         listOf(narrow.modes).c_str(), optionOf(options.mode).c_str());
            return false;
        }
    return true;
}

// Parses the command line; false with the exit status when the program ends here. `given` are
// the options given that apply to some files only.
bool parse(int argc, char** argv, view::Options& options, bool& asTool, int& status, std::vector<const char*>& given)
{
    CLI::App app(s_description, "akdebug-view");
    app.set_version_flag("--version", [] {
        return std::to_string(telu::getVersionMajor()) + "." + std::to_string(telu::getVersionMinor()) + "." +
            std::to_string(telu::getVersionPatch());
    });
    app.add_option("FILE", options.file, "the scene or draw file");
    const char* const modes = "Outputs (one at a time; the tree when none)";
    app.add_flag("--summary",
                 "counts: objects by type, object records by tag, errors by level; draw files: records by kind "
                 "and frames")
        ->group(modes);
    app.add_flag("--types", "the file's header and type table")->group(modes);
    app.add_option("--find", options.query.text, "objects whose name contains TEXT (case-insensitive)")->group(modes);
    std::string address;
    app.add_option("--address", address,
                   "where the host object at this hexadecimal address stands: its record, "
                   "its repeats and the references to it")
        ->group(modes);
    app.add_option("--diff", options.diff,
                   "what differs between two scene files A and B, matched by path of names (repeated names by "
                   "their order: \"Child#2\"): one line per attribute added, removed or changed, then a count. "
                   "Every attribute is compared with its marks, advanced ones included (--advanced and --depth "
                   "do not apply); host addresses differ from run to run and count only as null or not null. "
                   "Two draw files: their records aligned frame by frame by kind, name and what they draw; one "
                   "line per record added or removed and per value that differs in an aligned record's state "
                   "or geometry. One draw file with --frames N M: two of its frames")
        ->expected(1, 2)
        ->group(modes);
    app.add_flag("--stats",
                 "statistics: draw files per frame (records by kind, draws per channel bin, vertices, primitives, "
                 "state changes and redundant ones, distinct geometries, states, textures, shaders and materials); "
                 "scene files per class (distinct objects and their records), nodes by kind, vertices and "
                 "primitives once and per use, the depth of the node graph, errors by level")
        ->group(modes);
    app.add_option("--frames", options.frames, "with --diff of draw files: frame N (of A) against frame M (of B)")
        ->expected(2);
    auto* tolerance =
        app.add_option("--tolerance", options.tolerance,
                       "with --diff of draw files (or --compare): numbers within this share of the larger are equal "
                       "(default 2^-24)")
            ->check(CLI::NonNegativeNumber);
    app.add_flag("--serve", "serve the file as a web page on 127.0.0.1")->group(modes);
    app.add_option("--compare", options.compare,
                   "with --serve of a draw file: the page also shows its difference "
                   "from this draw file (as --diff shows it)");
    app.add_option("--html", options.html, "write the file as one web page with its data to OUT")->group(modes);
    app.add_flag("--json",
                 "the whole tree, or every draw record (or those of --frame, --record), as one JSON document "
                 "written as it is read, one attribute per line; with --find, the objects found; honours "
                 "--advanced and --depth");
    app.add_flag("--jsonl",
                 "the tree as JSON Lines: one JSON object per attribute, with its id, its parent's id, its depth "
                 "and, in draw files, its record (a line before its attributes); read by any JSON reader "
                 "whatever the depth, line by line; honours --advanced, --depth, --frame and --record");
    app.add_flag("--exact", options.query.exact, "with --find: the whole name equals TEXT");
    app.add_flag("--case", options.query.caseSensitive, "with --find: compare case-sensitively");
    app.add_flag("--changes", options.changes,
                 "draw files: under each draw, what changed in the state since the draw before it (or its "
                 "frame's beginning): elements added, removed and changed, with their values before and after");
    app.add_flag("--advanced", options.walk.advanced, "show advanced attributes too");
    app.add_option("--depth", options.walk.depth, "show the tree down to N levels")->check(wholeNumber(0, INT_MAX));
    auto* frame = app.add_option("--frame", options.records.frame, "draw files: the records of frame N")
                      ->check(wholeNumber(0, UINT_MAX));
    auto* record = app.add_option("--record", options.records.index, "draw files: record K (counted from 0)")
                       ->check(wholeNumber(0, UINT_MAX));
    app.add_option("--port", options.port, "with --serve: the port (default 8080; 0 picks a free one)")
        ->check(wholeNumber(0, 65535));
    app.add_option("--max-attributes", options.maxAttributes,
                   "refuse a file that would build more than N attributes at once (default 100000000)")
        ->check(wholeNumber(1, ULLONG_MAX));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        status = app.exit(e);
        return false;
    } catch (const CLI::CallForVersion& e) {
        status = app.exit(e);
        return false;
    } catch (const CLI::ParseError& e) {
        // What the parser says may quote the arguments.
        std::fprintf(stderr, "akdebug-view: %s\n\n%s", view::escape(e.what()).c_str(), app.help().c_str());
        status = 2;
        return false;
    }
    status = 2;
    if (!chooseOutput(app, options))
        return false;
    options.records.byFrame = frame->count() > 0;
    options.records.byIndex = record->count() > 0;
    bool addressOnly = false;
    if (options.mode == view::Mode::Address && !view::parseAddress(address, options.address, addressOnly)) {
        std::fprintf(stderr, "akdebug-view: bad address \"%s\"\n", view::escape(address.c_str()).c_str());
        return false;
    }
    const bool needsFile = options.mode != view::Mode::Diff;
    if (needsFile == options.file.empty() ||
        (tolerance->count() > 0 && options.mode == view::Mode::Serve && options.compare.empty()) ||
        (options.mode == view::Mode::Diff && options.diff.size() == 1 && options.frames.empty())) {
        std::fputs(app.help().c_str(), stderr);
        return false;
    }
    for (const Narrow& narrow : narrowOptions())
        if (narrow.drawOnly && app.get_option(narrow.option)->count() > 0)
            given.push_back(narrow.option);
    // Started under a tool name by the module with a file only: a summary and how to see more.
    asTool = startedAsTool(argv[0]) && argc == 2;
    if (asTool)
        options.mode = view::Mode::Summary;
    return true;
}

// Checks the files the mode reads before they are read: each is a scene or draw file whose types
// this viewer knows, and the options given for draw files only are not given for a scene file.
// False with the exit status (1: a file cannot be read, 2: an option does not apply) when not.
bool checkFiles(const view::Options& options, const std::vector<const char*>& drawOnly, int& status)
{
    const std::vector<std::string> files =
        options.mode == view::Mode::Diff ? options.diff : std::vector<std::string>{options.file};
    for (const std::string& file : files) {
        std::string why;
        const std::string shown = view::escape(file.c_str());
        status = 1;
        const view::FileKind kind = view::kindOf(file.c_str(), &why);
        if (kind == view::FileKind::Unknown) {
            std::fprintf(stderr, "akdebug-view: \"%s\" %s\n", shown.c_str(), why.c_str());
            return false;
        }
        status = 2;
        if (kind == view::FileKind::Scene && !drawOnly.empty()) {
            std::fprintf(stderr, "akdebug-view: %s applies to draw files; \"%s\" is a scene file\n", drawOnly[0],
                         shown.c_str());
            return false;
        }
        status = 1;
        const std::vector<std::string> unknown =
            options.mode == view::Mode::Types ? std::vector<std::string>() : view::unknownTypes(file.c_str());
        if (!unknown.empty()) {
            std::string names;
            for (size_t i = 0; i < unknown.size() && i < 10; ++i)
                names += (i ? ", " : "") + view::escape(unknown[i].c_str());
            if (unknown.size() > 10)
                names += " and " + std::to_string(unknown.size() - 10) + " more";
            std::fprintf(stderr,
                         "akdebug-view: \"%s\" cannot be read: its type table names %s, which this viewer does "
                         "not know (written with other host libraries?)\n",
                         shown.c_str(), names.c_str());
            return false;
        }
    }
    return true;
}

int run(int argc, char** argv)
{
    view::Options options;
    bool asTool = false;
    int status = 2;
    std::vector<const char*> drawOnly;
    if (!parse(argc, argv, options, asTool, status, drawOnly))
        return status;

    // The module's failures go to stderr; its information messages are not the viewer's output. A
    // file refused for passing the attribute limit is said so by the viewer in its own words.
    emNotify::setHandler([](int level, const char* text) {
        if (level < emNotify::LEVEL_WARN || std::strstr(text, "too many attributes"))
            return;
        view::ReadProgress::clearLine();
        std::fprintf(stderr, "akdebug-view: %s\n", view::escape(text).c_str());
    });
    // The tree and the searches (as text or JSON) write a draw file's records as they are read.
    view::ReadProgress::setRecordsShownWhileRead(
        isatty(STDOUT_FILENO) &&
        (options.mode == view::Mode::Tree || options.mode == view::Mode::Find || options.mode == view::Mode::Address));
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
    // A JSON document is written whatever the file: what a script reads of it says it is not complete.
    const bool readable = checkFiles(options, drawOnly, status);
    if (readable || (status == 1 && options.format != view::Format::Text)) {
        const int shown = view::outputFor(options.mode, options.format)->run(options);
        status = readable ? shown : status;
    }
    if (asTool)
        std::printf("\nSee it whole: akdebug-view \"%s\", or in a browser: akdebug-view --serve \"%s\"\n",
                    view::escape(options.file.c_str()).c_str(), view::escape(options.file.c_str()).c_str());
    module->shutdown();
    delete module;
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // What no output expects (memory running out) ends the viewer with a message, not an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "akdebug-view: %s\n", view::escape(e.what()).c_str());
        return 1;
    }
}
