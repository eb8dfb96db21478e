// A recording written by calling a recorder's hooks as a channel would, with the draw context
// changed between the calls as a host changes it when it applies a state: the tests of what the
// viewer finds in recordings write files whose every record they know.
#pragma once

#include <akdebugdraw.h>
#include <telr.h>
#include <tels.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace drawscript {

// A material element whose material has this diffuse colour.
struct Paint
{
    Paint(float r, float g, float b)
    {
        material.setColor(olMaterial::COLOR_DIFFUSE, r, g, b, 1.0f);
        element.material = &material;
    }
    olMaterial material;
    olMaterial::Element element;
};

// A unit quad of one colour, named.
inline std::unique_ptr<olGeometry> quad(const char* name, float r, float g, float b)
{
    auto geometry = std::make_unique<olGeometry>(name);
    const emVec3<float> corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const emVec4<float> color(r, g, b, 1.0f);
    geometry->setPrimitive(olGeometryBase::PRIMITIVE_QUAD);
    geometry->setNumPrimitives(1);
    geometry->setVertices(corners, 4);
    geometry->setColors(olGeometryBase::BINDING_OVERALL, &color, 1);
    return geometry;
}

class Script
{
public:
    explicit Script(const std::string& file)
    {
        bin.setName("Opaque");
        EXPECT_EQ(recorder.write(file.c_str(), &channel, false), telu::SUCCESS);
        recorder.start(0);
    }
    // A frame's channel begin (the next frame number).
    void begin()
    {
        kiThread::advanceFrameNumber();
        hook().drawChannelBegin(&context, &channel);
        hook().processChannelBin(&context, &bin);
    }
    void state(const char* name) { hook().changedState(&context, name); }
    void draw(const olGeometryBase* geometry) { hook().drawGeometry(&context, geometry); }
    // The frame's channel end; the last one ends the file.
    void end(bool last)
    {
        if (last)
            recorder.stop();
        hook().drawChannelEnd(&context, &channel);
    }

    olDrawContext context{"Context"};
    kiChannel channel{"Channel"};
    kiChannelBin bin;
    akDebugDraw recorder;

private:
    kiChannel::Debug& hook() { return recorder; }
};

}  // namespace drawscript
