// The sample world's files, as the tests that read them start: its scene written to one file and
// some frames of its channel recorded into another.
#pragma once

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <sampleworld.h>

#include <gtest/gtest.h>

#include <string>

namespace worldfiles {

inline void write(const std::string& scene, const std::string& draw, int frames)
{
    sampleworld::World world;
    akDebugScene writer;
    ASSERT_EQ(writer.write(scene.c_str(), world.getRoot(), false), telu::SUCCESS);
    akDebugDraw recorder;
    ASSERT_EQ(recorder.write(draw.c_str(), world.getChannel(), false), telu::SUCCESS);
    recorder.start(frames);
    for (int i = 0; i < frames; ++i)
        world.getChannel()->drawFrame();
}

}  // namespace worldfiles
