// The modes the view benchmark measures, each with the program and arguments it runs, the read it
// is compared with and its aims, and the measuring of one run of a mode.
#pragma once

#include "viewfiles.h"
#include "viewprocess.h"
#include "viewserve.h"

#include <string>
#include <vector>

namespace benchview {

// What a figure is, and which way its aim goes: at most, except the output rate (at least). Bytes
// per attribute are the peak of a read beyond what its process held before reading, per attribute.
enum class Figure { Ratio, Seconds, Megabytes, Rate, BytesPerAttribute, Milliseconds };

struct Aim
{
    Figure figure;
    double limit;
};

enum class Program {
    Reader,  // this program, reading only
    Viewer,  // akdebug-view, run to its end
    Server   // akdebug-view --serve, until it serves, then asked through HTTP
};

struct Mode
{
    std::string name;  // "read", "--summary", ...
    std::string file;  // "scene", "draw", ...
    Program program;
    std::vector<std::string> args;
    std::string baseline;  // key() of the read this mode is a ratio to, or empty
    std::vector<Aim> aims;
    // Exit statuses that mean it did its job.
    std::vector<int> statuses = {0};
    // Its output ends with "N objects found" (or places): N must not be 0.
    bool finds = false;
    // key() of a read whose attributes this mode builds: the baseline's time is then taken for
    // as many attributes as that read built (its time per attribute times their number).
    std::string builds = {};
    std::string key() const { return name + " " + file; }
};

// What the writer told of the files.
struct Targets
{
    std::string name;  // held a few times in the scene and the recording
    std::string sceneAddress, drawAddress;
    std::string firstFrame, lastFrame;  // of the recording
};

// Every mode, in order: each read comes before the modes compared with it.
std::vector<Mode> modes(const Files& files, const Targets& targets);

// Where the programs are and how they are run.
struct Runner
{
    std::string self;           // this program
    std::string viewer;         // akdebug-view
    int core = -1;              // the core the runs are pinned to, or -1
    double answerTimeout = 30;  // seconds an API request waits
};

// One run of a mode, or the best of several.
struct Measure
{
    bool ran = false;
    Outcome outcome;
    double seconds = 0;                 // to the end, or for a server until it said it serves
    unsigned long long attributes = 0;  // a read's (of its first file)
    double residentMegabytes = 0;       // a read's, before it read
    std::vector<Answer> answers;        // a server's
    std::string failure;                // why it did not do its job; empty when it did
    bool unexpected = false;            // it ended with a status that the mode does not expect
};

// Runs the mode once in a fresh process, stopped after `limit` seconds (0: none).
Measure measure(const Mode& mode, const Runner& runner, const std::string& query, double limit);

// Keeps in `best` the better of the two: a run that did its job before one that did not, then the
// quicker; and each API answer at its quickest.
void keepBest(Measure& best, const Measure& next);

}  // namespace benchview
