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
// `after`: one line, rewritten in place at most once per `interval`,
//
//   akdebug-view: reading "big.akdebug": 45% of 239.1 MB, 1234567 object records
//
// when `fd` is a terminal; nothing otherwise. The line is taken away when the progress ends, and
// by clearLine() before a message is written. A draw file read record by record (`records`) is
// shown so unless the output is written to a terminal while its records are read: the line and
// the records would break each other's lines, and the records show how far the read has come.
class ReadProgress
{
public:
    ReadProgress(akDebug& stream, const std::string& fileName, bool records = false, int fd = STDERR_FILENO,
                 std::chrono::milliseconds after = std::chrono::seconds(1),
                 std::chrono::milliseconds interval = std::chrono::milliseconds(100));
    ~ReadProgress();
    ReadProgress(const ReadProgress&) = delete;
    ReadProgress& operator=(const ReadProgress&) = delete;

    // Whether the output is written to a terminal while records are read (set once, by the
    // program, from its output and where it goes).
    static void setRecordsShownWhileRead(bool shown);
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
// The same for a file that would pass `limit` (which the stream's limit may not count).
std::string refusalFor(unsigned long long limit, const std::string& fileName);

// Reads a scene file within the limit, with its progress shown. A file refused for passing the
// limit is said so on stderr (and `refused` set) and nothing of it is kept. True when there is a
// tree to show: the whole file's, or what could be read of a damaged one.
bool readScene(akDebugScene& scene, const std::string& fileName, unsigned long long maxAttributes,
               bool* refused = nullptr);

}  // namespace view
