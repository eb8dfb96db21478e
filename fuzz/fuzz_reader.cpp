// libFuzzer target for the two readers: the input is written to a file and read as a scene file
// (FUZZ_DRAW unset) or as a draw file, whole and record by record; then every object the indexes
// hold is visited, as a search would. Nothing a file holds may crash, hang or exhaust memory.
#include "fuzzsupport.h"
#include "indexwalk.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::initialize();
    const std::string input = fuzzsupport::writeInput(data, size);
    if (input.empty())
        return 0;
    // Inputs are small; a file that would build more than this many attributes is a bomb.
    const unsigned long long maxAttributes = 2000000;
#ifdef FUZZ_DRAW
    akDebugDraw draw;
    draw.setMaxAttributes(maxAttributes);
    draw.read(input.c_str());
    indexwalk::touchIndexedObjects(draw);
    akDebugDraw byRecord;
    byRecord.setMaxAttributes(maxAttributes);
    byRecord.read(input.c_str(), [](const akDebugDraw::Record&) { return true; });
    indexwalk::touchIndexedObjects(byRecord);
#else
    akDebugScene scene;
    scene.setMaxAttributes(maxAttributes);
    scene.read(input.c_str());
    indexwalk::touchIndexedObjects(scene);
#endif
    return 0;
}
