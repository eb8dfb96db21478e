// Reading a file as every output of the viewer reads it: within the attribute limit asked for, with
// its progress shown on a terminal while a read takes long, and a file refused for passing the limit
// said so in plain words, with nothing of what was built shown.
#pragma once

#include "core.h"

#include <chrono>
#include <string>
#include <unistd.h>

namespace view {

// While it lives, shows on `fd` how far the reads of `stream` have come, once a read has taken
// `after`: one line, rewritten in place,
//
//   akdebug-view: reading "big.akdebug": 45% of 239.1 MB, 1234567 records
//
// when `fd` is a terminal; nothing otherwise. The line is taken away when the progress ends, and
// by clearLine() before anything else is written to the terminal.
class ReadProgress
{
public:
    ReadProgress(akDebug& stream, const std::string& fileName, int fd = STDERR_FILENO,
                 std::chrono::milliseconds after = std::chrono::seconds(1));
    ~ReadProgress();
    ReadProgress(const ReadProgress&) = delete;
    ReadProgress& operator=(const ReadProgress&) = delete;

    // Takes away the line of the progress shown, if one is (the next report shows it again).
    static void clearLine();

private:
    akDebug& m_stream;
};

// When the last read of `stream` (of the file named) was refused for passing its attribute limit:
// what to say, naming the bound that was met and how to raise it:
//
//   "big.akdebug" is refused: too many attributes: the file would build more than 11416000, the
//   default limit for a file of 11416 bytes (1000 attributes per byte, at least 10000000); a
//   larger limit is set with --max-attributes N
//
// Empty when the read was not refused.
std::string refusalOf(const akDebug& stream, const std::string& fileName);

// Reads a scene file within the limit, with its progress shown. A file refused for passing the
// limit is said so on stderr and nothing of it is kept. True when there is a tree to show: the
// whole file's, or what could be read of a damaged one.
bool readScene(akDebugScene& scene, const std::string& fileName, unsigned long long maxAttributes);

}  // namespace view
