// Render state objects: every type written and read back field by field, and the irregular
// texture blocks (dimensions and wraps by mapping, bits per component, image levels, repeats) at
// byte level.
#include "schemasupport.h"

#include <akdebugtypedef.h>
#include <telr.h>

#include <utility>

using namespace schemasupport;

namespace {

class TelrObjects : public ModuleTest
{};

// A texture whose own fields are small and known, for the byte-level checks.
void plainTexture(olTexture& t, int mapping)
{
    t.setMapping(static_cast<olTexture::Mapping>(mapping));
    t.setFormat(olTexture::FORMAT_LUMINANCE_ALPHA);
    t.setType(olTexture::TYPE_SHORT);
    t.setNumComponents(2);
    t.setPixelType(0x0000100Cu);
    t.setTexelSize(3);
    t.setDimensions(7, 8, 9, 10);
    t.setWrap(olTexture::WRAP_CLAMP_BORDER, olTexture::WRAP_MIRROR, olTexture::WRAP_CLAMP, olTexture::WRAP_CLAMP_EDGE);
    t.setMinFilter(olTexture::FILTER_NEAREST, olTexture::FILTER_LINEAR);
    t.setMagFilter(olTexture::FILTER_ANISOTROPIC);
    t.setBorderColor(0.5f, 0.25f, 1.0f, 0.0f);
    t.setLODBias(0.5f);
    t.setTransparent(true);
    t.setCompressed(false);
}

// The texture's own bytes as plainTexture sets them, with `values` dimensions and wraps.
std::vector<uint8_t> plainTextureBytes(RoundTrip& rt, int mapping, int values)
{
    Bytes b;
    b.i(mapping).i(olTexture::FORMAT_LUMINANCE_ALPHA).i(olTexture::TYPE_SHORT);
    b.i(2).put<short>(12).put<short>(16).u(3);  // components, bits of each, texel size
    const int dims[4] = {7, 8, 9, 10};
    const int wraps[4] = {olTexture::WRAP_CLAMP_BORDER, olTexture::WRAP_MIRROR, olTexture::WRAP_CLAMP,
                          olTexture::WRAP_CLAMP_EDGE};
    for (int i = 0; i < values; ++i)
        b.i(dims[i]);
    for (int i = 0; i < values; ++i)
        b.i(wraps[i]);
    b.i(olTexture::FILTER_NEAREST).i(olTexture::FILTER_LINEAR).i(olTexture::FILTER_ANISOTROPIC);
    b.i(0);  // no image levels, and nothing after the count
    b.b(false).f({0.5f, 0.25f, 1.0f, 0.0f, 0.5f}).b(false);
    b.i(typeIndex(rt, "olWindow::PixelBuffer")).i(akDebug::OBJECT_NULL);
    return b.b(true).b(false).data;
}

}  // namespace

// Every type with a distinct, non-default value in every field comes back with each attribute's
// name, type and value as listed below, and each record is read to its last byte.
TEST_F(TelrObjects, EveryTypeRoundTripsItsFields)
{
    olWindow::PixelBuffer pixelBuffer(640, 480);
    const unsigned char pixels[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    olTexture texture("bricks");
    texture.setMapping(olTexture::MAPPING_3D);
    texture.setFormat(olTexture::FORMAT_COMPRESSED_NATIVE_INTENSITY);
    texture.setType(olTexture::TYPE_FLOAT16);
    texture.setNumComponents(3);
    texture.setPixelType(0x00100A05u);
    texture.setTexelSize(6);
    texture.setDimensions(64, 32, 16, 8);
    texture.setWrap(olTexture::WRAP_CLAMP, olTexture::WRAP_MIRROR, olTexture::WRAP_CLAMP_EDGE,
                    olTexture::WRAP_MIRROR_ONCE);
    texture.setMinFilter(olTexture::FILTER_ANISOTROPIC, olTexture::FILTER_NEAREST);
    texture.setMagFilter(olTexture::FILTER_GAUSSIAN_CUBIC);
    texture.addImage(pixels, 12);
    texture.addImage(pixels + 4, 4);
    texture.setBorderEnable(true);
    texture.setBorderColor(0.25f, 0.5f, 0.75f, 0.125f);
    texture.setLODBias(-1.5f);
    texture.setSubloadableEnable(true);
    texture.setPixelBuffer(&pixelBuffer);
    texture.setTransparent(false);
    texture.setCompressed(true);

    olTextureBlend blend;
    blend.setCombineEnable(true);
    blend.setColorMode(olTextureBlend::MODE_INTERPOLATE);
    blend.setColorArgument(0, olTextureBlend::ARGUMENT_CONSTANT, olMultiTexture::STAGE_1);
    blend.setColorArgument(1, olTextureBlend::ARGUMENT_TEXTURE_STAGE, olMultiTexture::STAGE_5);
    blend.setColorArgument(2, olTextureBlend::ARGUMENT_ONE_MINUS_PREVIOUS, olMultiTexture::STAGE_7);
    blend.setColorScale(2.0f);
    blend.setAlphaMode(olTextureBlend::MODE_SUBTRACT);
    blend.setAlphaArgument(0, olTextureBlend::ARGUMENT_PRIMARY_COLOR, olMultiTexture::STAGE_2);
    blend.setAlphaArgument(1, olTextureBlend::ARGUMENT_ONE_MINUS_TEXTURE, olMultiTexture::STAGE_3);
    blend.setAlphaArgument(2, olTextureBlend::ARGUMENT_ONE_MINUS_CONSTANT, olMultiTexture::STAGE_6);
    blend.setAlphaScale(4.0f);
    blend.setColor(0.5f, 0.25f, 0.125f, 1.0f);

    olTextureCoordGen coordGen;
    const olTextureCoordGen::Mode modes[4] = {olTextureCoordGen::MODE_EYE_LINEAR, olTextureCoordGen::MODE_SPHERE_MAP,
                                              olTextureCoordGen::MODE_NORMAL_MAP,
                                              olTextureCoordGen::MODE_REFLECTION_MAP};
    for (int d = 0; d < 4; ++d) {
        coordGen.setMode(d, modes[d]);
        coordGen.setPlane(d,
                          emPlane<float>(d == 0 ? 1.0f : 0.0f, d == 1 ? 1.0f : 0.0f, d >= 2 ? 1.0f : 0.0f, d + 0.5f));
    }

    olMaterial material;
    for (int c = 0; c < 4; ++c)
        material.setColor(c, 0.125f * c, 0.25f, 0.5f, c == 1 ? 0.5f : 1.0f);
    material.setSpecularExponent(32.0f);

    olLight light;
    light.setType(olLight::TYPE_SPOT);
    light.setRange(250.0f);
    light.setPosition(1.0f, 2.0f, 3.0f);
    light.setDirection(0.0f, -1.0f, 0.5f);
    light.setAttenuation(0.75f, 0.125f, 0.0625f);
    light.setSpotCone(10.0f, 20.0f, 2.5f);
    for (int c = 0; c < 3; ++c)
        light.setColor(c, 0.25f * (c + 1), 0.5f, 0.0f, 1.0f);
    light.setState(olLight::STATE_OFF);

    olLightModel lightModel;
    lightModel.setLocalViewerEnable(true);
    lightModel.setTwoSidedLightingEnable(true);
    lightModel.setAmbientColor(0.5f, 0.5f, 0.25f, 0.75f);

    olFog fog;
    fog.setType(olFog::TYPE_EXPONENTIAL_SQUARED);
    fog.setDensity(0.25f);
    fog.setRange(10.0f, 500.0f);
    fog.setColor(0.75f, 0.5f, 0.25f, 1.0f);

    olShader shader;
    shader.setApplyMode(olShader::APPLY_MODE_AS_NEEDED);
    shader.setLoaded(true);

    olLightPointAppearance appearance;
    appearance.setDirectionality(olLightPointAppearance::DIRECTIONALITY_BI);
    appearance.setDiameter(2.5f);
    appearance.setRange(1500.0f);
    appearance.setFadeRangeRatio(0.25f);
    appearance.setFadeTime(0.5, 1.75);
    appearance.setVisibilityCone(90.0f, 45.0f);
    appearance.setFalloff(olLightPointAppearance::FALLOFF_EXPONENTIAL);
    appearance.setFogScale(3.0f);
    appearance.setLODRangeRatio(0.75f);
    appearance.setLODScale(4.0f);
    appearance.setSizeLimits(2.0f, 20.0f);
    appearance.setSizeThreshold(5.0f);
    appearance.setFadeRange(100.0f);
    appearance.setFadeScale(6.0f);
    appearance.setVisibilityFactors(0.5f, 0.25f);
    appearance.setShape(olLightPointAppearance::SHAPE_NONSYMMETRIC);
    appearance.setLODRange(800.0f);
    appearance.setLODSize(7.0f);

    olLightPointAnimation animation;
    animation.setType(olLightPointAnimation::TYPE_STROBE);
    animation.setRate(2.5f);
    animation.setRotationAxis(1.0f, 0.0f, 0.5f);
    animation.addElement(olLightPointAnimation::STATE_ON, 0.5, 1.0f, 0.0f, 0.0f, 1.0f);
    animation.addElement(olLightPointAnimation::STATE_COLOR_OVERRIDE, 1.25, 0.0f, 0.5f, 0.0f, 0.25f);

    const std::vector<std::pair<const char*, const emClassObject*>> objects = {{"olTexture", &texture},
                                                                               {"olTextureBlend", &blend},
                                                                               {"olTextureCoordGen", &coordGen},
                                                                               {"olMaterial", &material},
                                                                               {"olLight", &light},
                                                                               {"olLightModel", &lightModel},
                                                                               {"olFog", &fog},
                                                                               {"olShader", &shader},
                                                                               {"olLightPointAppearance", &appearance},
                                                                               {"olLightPointAnimation", &animation}};
    RoundTrip rt;
    std::vector<uint64_t> ends;
    for (const auto& object : objects) {
        rt.write(object.second, akDebugTypeDef::find(object.first));
        ends.push_back(rt.position());
    }
    auto arguments = [](const std::string& group, const char* const(&args)[3], const char* const(&stages)[3]) {
        Rows rows = {group + ":  = "};
        for (int i = 0; i < 3; ++i) {
            const std::string g = group + "/" + std::to_string(i);
            rows.insert(rows.end(),
                        {g + ":  = ", g + "/Argument: olTextureBlend::Argument = " + args[i],
                         g + "/Texture Stage: olMultiTexture::Stage = " + stages[i]});
        }
        return rows;
    };
    Rows blendRows = {"Combine Enable: bool = true", "Color Mode: olTextureBlend::Mode = MODE_INTERPOLATE"};
    for (const Rows& part :
         {arguments("Color Arguments", {"ARGUMENT_CONSTANT", "ARGUMENT_TEXTURE_STAGE", "ARGUMENT_ONE_MINUS_PREVIOUS"},
                    {"STAGE_1", "STAGE_5", "STAGE_7"}),
          Rows{"Color Scale: float = 2", "Alpha Mode: olTextureBlend::Mode = MODE_SUBTRACT"},
          arguments("Alpha Arguments",
                    {"ARGUMENT_PRIMARY_COLOR", "ARGUMENT_ONE_MINUS_TEXTURE", "ARGUMENT_ONE_MINUS_CONSTANT"},
                    {"STAGE_2", "STAGE_3", "STAGE_6"}),
          Rows{"Alpha Scale: float = 4", "Color: emVec4<float> = r=0.5, g=0.25, b=0.125, a=1"}})
        blendRows.insert(blendRows.end(), part.begin(), part.end());

    const std::vector<Rows> expected = {
        {"Mapping: olTexture::Mapping = MAPPING_3D",
         "Format: olTexture::Format = FORMAT_COMPRESSED_NATIVE_INTENSITY",
         "Type: olTexture::Type = TYPE_FLOAT16",
         "Bits Per Component:  = ",
         "Bits Per Component/0: unsigned char = 5",
         "Bits Per Component/1: unsigned char = 10",
         "Bits Per Component/2: unsigned char = 16",
         "Texel Size: unsigned int = 6",
         "Dimension, S: int = 64",
         "Dimension, T: int = 32",
         "Dimension, R: int = 16",
         "Wrap, S: olTexture::Wrap = WRAP_CLAMP",
         "Wrap, T: olTexture::Wrap = WRAP_MIRROR",
         "Wrap, R: olTexture::Wrap = WRAP_CLAMP_EDGE",
         "Minification Filter, Base: olTexture::Filter = FILTER_ANISOTROPIC",
         "Minification Filter, Mipmap: olTexture::Filter = FILTER_NEAREST",
         "Magnification Filter: olTexture::Filter = FILTER_GAUSSIAN_CUBIC",
         "Image Levels:  = ",
         "Image Levels/0: unsigned char * = " + rt.address(texture.begin_image()[0]),
         "Image Levels/1: unsigned char * = " + rt.address(texture.begin_image()[1]),
         "Border Enable: bool = true",
         "Border Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.125",
         "LOD Bias: float = -1.5",
         "Subloadable Enable: bool = true",
         "Pixel Buffer: olWindow::PixelBuffer * = " + rt.address(static_cast<const emClassObject*>(&pixelBuffer)),
         "Transparent: bool = false [advanced]",
         "Compressed: bool = true [advanced]"},
        blendRows,
        // Dimensions 2 and 3 are labelled Q, then R.
        {"Mode, S: olTextureCoordGen::Mode = MODE_EYE_LINEAR",
         "Plane, S: emPlane<float> = ", "Plane, S/Normal: emVec3<float> = x=1, y=0, z=0",
         "Plane, S/Offset: float = 0.5", "Mode, T: olTextureCoordGen::Mode = MODE_SPHERE_MAP",
         "Plane, T: emPlane<float> = ", "Plane, T/Normal: emVec3<float> = x=0, y=1, z=0",
         "Plane, T/Offset: float = 1.5", "Mode, Q: olTextureCoordGen::Mode = MODE_NORMAL_MAP",
         "Plane, Q: emPlane<float> = ", "Plane, Q/Normal: emVec3<float> = x=0, y=0, z=1",
         "Plane, Q/Offset: float = 2.5", "Mode, R: olTextureCoordGen::Mode = MODE_REFLECTION_MAP",
         "Plane, R: emPlane<float> = ", "Plane, R/Normal: emVec3<float> = x=0, y=0, z=1",
         "Plane, R/Offset: float = 3.5"},
        {"Color, Ambient: emVec4<float> = r=0, g=0.25, b=0.5, a=1",
         "Color, Diffuse: emVec4<float> = r=0.125, g=0.25, b=0.5, a=0.5",
         "Color, Specular: emVec4<float> = r=0.25, g=0.25, b=0.5, a=1",
         "Color, Emissive: emVec4<float> = r=0.375, g=0.25, b=0.5, a=1", "Specular Exponent: float = 32",
         "Transparent: bool = true [advanced]"},
        {"Type: olLight::Type = TYPE_SPOT", "Range: float = 250", "Position: emVec3<float> = x=1, y=2, z=3",
         "Direction: emVec3<float> = x=0, y=-1, z=0.5", "Attenuation, Constant: float = 0.75",
         "Attenuation, Linear: float = 0.125", "Attenuation, Quadratic: float = 0.0625", "Spot Cone, Inner: float = 10",
         "Spot Cone, Outer: float = 20", "Spot Cone, Falloff: float = 2.5",
         "Color, Ambient: emVec4<float> = r=0.25, g=0.5, b=0, a=1",
         "Color, Diffuse: emVec4<float> = r=0.5, g=0.5, b=0, a=1",
         "Color, Specular: emVec4<float> = r=0.75, g=0.5, b=0, a=1", "State: olLight::State = STATE_OFF [advanced]"},
        {"Local Viewer Enable: bool = true", "Two Sided Lighting Enable: bool = true",
         "Ambient Color: emVec4<float> = r=0.5, g=0.5, b=0.25, a=0.75"},
        {"Type: olFog::Type = TYPE_EXPONENTIAL_SQUARED", "Density: float = 0.25", "Range, Onset: float = 10",
         "Range, Opaque: float = 500", "Color: emVec4<float> = r=0.75, g=0.5, b=0.25, a=1"},
        {"Apply Mode: olShader::ApplyMode = APPLY_MODE_AS_NEEDED", "Loaded: bool = true [advanced]"},
        {"Directionality: olLightPointAppearance::Directionality = DIRECTIONALITY_BI",
         "Diameter: float = 2.5",
         "Range: float = 1500",
         "Fade Range Ratio: float = 0.25",
         "Fade Time, In: double = 0.5",
         "Fade Time, Out: double = 1.75",
         "Visibility Cone, Horizontal: float = 90",
         "Visibility Cone, Vertical: float = 45",
         "Falloff: olLightPointAppearance::Falloff = FALLOFF_EXPONENTIAL",
         "Fog Scale: float = 3",
         "LOD Range Ratio: float = 0.75",
         "LOD Scale: float = 4",
         "Size Limit, Minimum: float = 2",
         "Size Limit, Maximum: float = 20",
         "Size Threshold: float = 5",
         "Fade Range: float = 100 [advanced]",
         "Fade Scale: float = 6 [advanced]",
         "Visibility Factor, Horizontal: float = 0.5 [advanced]",
         "Visibility Factor, Vertical: float = 0.25 [advanced]",
         "Shape: olLightPointAppearance::Shape = SHAPE_NONSYMMETRIC [advanced]",
         "LOD Range: float = 800 [advanced]",
         "LOD Size: float = 7 [advanced]"},
        {"Type: olLightPointAnimation::Type = TYPE_STROBE", "Rate: float = 2.5",
         "Rotation Axis: emVec3<float> = x=1, y=0, z=0.5",
         "Elements:  = ", "Elements/0:  = ", "Elements/0/State: olLightPointAnimation::State = STATE_ON",
         "Elements/0/Time: double = 0.5", "Elements/0/Color: emVec4<float> = r=1, g=0, b=0, a=1",
         "Elements/1:  = ", "Elements/1/State: olLightPointAnimation::State = STATE_COLOR_OVERRIDE",
         "Elements/1/Time: double = 1.25", "Elements/1/Color: emVec4<float> = r=0, g=0.5, b=0, a=0.25"},
    };
    rt.finish();
    for (size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(objects[i].first);
        akDebugObject* object = rt.read();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(typeOf(object), std::string(objects[i].first) + " *");
        Rows rows = {"emBase: emBase = "};
        rows.insert(rows.end(), expected[i].begin(), expected[i].end());
        EXPECT_TRUE(sameRows(objectRows(object), rows));
        EXPECT_EQ(rt.position(), ends[i]);
    }
    EXPECT_TRUE(rt.consumedAll());
    for (const testsupport::Message& message : testsupport::messages())
        ADD_FAILURE() << message.level << ": " << message.text;
}

// Mapping + 1 dimensions and wraps are stored: one for 1D, three for 3D; the unnamed mapping 3
// stores all four, and the record still reads back to its end. Without image levels the count is
// 0 and the group empty.
TEST_F(TelrObjects, TextureStoresOneDimensionAndWrapPerMappedCoordinate)
{
    static const char* const letters = "STRQ";
    for (const auto& m : {std::pair<int, int>{0, 1}, {2, 3}, {3, 4}}) {
        SCOPED_TRACE(m.first);
        olTexture texture;
        plainTexture(texture, m.first);
        RoundTrip rt;
        rt.write(&texture);
        rt.finish();
        EXPECT_TRUE(endsWith(rt.bytes(), plainTextureBytes(rt, m.first, m.second)));
        akDebugObject* object = rt.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(rt.consumedAll());
        for (int i = 0; i < 4; ++i) {
            const std::string letter(1, letters[i]);
            EXPECT_EQ(at(object, "Dimension, " + letter) != nullptr, i < m.second) << letter;
            EXPECT_EQ(at(object, "Wrap, " + letter) != nullptr, i < m.second) << letter;
        }
        ASSERT_NE(at(object, "Image Levels"), nullptr);
        EXPECT_TRUE(at(object, "Image Levels")->empty_child());
    }
}

// Components past the fourth have no byte in the pixel type and store 0 bits; each image level
// stores only the file address of its pixel data.
TEST_F(TelrObjects, TextureBitsPerComponentAndImageLevelAddresses)
{
    olTexture texture;
    plainTexture(texture, olTexture::MAPPING_1D);
    texture.setNumComponents(6);
    texture.setPixelType(0x04030201u);
    const unsigned char pixels[3] = {9, 8, 7};
    texture.addImage(pixels, 3);
    texture.addImage(nullptr, 0);
    texture.addImage(pixels, 1);

    RoundTrip rt;
    rt.write(&texture);
    rt.finish();
    const unsigned int addresses[3] = {rt.getAddress(texture.begin_image()[0]), 0,
                                       rt.getAddress(texture.begin_image()[2])};
    EXPECT_NE(addresses[0], addresses[2]);
    const std::vector<uint8_t> file = rt.bytes();
    EXPECT_TRUE(contains(file, Bytes().i(6).put<short>(1).put<short>(2).put<short>(3).put<short>(4).i(0).data));
    EXPECT_TRUE(contains(file, Bytes().i(3).u(addresses[0]).u(0).u(addresses[2]).data));

    akDebugObject* object = rt.read();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_EQ(rows(at(object, "Bits Per Component")),
              (Rows{"0: unsigned char = 1", "1: unsigned char = 2", "2: unsigned char = 3", "3: unsigned char = 4",
                    "4: unsigned char = 0", "5: unsigned char = 0"}));
    // No pixel data below the levels.
    EXPECT_EQ(rows(at(object, "Image Levels")),
              (Rows{"0: unsigned char * = " + hex(addresses[0]), "1: unsigned char * = 0x0",
                    "2: unsigned char * = " + hex(addresses[2])}));
}

// A texture met twice in one file is one full record, then a repeat of its address that reads
// back as a copy of the first.
TEST_F(TelrObjects, SharedTextureIsWrittenOnceThenRepeated)
{
    olTexture texture("shared");
    plainTexture(texture, olTexture::MAPPING_2D);
    RoundTrip rt;
    rt.write(&texture);
    const uint64_t first = rt.position();
    rt.write(&texture);
    EXPECT_EQ(rt.position() - first, 12u);
    rt.finish();
    const unsigned int address = rt.getAddress(static_cast<const emClassObject*>(&texture));
    EXPECT_TRUE(endsWith(rt.bytes(), Bytes().i(typeIndex(rt, "olTexture")).i(akDebug::OBJECT_REPEAT).u(address).data));

    akDebugObject* full = rt.read();
    akDebugObject* copy = rt.read();
    ASSERT_NE(full, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(full, copy);
    EXPECT_EQ(rows(copy), rows(full));
    EXPECT_EQ(valueOf(copy), valueOf(full));
    EXPECT_TRUE(rt.consumedAll());
}

// A mapping from a damaged file never names more than the four dimensions and wraps there are.
TEST_F(TelrObjects, DamagedMappingNamesAtMostFourDimensions)
{
    olTexture texture;
    plainTexture(texture, olTexture::MAPPING_3D);
    RoundTrip rt;
    rt.write(&texture);
    rt.finish();
    std::vector<uint8_t> file = rt.bytes();
    const int hugeMapping = 1000;
    std::memcpy(&file[file.size() - plainTextureBytes(rt, 2, 3).size()], &hugeMapping, 4);
    rt.reread(file);
    akDebugObject* object = rt.read();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(valueOf(at(object, "Mapping")), "Undefined Enum");
    int dimensions = 0, wraps = 0;
    for (const std::string& row : objectRows(object)) {
        dimensions += row.rfind("Dimension, ", 0) == 0;
        wraps += row.rfind("Wrap, ", 0) == 0;
    }
    EXPECT_EQ(dimensions, 4);
    EXPECT_EQ(wraps, 4);
}
