// libFuzzer target for the two readers: the input is written to a file and read as a scene file
// (FUZZ_DRAW unset) or as a draw file, whole and record by record; then every object the indexes
// hold is visited, as a search would. Nothing a file holds may crash, hang or exhaust memory.
#include "indexwalk.h"

#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& inputPath()
{
    static const std::string path = "/tmp/akdebug-fuzz-" + std::to_string(getpid()) + ".bin";
    return path;
}

void initialize()
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    initialize();
    FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    // Inputs are small; a file that would build more than this many attributes is a bomb.
    const unsigned long long maxAttributes = 2000000;
#ifdef FUZZ_DRAW
    akDebugDraw draw;
    draw.setMaxAttributes(maxAttributes);
    draw.read(inputPath().c_str());
    indexwalk::touchIndexedObjects(draw);
    akDebugDraw byRecord;
    byRecord.setMaxAttributes(maxAttributes);
    byRecord.read(inputPath().c_str(), [](const akDebugDraw::Record&) { return true; });
    indexwalk::touchIndexedObjects(byRecord);
#else
    akDebugScene scene;
    scene.setMaxAttributes(maxAttributes);
    scene.read(inputPath().c_str());
    indexwalk::touchIndexedObjects(scene);
#endif
    return 0;
}
