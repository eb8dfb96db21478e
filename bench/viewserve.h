// What the viewer's web page asks its server first, timed request by request through HTTP on
// 127.0.0.1.
#pragma once

#include <string>
#include <vector>

namespace benchview {

struct Answer
{
    std::string name;  // "info", "children", "find", "record"
    double milliseconds = 0;
    bool answered = false;  // a whole answer of the expected form came
    bool timedOut = false;  // none came within the time allowed
    std::string why;        // what was wrong, when it was not answered
};

// The port in the line the viewer prints once it serves ("http://127.0.0.1:PORT/"), or 0.
int servedPort(const std::string& output);

// Asks the server on 127.0.0.1:`port` for the file's info, a window of children (of the scene's
// root list, or of the largest object of a draw file's middle record, which is asked for first),
// and a search for `query`; each request waits at most `timeout` seconds.
std::vector<Answer> askServer(int port, const std::string& query, double timeout);

}  // namespace benchview
