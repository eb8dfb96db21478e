// The view benchmark's figures against their aims: one row per aim of each mode (and per API
// answer of a server), printed as a table for the terminal or as the README's Markdown table.
#pragma once

#include "viewmodes.h"

#include <string>
#include <vector>

namespace benchview {

struct Row
{
    std::string mode, file, seconds, peak, figure, aim, verdict;
    // Fails the check: past twice its aim, or failed as the check counts failures.
    bool failsCheck = false;
};

// `best[i]` is the measure of `modes[i]`; modes that did not run are left out. A failed run fails the check when it
// ended with a status its mode does not expect, or in any case when `strict`.
std::vector<Row> tabulate(const std::vector<Mode>& modes, const std::vector<Measure>& best, bool strict);

// The rows of `modes[i]` alone.
std::vector<Row> rowsOf(const std::vector<Mode>& modes, const std::vector<Measure>& best, size_t i, bool strict);
// True when `modes[i]` ran and each of its figures is within its aim.
bool withinAims(const std::vector<Mode>& modes, const std::vector<Measure>& best, size_t i);

// The lines before the table (the machine, the command, the files), then the table.
void printPlain(const std::vector<std::string>& header, const std::vector<Row>& rows);
void printMarkdown(const std::vector<std::string>& header, const std::vector<Row>& rows);

}  // namespace benchview
