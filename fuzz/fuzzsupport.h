// What the fuzz targets share: the module, started once with its messages silenced, and the input
// written to a file of this process, since the readers read files.
#pragma once

#include <akdebugmodule.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace fuzzsupport {

inline void initialize()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    emNotify::setHandler([](int, const char*) {});
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
}

// The file that holds the input; empty when it could not be written.
inline std::string writeInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/akdebug-fuzz-" + std::to_string(getpid()) + ".bin";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return std::string();
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written ? path : std::string();
}

}  // namespace fuzzsupport
