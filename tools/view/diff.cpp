// The difference of two scene files.
#include "options.h"

#include <cstdio>

namespace view {

int runDiff(const Options&)
{
    std::fprintf(stderr, "akdebug-view: --diff is not available yet\n");
    return 2;
}

}  // namespace view
