// The type table (--types): the file's header and its table, read without the objects after them,
// so that it costs the same whatever the file's size. A type that this viewer does not know is
// shown and marked: the table is what explains why the other outputs refuse the file.
#include "options.h"

#include <akdebugtypedef.h>

#include <cstdio>

namespace view {

namespace {

void printTable(const Header& header, const char* kind)
{
    std::printf("%s file, host library %d.%d.%d, %d representation%s\n", kind, header.version[0], header.version[1],
                header.version[2], header.representations, header.representations == 1 ? "" : "s");
    std::printf("type table:\n");
    size_t unknown = 0;
    for (size_t i = 0; i < header.types.size(); ++i) {
        const akDebugTypeDef* def = header.types[i].def;
        std::printf("  %3zu %s", i, escape(header.types[i].name.c_str()).c_str());
        if (!def) {
            std::printf(" [not known to this viewer]\n");
            ++unknown;
            continue;
        }
        if (def->getBaseTypeDef())
            std::printf(" : %s", def->getBaseTypeDef()->getName());
        std::printf(" [");
        const char* separator = "";
        for (auto option : {std::make_pair(akDebugTypeDef::OPTION_INDEX_ADDRESS, "index address"),
                            std::make_pair(akDebugTypeDef::OPTION_INDEX_NAME, "index name"),
                            std::make_pair(akDebugTypeDef::OPTION_SHARE_REPEATS, "share repeats")})
            if (def->getOptions() & option.first) {
                std::printf("%s%s", separator, option.second);
                separator = ", ";
            }
        std::printf("]\n");
    }
    if (unknown)
        std::printf("%zu type%s not known to this viewer: the file cannot be read by it (written with other host "
                    "libraries?)\n",
                    unknown, unknown == 1 ? " is" : "s are");
}

}  // namespace

int runTypes(const Options& options)
{
    const FileKind kind = kindOf(options.file.c_str());
    const Header header = readHeader(options.file.c_str());
    if (header.whole) {
        printTable(header, kind == FileKind::Draw ? "draw" : "scene");
        return 0;
    }
    // A header that cannot be read whole: the module's reader says why.
    if (kind == FileKind::Draw)
        akDebugDraw().read(options.file.c_str(), [](const akDebugDraw::Record&) { return false; });
    else
        akDebugScene().read(options.file.c_str());
    return 1;
}

}  // namespace view
