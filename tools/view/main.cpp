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

namespace {

const char* const s_description =
    "Shows a scene file or a draw file as the module reads it: every attribute with its name, type\n"
    "and value, its error marks (with their level), tool tip and advanced mark; draw files as their\n"
    "records by frame, with redundant state marked. Exit status: 0 shown, 1 a file could not be\n"
    "read, 2 bad usage, 3 (--diff) the files differ.";

bool startedAsTool(const char* program)
{
    const char* slash = std::strrchr(program, '/');
    const char* name = slash ? slash + 1 : program;
    return std::strncmp(name, "DebugScene", 10) == 0 || std::strncmp(name, "DebugDraw", 9) == 0;
}

// Parses the command line; false with the exit status when the program ends here.
bool parse(int argc, char** argv, view::Options& options, int& status)
{
    CLI::App app(s_description, "akdebug-view");
    app.set_version_flag("--version", [] {
        return std::to_string(telu::getVersionMajor()) + "." + std::to_string(telu::getVersionMinor()) + "." +
            std::to_string(telu::getVersionPatch());
    });
    app.add_option("FILE", options.file, "the scene or draw file");
    app.add_flag("--summary", options.summary,
                 "counts: objects by type, object records by tag, errors by level; draw files: records by kind "
                 "and frames");
    app.add_flag("--types", options.types, "the file's header and type table");
    app.add_flag("--json", options.json,
                 "the whole tree, or every draw record (or those of --frame, --record), as one JSON document "
                 "written as it is read, one attribute per line; with --find, the objects found; honours "
                 "--advanced and --depth");
    app.add_option("--find", options.find, "objects whose name contains TEXT (case-insensitive)");
    app.add_flag("--exact", options.exact, "with --find: the whole name equals TEXT");
    app.add_flag("--case", options.caseSensitive, "with --find: compare case-sensitively");
    std::string address;
    app.add_option("--address", address,
                   "where the host object at this hexadecimal address stands: its record, "
                   "its repeats and the references to it");
    app.add_flag("--advanced", options.walk.advanced, "show advanced attributes too");
    app.add_option("--depth", options.walk.depth, "show the tree down to N levels")->check(CLI::NonNegativeNumber);
    auto* frame = app.add_option("--frame", options.records.frame, "draw files: the records of frame N");
    auto* record = app.add_option("--record", options.records.index, "draw files: record K (counted from 0)");
    app.add_option("--diff", options.diff,
                   "what differs between two scene files A and B, matched by path of names (repeated names by "
                   "their order: \"Child#2\"): one line per attribute added, removed or changed, then a count. "
                   "Every attribute is compared with its marks, advanced ones included (--advanced and --depth "
                   "do not apply); host addresses differ from run to run and count only as null or not null. "
                   "Draw files are not compared")
        ->expected(2);
    app.add_flag("--serve", options.serve, "serve the file as a web page on 127.0.0.1");
    app.add_option("--port", options.port, "with --serve: the port (default 8080; 0 picks a free one)")
        ->check(CLI::Range(0, 65535));
    app.add_option("--html", options.html, "write the file as one web page with its data to OUT");
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
    options.records.byFrame = frame->count() > 0;
    options.records.byIndex = record->count() > 0;
    if (!address.empty()) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(address.c_str(), &end, 16);
        if (!end || *end || value > 0xFFFFFFFFull || address[0] == '-') {
            std::fprintf(stderr, "akdebug-view: bad address \"%s\"\n", address.c_str());
            status = 2;
            return false;
        }
        options.byAddress = true;
        options.address = static_cast<unsigned int>(value);
    }
    const int forms = options.summary + options.types + options.json + !options.find.empty() + options.byAddress +
        !options.diff.empty() + options.serve + !options.html.empty();
    const bool needsFile = options.diff.empty();
    if (forms > 1 && !(options.json && (options.records.byFrame || options.records.byIndex)) &&
        !(forms == 2 && options.json && !options.find.empty())) {
        std::fprintf(stderr,
                     "akdebug-view: choose one of --summary, --types, --json, --find, --address, --diff, "
                     "--serve, --html\n");
        status = 2;
        return false;
    }
    if (needsFile == options.file.empty() || ((options.exact || options.caseSensitive) && options.find.empty())) {
        std::fputs(app.help().c_str(), stderr);
        status = 2;
        return false;
    }
    options.asTool = startedAsTool(argv[0]) && argc == 2;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    view::Options options;
    int status = 2;
    if (!parse(argc, argv, options, status))
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
    if (options.asTool) {
        options.summary = true;
        status = view::runText(options);
        std::printf("\nSee it whole: akdebug-view \"%s\", or in a browser: akdebug-view --serve \"%s\"\n",
                    view::escape(options.file.c_str()).c_str(), view::escape(options.file.c_str()).c_str());
    } else if (!options.diff.empty()) {
        status = view::runDiff(options);
    } else if (options.json) {
        status = view::runJson(options);
    } else if (options.serve) {
        status = view::runServe(options);
    } else if (!options.html.empty()) {
        status = view::runHtml(options);
    } else {
        status = view::runText(options);
    }
    module->shutdown();
    delete module;
    return status;
}
