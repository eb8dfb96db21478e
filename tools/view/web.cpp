// The local web page: served on 127.0.0.1, or written to one file with its data.
#include "options.h"

#include <cstdio>

namespace view {

int runServe(const Options&)
{
    std::fprintf(stderr, "akdebug-view: --serve is not available yet\n");
    return 2;
}

int runHtml(const Options&)
{
    std::fprintf(stderr, "akdebug-view: --html is not available yet\n");
    return 2;
}

}  // namespace view
