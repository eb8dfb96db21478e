// What the viewer was asked for, and the outputs that answer it. Each output returns the exit
// status: 0 shown, 1 a file could not be read, 3 (diff only) the files differ.
#pragma once

#include "view.h"

#include <string>
#include <vector>

namespace view {

struct Options
{
    std::string file;
    // Output forms; the text tree when none is chosen.
    bool summary = false;
    bool types = false;
    bool json = false;
    std::string find;
    bool exact = false;
    bool caseSensitive = false;
    bool byAddress = false;
    unsigned int address = 0;
    std::vector<std::string> diff;  // two files
    bool serve = false;
    int port = 8080;
    std::string html;  // the page with the data inlined, written to this file
    // Shared by the forms.
    WalkOptions walk;
    RecordFilter records;
    unsigned long long maxAttributes = akDebug::s_defaultMaxAttributes;
    // Started under a tool name by the module: a summary and how to see more.
    bool asTool = false;
};

int runText(const Options& options);
int runJson(const Options& options);
int runDiff(const Options& options);
int runServe(const Options& options);
int runHtml(const Options& options);

}  // namespace view
