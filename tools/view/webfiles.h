// The files of the web page, embedded into the viewer at build time (embed.cmake, from the list in
// CMakeLists.txt): each under the name the server serves it by.
#pragma once

#include <cstddef>

namespace view {

struct EmbeddedFile
{
    const char* name;
    const unsigned char* data;
    size_t size;
};

extern const EmbeddedFile embeddedFiles[];
extern const size_t embeddedFileCount;

}  // namespace view
