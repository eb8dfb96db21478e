// The host render library: element kinds, state masks, validation, vertex array ownership, fonts
// and enumeration names.
#include "testsupport.h"

#include <telr.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// An element kind of the test's own, unknown to the library's default lists.
class CustomFogElement : public olFog::Element
{
    EM_CLASS_TYPE_DECLARE();
};
EM_CLASS_TYPE_DEFINE(CustomFogElement, "CustomFogElement", olFog::Element::getStaticClassType())

bool hasMessage(const olMessageList& messages, emNotify::Level level, const std::string& text)
{
    for (const auto& message : messages)
        if (message.first == level && text == message.second.c_str())
            return true;
    return false;
}

class TelrTest : public ::testing::Test
{
protected:
    void TearDown() override { olElement::resetIds(); }
};

TEST_F(TelrTest, ElementIdListsHoldTheDefaultKindsAndTakeNewOnes)
{
    ASSERT_EQ(olElement::size_state(), 25);
    ASSERT_EQ(olElement::size_context(), 25);
    EXPECT_STREQ((*olElement::begin_state())->getName(), "olAlphaBlend::Element");
    EXPECT_STREQ(olElement::begin_state()[6]->getName(), "olFog::Element");
    EXPECT_STREQ(olElement::begin_state()[16]->getName(), "olShader::ElementFragment");
    EXPECT_STREQ((*(olElement::end_state() - 1))->getName(), "olTransform::ElementTexture");
    EXPECT_TRUE(std::equal(olElement::begin_state(), olElement::end_state(),
                           olElement::begin_context()));

    olElement::Id custom = CustomFogElement::getStaticClassType();
    olElement::addStateId(custom);
    olElement::addStateId(custom);  // a second add changes nothing
    EXPECT_EQ(olElement::size_state(), 26);
    EXPECT_EQ(olElement::indexOf_state(custom), 25);
    EXPECT_EQ(olElement::size_context(), 25);  // the lists are independent

    olElement::removeStateId(olAlphaBlend::Element::getStaticClassType());
    EXPECT_EQ(olElement::size_state(), 25);
    EXPECT_STREQ((*olElement::begin_state())->getName(), "olAlphaTest::Element");
    olElement::removeStateId(custom);
    EXPECT_EQ(olElement::indexOf_state(custom), -1);
}

TEST_F(TelrTest, StateElementsMaskAndTransparency)
{
    olState state;
    olAlphaBlend::Element blend;
    olColorTrack::Element track;
    EXPECT_EQ(state.getElementMask(), 0u);
    EXPECT_EQ(state.getElement(olFog::Element::getStaticClassType()), nullptr);

    state.setElement(&blend);
    state.setElement(&track);
    EXPECT_EQ(state.getElement(olAlphaBlend::Element::getStaticClassType()), &blend);
    EXPECT_EQ(state.getElementMask(), 0x5u);
    EXPECT_FALSE(state.isTransparent());
    blend.enable = true;
    EXPECT_TRUE(state.isTransparent());

    // A kind added at the end gets the next bit; a set element of a removed kind gets none.
    CustomFogElement custom;
    state.setElement(&custom);
    olElement::addStateId(CustomFogElement::getStaticClassType());
    EXPECT_EQ(state.getElementMask(), 0x5u | (1u << 25));
    olElement::removeStateId(olAlphaBlend::Element::getStaticClassType());
    EXPECT_EQ(state.getElementMask(), 0x2u | (1u << 24));

    state.setElementMaskOverride(0x80000001u);
    EXPECT_EQ(state.getElementMask(), 0x80000001u);
    state.clearElementMaskOverride();
    state.setElement(CustomFogElement::getStaticClassType(), nullptr);
    EXPECT_EQ(state.getElementMask(), 0x2u);
}

TEST_F(TelrTest, StateValidationChecksElementsAndHonoursTheLevel)
{
    olState state;
    olTexture::Element texturing;
    texturing.enable[3] = true;
    olFog::Element fog;
    state.setElement(&texturing);
    state.setElement(olAlphaBlend::Element::getStaticClassType(), &fog);  // under a foreign kind
    state.addValidationMessage(emNotify::LEVEL_DEBUG, "injected debug");
    state.addValidationMessage(emNotify::LEVEL_WARN, "injected warning");

    olMessageList messages;
    state.validate(4, messages, false);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_FAIL,
                           "olState::validate - element of class olFog::Element is set as "
                           "olAlphaBlend::Element"));
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_WARN,
                           "olTexture::Element - stage 3 is enabled without a texture"));
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_DEBUG, "injected debug"));

    // Level 1: problems only. The inherit-state flag adds one detail message per unset kind.
    messages.clear();
    state.validate(1, messages, true);
    EXPECT_EQ(messages.size(), 3u);
    messages.clear();
    state.validate(4, messages, true);
    EXPECT_EQ(messages.size(), 4u + 23u);
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_DEBUG,
                           "olState::validate - inherit state does not set olFog::Element"));
}

TEST_F(TelrTest, DrawContextValidatesOneKindAtATime)
{
    olState inherit;
    olDrawContext context;
    context.setInheritState(&inherit);
    olFog::Element fog;
    fog.enable = true;
    olElement::Id fogId = olFog::Element::getStaticClassType();
    olElement::Id lineId = olLine::Element::getStaticClassType();
    context.setElement(&fog);
    context.setPreserveEnable(fogId, true);
    context.addValidationMessage(lineId, emNotify::LEVEL_NOTICE, "line note");

    EXPECT_EQ(context.getInheritState(), &inherit);
    EXPECT_EQ(context.getElement(fogId), &fog);
    EXPECT_EQ(context.getElement(lineId), nullptr);
    EXPECT_TRUE(context.getPreserveEnable(fogId));
    EXPECT_FALSE(context.getPreserveEnable(lineId));

    olMessageList messages;
    context.validateElement(fogId, 4, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, emNotify::LEVEL_WARN);
    EXPECT_STREQ(messages[0].second.c_str(), "olFog::Element - fog is enabled without a fog object");
    messages.clear();
    context.validateElement(lineId, 4, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_STREQ(messages[0].second.c_str(), "line note");
    messages.clear();
    context.validateElement(CustomFogElement::getStaticClassType(), 4, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_STREQ(messages[0].second.c_str(),
                 "olDrawContext::validateElement - CustomFogElement is not a context element kind");
}

TEST_F(TelrTest, PrimitiveLengthBlockKeepsItsCapacity)
{
    const size_t blocks = emAllocRaw::getNumBlocks();
    {
        olDrawFunc::Data data;
        const int lengths[3] = {4, 5, 6};
        data.setPrimitiveLengths(lengths, 3, 10);
        ASSERT_NE(data.primitiveLengths, nullptr);
        EXPECT_EQ(emGetSizeRequested(data.primitiveLengths), 40u);
        EXPECT_EQ(data.numPrimitives, 3);
        EXPECT_EQ(data.primitiveLengths[2], 6);
        EXPECT_EQ(data.primitiveLengths[9], 0);
        data.setPrimitiveLengths(lengths, 2);  // replaces (and frees) the first block
        EXPECT_EQ(emGetSizeRequested(data.primitiveLengths), 8u);
        EXPECT_EQ(emAllocRaw::getNumBlocks(), blocks + 1);
        data.setPrimitiveLengths(nullptr, 0);
        EXPECT_EQ(data.primitiveLengths, nullptr);
        data.setPrimitiveLengths(lengths, 3);
    }
    EXPECT_EQ(emAllocRaw::getNumBlocks(), blocks);
}

TEST_F(TelrTest, DrawFunctionValidationFindsBrokenArrays)
{
    olMessageList messages;
    olDrawFunc::validate(nullptr, 4, messages);
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_FAIL, "olDrawFunc::validate - no data"));

    olDrawFunc::Data data;
    const emVec3<float> vertices[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    const unsigned short indices[3] = {0, 1, 4};
    const emVec4<float> color[1] = {{1, 1, 1, 0.5f}};
    data.primitive = olDrawFunc::PRIMITIVE_TRIANGLE;
    data.setVertices(vertices, 4);
    data.setColors(olDrawFunc::BINDING_VERTEX, color, 1);
    messages.clear();
    olDrawFunc::validate(&data, 4, messages);
    EXPECT_TRUE(data.transparent);
    EXPECT_EQ(data.boundingBox.maximum, emVec3<float>(1, 1, 0));
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_WARN,
                           "olDrawFunc::validate - 4 elements do not make whole primitives of 3"));
    EXPECT_TRUE(hasMessage(messages, emNotify::LEVEL_WARN,
                           "olDrawFunc::validate - colors bound per vertex hold 1 of 4"));
    EXPECT_EQ(messages.size(), 2u);

    data.setIndices(olDrawFunc::BINDING_VERTEX, indices, 3);
    data.setColors(olDrawFunc::BINDING_OVERALL, color, 1);
    messages.clear();
    olDrawFunc::validate(&data, 4, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_STREQ(messages[0].second.c_str(), "olDrawFunc::validate - index 2 refers to vertex 4 of 4");

    // Strips: lengths running past the elements.
    const int lengths[2] = {3, 3};
    data.setIndices(olDrawFunc::BINDING_OFF, nullptr, 0);
    data.primitive = olDrawFunc::PRIMITIVE_TRIANGLE_STRIP;
    data.setPrimitiveLengths(lengths, 2);
    messages.clear();
    olDrawFunc::validate(&data, 4, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_STREQ(messages[0].second.c_str(),
                 "olDrawFunc::validate - primitive lengths need 6 elements of 4");
}

TEST_F(TelrTest, GeometryOwnsEveryArray)
{
    const size_t blocks = emAllocRaw::getNumBlocks();
    {
        olGeometry geometry("all arrays");
        const emVec3<float> vertices[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        const emVec3<float> normals[3] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
        const emVec4<float> colors[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
        const unsigned short indices[3] = {0, 1, 2};
        const float coords[12] = {0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1};
        const int length = 3;
        geometry.setVertices(vertices, 3);
        geometry.setNormals(olGeometryBase::BINDING_VERTEX, normals, 3);
        geometry.setColors(olGeometryBase::BINDING_VERTEX, colors, 3);
        geometry.setIndices(olGeometryBase::BINDING_VERTEX, indices, 3);
        geometry.setPrimitiveLengths(&length, 1, 4);
        for (int s = 0; s < OL_NUM_STAGES; ++s)
            geometry.setTextureCoords(s, olGeometryBase::BINDING_VERTEX,
                                      static_cast<olGeometryBase::Dimension>(s % 4), coords, 3);
        geometry.setVertices(vertices, 3);  // replacing an array frees the old one

        olGeometryBase::Binding binding;
        olGeometryBase::Dimension dimension;
        const float* stage3 = geometry.getTextureCoords(3, &binding, &dimension);
        EXPECT_EQ(dimension, olGeometryBase::DIMENSION_4);
        EXPECT_EQ(stage3[11], 1.0f);
        EXPECT_EQ(geometry.getNumTextureCoords(3), 3);
        EXPECT_EQ(geometry.getMaxActiveStage(), 7);
        EXPECT_EQ(geometry.getColors(&binding)[1], colors[1]);
        EXPECT_EQ(binding, olGeometryBase::BINDING_VERTEX);
        EXPECT_EQ(emGetSizeRequested(geometry.getPrimitiveLengths()), 16u);
        EXPECT_FALSE(geometry.isTransparent());
        olMessageList messages;
        geometry.validate(4, messages);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(emAllocRaw::getNumBlocks(), blocks + 1);

        olLightPoint lights;
        lights.setColorsBack(olGeometryBase::BINDING_OVERALL, colors, 3);
        EXPECT_EQ(lights.getNumColorsBack(), 3);
        EXPECT_EQ(lights.getColorsBack(&binding)[2], colors[2]);
    }
    EXPECT_EQ(emAllocRaw::getNumBlocks(), blocks);  // leaks of the rest show under LeakSanitizer
}

TEST_F(TelrTest, Font3DHasAnEntryPerCharacterCode)
{
    olFont3D font;
    olGeometry glyph;
    font.setGeometry(65, &glyph);
    font.setSpacing(255, emVec3<float>(1, 2, 3));
    font.setGeometry(256, &glyph);  // out of range: ignored
    int set = 0;
    for (int c = 0; c < 256; ++c)
        set += font.getGeometry(c) != nullptr;
    EXPECT_EQ(set, 1);
    EXPECT_EQ(font.getGeometry(65), &glyph);
    EXPECT_EQ(font.getSpacing(255), emVec3<float>(1, 2, 3));
    EXPECT_EQ(font.getGeometry(-1), nullptr);
    EXPECT_EQ(font.getSpacing(256), emVec3<float>());
}

TEST_F(TelrTest, TextureImagesAndPixelType)
{
    olTexture texture;
    texture.setFormat(olTexture::FORMAT_LUMINANCE_ALPHA);
    EXPECT_EQ(texture.getNumComponents(), 2);
    EXPECT_EQ(texture.getPixelType(), 0x0808u);
    EXPECT_TRUE(texture.isTransparent());
    EXPECT_FALSE(texture.isCompressed());
    texture.setFormat(olTexture::FORMAT_COMPRESSED_NATIVE_RGB);
    EXPECT_FALSE(texture.isTransparent());
    EXPECT_TRUE(texture.isCompressed());

    const unsigned char level0[4] = {1, 2, 3, 4};
    texture.addImage(level0, sizeof(level0));
    const void* first = *texture.begin_image();
    for (int i = 0; i < 20; ++i)
        texture.addImage(level0, 1);
    texture.addImage(nullptr, 0);
    EXPECT_EQ(texture.size_image(), 22);
    EXPECT_EQ(*texture.begin_image(), first);  // earlier levels keep their addresses
    EXPECT_EQ(std::memcmp(first, level0, 4), 0);
    EXPECT_EQ(*(texture.end_image() - 1), nullptr);
}

TEST_F(TelrTest, EnumerationNamesCoverEveryValue)
{
    EXPECT_STREQ(olAlphaBlendEquationString(olAlphaBlend::EQUATION_ADD), "EQUATION_ADD");
    EXPECT_STREQ(olStencilTestModeString(olStencilTest::MODE_ALWAYS), "MODE_ALWAYS");
    EXPECT_STREQ(olTextureCoordGenModeString(olTextureCoordGen::MODE_REFLECTION_MAP),
                 "MODE_REFLECTION_MAP");
    EXPECT_STREQ(olMultiTextureStageString(olMultiTexture::STAGE_7), "STAGE_7");
    EXPECT_STREQ(olFogTypeString(3), "UNKNOWN");
    EXPECT_STREQ(olTextureBlendArgumentString(-1), "UNKNOWN");
    EXPECT_STREQ(olPolygonCullFaceString(0x7FFFFFFF), "UNKNOWN");
}

}  // namespace
