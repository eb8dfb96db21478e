// Shared test helpers: every test binary runs with a notify handler that records the messages and
// an assertion handler that records failed host assertions instead of aborting.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct Message
{
    int level;
    std::string text;
};

// Messages printed through emNotify since the last clear().
const std::vector<Message>& messages();
void clear();
// True when a message with exactly this level and text was printed.
bool printed(int level, const std::string& text);
// Number of failed host assertions since the last clear().
int assertions();
// A fresh temporary directory for this test, removed at exit.
std::string tempDir();
// The first line of a file another program writes, once it is there (or "" after five seconds).
std::string waitForLine(const std::string& path);

}  // namespace testsupport
