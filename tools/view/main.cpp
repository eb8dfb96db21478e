// akdebug-view: shows a scene or draw file as the module reads it, in the terminal, as JSON, as a
// difference of two scene files or as a local web page. It is also the tool the module starts
// after writing a file: the build places it in the tool directory as "DebugScene.exe" and
// "DebugDraw.exe"; started under those names with a file, it shows a summary and how to see more.
#include "options.h"

#include <akdebugmodule.h>

#include <CLI/CLI.hpp>

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
const std::pair<view::Format, const char*> s_formats[] = {{view::Format::Json, "--json"}};

std::string optionOf(view::Mode mode)
{
    for (const auto& entry : s_modes)
        if (entry.first == mode)
            return entry.second;
    return "the tree";
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
        std::vector<std::string> applies;
        for (const view::Output& output : view::outputs())
            if (output.format == entry.first)
                applies.push_back(optionOf(output.mode));
        std::string list = applies.front();
        for (size_t i = 1; i < applies.size(); ++i)
            list += (i + 1 < applies.size() ? ", " : " and ") + applies[i];
        std::fprintf(stderr, "akdebug-view: %s applies to %s, not to %s\n", entry.second, list.c_str(),
                     optionOf(options.mode).c_str());
        return false;
    }
    return true;
}

// Parses the command line; false with the exit status when the program ends here.
bool parse(int argc, char** argv, view::Options& options, bool& asTool, int& status)
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
    app.add_flag("--exact", options.query.exact, "with --find: the whole name equals TEXT");
    app.add_flag("--case", options.query.caseSensitive, "with --find: compare case-sensitively");
    app.add_flag("--changes", options.changes,
                 "draw files: under each draw, what changed in the state since the draw before it (or its "
                 "frame's beginning): elements added, removed and changed, with their values before and after");
    app.add_flag("--advanced", options.walk.advanced, "show advanced attributes too");
    app.add_option("--depth", options.walk.depth, "show the tree down to N levels")->check(CLI::NonNegativeNumber);
    auto* frame = app.add_option("--frame", options.records.frame, "draw files: the records of frame N");
    auto* record = app.add_option("--record", options.records.index, "draw files: record K (counted from 0)");
    app.add_option("--port", options.port, "with --serve: the port (default 8080; 0 picks a free one)")
        ->check(CLI::Range(0, 65535));
    app.add_option("--max-attributes", options.maxAttributes,
                   "refuse a file that would build more than N attributes at once (default 100000000)")
        ->check(CLI::PositiveNumber);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        status = app.exit(e);
        return false;
    } catch (const CLI::CallForVersion& e) {
        status = app.exit(e);
        return false;
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        std::fputs(app.help().c_str(), stderr);
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
        std::fprintf(stderr, "akdebug-view: bad address \"%s\"\n", address.c_str());
        return false;
    }
    const bool needsFile = options.mode != view::Mode::Diff;
    if (needsFile == options.file.empty() ||
        ((options.query.exact || options.query.caseSensitive) && options.mode != view::Mode::Find) ||
        (options.changes && options.mode != view::Mode::Tree) ||
        (!options.frames.empty() && options.mode != view::Mode::Diff) ||
        (tolerance->count() > 0 && options.mode != view::Mode::Diff && options.compare.empty()) ||
        (options.mode == view::Mode::Diff && options.diff.size() == 1 && options.frames.empty()) ||
        (!options.compare.empty() && options.mode != view::Mode::Serve)) {
        std::fputs(app.help().c_str(), stderr);
        return false;
    }
    // Started under a tool name by the module with a file only: a summary and how to see more.
    asTool = startedAsTool(argv[0]) && argc == 2;
    if (asTool)
        options.mode = view::Mode::Summary;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    view::Options options;
    bool asTool = false;
    int status = 2;
    if (!parse(argc, argv, options, asTool, status))
        return status;

    // The module's failures go to stderr; its information messages are not the viewer's output.
    emNotify::setHandler([](int level, const char* text) {
        if (level >= emNotify::LEVEL_WARN)
            std::fprintf(stderr, "akdebug-view: %s\n", view::escape(text).c_str());
        if (std::strstr(text, "too many attributes"))
            std::fprintf(stderr, "akdebug-view: a larger limit is set with --max-attributes N\n");
    });
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
    status = view::outputFor(options.mode, options.format)->run(options);
    if (asTool)
        std::printf("\nSee it whole: akdebug-view \"%s\", or in a browser: akdebug-view --serve \"%s\"\n",
                    view::escape(options.file.c_str()).c_str(), view::escape(options.file.c_str()).c_str());
    module->shutdown();
    delete module;
    return status;
}
