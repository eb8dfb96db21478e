// Outputs not built yet.
#include "options.h"

#include <cstdio>

namespace view {

namespace {
int notYet(const char* what)
{
    std::fprintf(stderr, "akdebug-view: %s is not available yet\n", what);
    return 2;
}
}  // namespace

int runJson(const Options&) { return notYet("--json"); }
int runDiff(const Options&) { return notYet("--diff"); }
int runServe(const Options&) { return notYet("--serve"); }
int runHtml(const Options&) { return notYet("--html"); }

}  // namespace view
