// What the viewer was asked for, and the outputs that answer it. Each output returns the exit
// status: 0 shown, 1 a file could not be read, 3 (diff only) the files differ.
#pragma once

#include "records.h"
#include "search.h"

#include <string>
#include <vector>

namespace view {

// What the viewer shows: one mode at a time (the tree when none is asked for).
enum class Mode { Tree, Summary, Types, Find, Address, Diff, Serve, Html, Stats };
// How it writes it: as text, as one JSON document, or as JSON Lines (one attribute a line).
enum class Format { Text, Json, Jsonl };

struct Options
{
    Mode mode = Mode::Tree;
    Format format = Format::Text;
    std::string file;
    NameQuery query;                    // --find
    unsigned int address = 0;           // --address
    std::vector<std::string> diff;      // --diff: two files, or one draw file with --frames
    std::vector<unsigned int> frames;   // --frames N M: the frames of draw files that --diff compares
    double tolerance = 1.0 / 16777216;  // --tolerance: numbers within this share of each other are equal
    std::string compare;                // --compare: with --serve, the draw file the page compares with
    int port = 8080;                    // --serve
    std::string html;                   // --html: the page with the data inlined, written to this file
    // Shared by the modes.
    WalkOptions walk;
    bool changes = false;  // --changes: the tree of a draw file shows what each draw changed
    RecordFilter records;
    unsigned long long maxAttributes = akDebug::s_defaultMaxAttributes;
};

// One output: the mode and format it shows, and the function that shows it. A new output is a
// function beside the others and an entry in the table of outputs.cpp; a mode or format that no
// entry pairs is refused on the command line.
struct Output
{
    Mode mode;
    Format format;
    int (*run)(const Options& options);
};
const std::vector<Output>& outputs();
// The output for the options' mode and format, or null when there is none.
const Output* outputFor(Mode mode, Format format);

int runText(const Options& options);
int runTypes(const Options& options);
int runJson(const Options& options);
int runJsonl(const Options& options);
int runDiff(const Options& options);
// --diff of draw files (drawdiff.cpp).
int runRecordDiff(const Options& options);
int runServe(const Options& options);
int runHtml(const Options& options);
int runStats(const Options& options);

}  // namespace view
