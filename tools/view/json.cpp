// The JSON output.
#include "options.h"

#include <cstdio>

namespace view {

int runJson(const Options&)
{
    std::fprintf(stderr, "akdebug-view: --json is not available yet\n");
    return 2;
}

}  // namespace view
