// Runs the viewer program (from the tool directory CTest names) with arguments and collects what
// it prints and its exit status.
#pragma once

#include "testsupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace viewsupport {

struct ViewRun
{
    int status = -1;
    std::string out, err;
    // True when the output or the error output holds the text.
    bool has(const std::string& text) const
    {
        return out.find(text) != std::string::npos || err.find(text) != std::string::npos;
    }
};

inline ViewRun view(const std::string& arguments)
{
    const char* binDir = std::getenv("TELU_BIN_DIR");
    const std::string errFile = testsupport::tempDir() + "/stderr.txt";
    const std::string command =
        std::string(binDir ? binDir : ".") + "/akdebug-view " + arguments + " 2>\"" + errFile + "\"";
    ViewRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

}  // namespace viewsupport
