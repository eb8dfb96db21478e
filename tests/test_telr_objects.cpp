// Render state objects: every type written and read back as its table says, and the irregular
// texture blocks (dimensions and wraps by mapping, bits per component, image levels, repeats) at
// byte level.
#include "schemasupport.h"

#include <akdebugtypedef.h>
#include <telr.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using schemasupport::RoundTrip;
using Rows = std::vector<std::string>;

namespace {

std::string hex(unsigned int address)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", address);
    return text;
}

unsigned int addressOf(RoundTrip& rt, const void* pointer) { return rt.getAddress(pointer); }
unsigned int addressOf(RoundTrip& rt, const emClassObject* object)
{
    return rt.getAddress(static_cast<const void*>(object));
}

// The object's own rows: the base class level and the pixel buffer's fields have tables of their own.
Rows ownRows(const akDebugAttributeBase* object)
{
    Rows out;
    for (const std::string& row : schemasupport::rows(object))
        if (row.rfind("emBase", 0) != 0 && row.rfind("Pixel Buffer/", 0) != 0)
            out.push_back(row);
    return out;
}

// Values as the stream stores them (host order, bools as 4-byte words).
struct Bytes
{
    std::vector<uint8_t> data;
    template <class T>
    Bytes& put(T value)
    {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
        data.insert(data.end(), p, p + sizeof value);
        return *this;
    }
    Bytes& putBool(bool value) { return put<int>(value ? 1 : 0); }
};

bool endsWith(const std::vector<uint8_t>& file, const std::vector<uint8_t>& tail)
{
    return file.size() >= tail.size() && std::equal(tail.begin(), tail.end(), file.end() - tail.size());
}

// Index in the file's type table of a registered type ("::" names, as the registry keeps them).
int typeIndex(RoundTrip& rt, const char* name)
{
    akDebugType* type = rt.getType(akDebugTypeDef::find(name));
    return type ? type->getIndex() : -1;
}

// A round trip that can read a changed copy of its file again.
class PatchedTrip : public RoundTrip
{
public:
    void reread(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(path(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        emFile* file = new emFile;
        file->open(path().c_str(), "rb");
        setFile(file);
        readFileHeader();
    }
};

class TelrObjects : public schemasupport::ModuleTest
{
protected:
    // A texture whose own fields are small and known, for the byte-level checks.
    void plainTexture(olTexture& t, olTexture::Mapping mapping)
    {
        t.setMapping(mapping);
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
        b.put<int>(mapping).put<int>(olTexture::FORMAT_LUMINANCE_ALPHA).put<int>(olTexture::TYPE_SHORT);
        b.put<int>(2).put<short>(12).put<short>(16).put<unsigned int>(3);
        const int dims[4] = {7, 8, 9, 10};
        const int wraps[4] = {olTexture::WRAP_CLAMP_BORDER, olTexture::WRAP_MIRROR, olTexture::WRAP_CLAMP,
                              olTexture::WRAP_CLAMP_EDGE};
        for (int i = 0; i < values; ++i)
            b.put<int>(dims[i]);
        for (int i = 0; i < values; ++i)
            b.put<int>(wraps[i]);
        b.put<int>(olTexture::FILTER_NEAREST).put<int>(olTexture::FILTER_LINEAR).put<int>(olTexture::FILTER_ANISOTROPIC);
        b.put<int>(0);  // no image levels, and nothing after the count
        b.putBool(false).put(0.5f).put(0.25f).put(1.0f).put(0.0f).put(0.5f).putBool(false);
        b.put<int>(typeIndex(rt, "olWindow::PixelBuffer")).put<int>(akDebug::OBJECT_NULL);
        b.putBool(true).putBool(false);
        return b.data;
    }
};

struct Case
{
    const char* type;
    std::function<void(RoundTrip&)> write;
    std::function<Rows(RoundTrip&)> expected;
};

}  // namespace

// Every type with a distinct, non-default value in every field comes back with each attribute's
// name, type and value as its table gives them, and each record is read to its last byte.
TEST_F(TelrObjects, EveryTypeRoundTripsAsItsTableSays)
{
    testsupport::clear();  // the module's start-up notices
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
    texture.setWrap(olTexture::WRAP_CLAMP, olTexture::WRAP_MIRROR, olTexture::WRAP_CLAMP_EDGE, olTexture::WRAP_MIRROR_ONCE);
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
                                              olTextureCoordGen::MODE_NORMAL_MAP, olTextureCoordGen::MODE_REFLECTION_MAP};
    for (int d = 0; d < 4; ++d) {
        coordGen.setMode(d, modes[d]);
        coordGen.setPlane(d, emPlane<float>(d == 0 ? 1.0f : 0.0f, d == 1 ? 1.0f : 0.0f, d >= 2 ? 1.0f : 0.0f, d + 0.5f));
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

    const std::vector<Case> cases = {
        {"olTexture", [&](RoundTrip& rt) { rt.write(&texture); },
         [&](RoundTrip& rt) {
             return Rows{
                 "Mapping: olTexture::Mapping = MAPPING_3D",
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
                 "Image Levels/0: unsigned char * = " + hex(addressOf(rt, texture.begin_image()[0])),
                 "Image Levels/1: unsigned char * = " + hex(addressOf(rt, texture.begin_image()[1])),
                 "Border Enable: bool = true",
                 "Border Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.125",
                 "LOD Bias: float = -1.5",
                 "Subloadable Enable: bool = true",
                 "Pixel Buffer: olWindow::PixelBuffer * = " + hex(addressOf(rt, &pixelBuffer)),
                 "Transparent: bool = false [advanced]",
                 "Compressed: bool = true [advanced]",
             };
         }},
        {"olTextureBlend", [&](RoundTrip& rt) { rt.write(&blend); },
         [](RoundTrip&) {
             return Rows{
                 "Combine Enable: bool = true",
                 "Color Mode: olTextureBlend::Mode = MODE_INTERPOLATE",
                 "Color Arguments:  = ",
                 "Color Arguments/0:  = ",
                 "Color Arguments/0/Argument: olTextureBlend::Argument = ARGUMENT_CONSTANT",
                 "Color Arguments/0/Texture Stage: olMultiTexture::Stage = STAGE_1",
                 "Color Arguments/1:  = ",
                 "Color Arguments/1/Argument: olTextureBlend::Argument = ARGUMENT_TEXTURE_STAGE",
                 "Color Arguments/1/Texture Stage: olMultiTexture::Stage = STAGE_5",
                 "Color Arguments/2:  = ",
                 "Color Arguments/2/Argument: olTextureBlend::Argument = ARGUMENT_ONE_MINUS_PREVIOUS",
                 "Color Arguments/2/Texture Stage: olMultiTexture::Stage = STAGE_7",
                 "Color Scale: float = 2",
                 "Alpha Mode: olTextureBlend::Mode = MODE_SUBTRACT",
                 "Alpha Arguments:  = ",
                 "Alpha Arguments/0:  = ",
                 "Alpha Arguments/0/Argument: olTextureBlend::Argument = ARGUMENT_PRIMARY_COLOR",
                 "Alpha Arguments/0/Texture Stage: olMultiTexture::Stage = STAGE_2",
                 "Alpha Arguments/1:  = ",
                 "Alpha Arguments/1/Argument: olTextureBlend::Argument = ARGUMENT_ONE_MINUS_TEXTURE",
                 "Alpha Arguments/1/Texture Stage: olMultiTexture::Stage = STAGE_3",
                 "Alpha Arguments/2:  = ",
                 "Alpha Arguments/2/Argument: olTextureBlend::Argument = ARGUMENT_ONE_MINUS_CONSTANT",
                 "Alpha Arguments/2/Texture Stage: olMultiTexture::Stage = STAGE_6",
                 "Alpha Scale: float = 4",
                 "Color: emVec4<float> = r=0.5, g=0.25, b=0.125, a=1",
             };
         }},
        // Dimensions 2 and 3 are labelled Q, then R.
        {"olTextureCoordGen", [&](RoundTrip& rt) { rt.write(&coordGen); },
         [](RoundTrip&) {
             return Rows{
                 "Mode, S: olTextureCoordGen::Mode = MODE_EYE_LINEAR",
                 "Plane, S: emPlane<float> = ",
                 "Plane, S/Normal: emVec3<float> = x=1, y=0, z=0",
                 "Plane, S/Offset: float = 0.5",
                 "Mode, T: olTextureCoordGen::Mode = MODE_SPHERE_MAP",
                 "Plane, T: emPlane<float> = ",
                 "Plane, T/Normal: emVec3<float> = x=0, y=1, z=0",
                 "Plane, T/Offset: float = 1.5",
                 "Mode, Q: olTextureCoordGen::Mode = MODE_NORMAL_MAP",
                 "Plane, Q: emPlane<float> = ",
                 "Plane, Q/Normal: emVec3<float> = x=0, y=0, z=1",
                 "Plane, Q/Offset: float = 2.5",
                 "Mode, R: olTextureCoordGen::Mode = MODE_REFLECTION_MAP",
                 "Plane, R: emPlane<float> = ",
                 "Plane, R/Normal: emVec3<float> = x=0, y=0, z=1",
                 "Plane, R/Offset: float = 3.5",
             };
         }},
        {"olMaterial", [&](RoundTrip& rt) { rt.write(&material); },
         [](RoundTrip&) {
             return Rows{
                 "Color, Ambient: emVec4<float> = r=0, g=0.25, b=0.5, a=1",
                 "Color, Diffuse: emVec4<float> = r=0.125, g=0.25, b=0.5, a=0.5",
                 "Color, Specular: emVec4<float> = r=0.25, g=0.25, b=0.5, a=1",
                 "Color, Emissive: emVec4<float> = r=0.375, g=0.25, b=0.5, a=1",
                 "Specular Exponent: float = 32",
                 "Transparent: bool = true [advanced]",
             };
         }},
        {"olLight", [&](RoundTrip& rt) { rt.write(&light); },
         [](RoundTrip&) {
             return Rows{
                 "Type: olLight::Type = TYPE_SPOT",
                 "Range: float = 250",
                 "Position: emVec3<float> = x=1, y=2, z=3",
                 "Direction: emVec3<float> = x=0, y=-1, z=0.5",
                 "Attenuation, Constant: float = 0.75",
                 "Attenuation, Linear: float = 0.125",
                 "Attenuation, Quadratic: float = 0.0625",
                 "Spot Cone, Inner: float = 10",
                 "Spot Cone, Outer: float = 20",
                 "Spot Cone, Falloff: float = 2.5",
                 "Color, Ambient: emVec4<float> = r=0.25, g=0.5, b=0, a=1",
                 "Color, Diffuse: emVec4<float> = r=0.5, g=0.5, b=0, a=1",
                 "Color, Specular: emVec4<float> = r=0.75, g=0.5, b=0, a=1",
                 "State: olLight::State = STATE_OFF [advanced]",
             };
         }},
        {"olLightModel", [&](RoundTrip& rt) { rt.write(&lightModel); },
         [](RoundTrip&) {
             return Rows{
                 "Local Viewer Enable: bool = true",
                 "Two Sided Lighting Enable: bool = true",
                 "Ambient Color: emVec4<float> = r=0.5, g=0.5, b=0.25, a=0.75",
             };
         }},
        {"olFog", [&](RoundTrip& rt) { rt.write(&fog); },
         [](RoundTrip&) {
             return Rows{
                 "Type: olFog::Type = TYPE_EXPONENTIAL_SQUARED",
                 "Density: float = 0.25",
                 "Range, Onset: float = 10",
                 "Range, Opaque: float = 500",
                 "Color: emVec4<float> = r=0.75, g=0.5, b=0.25, a=1",
             };
         }},
        {"olShader", [&](RoundTrip& rt) { rt.write(&shader); },
         [](RoundTrip&) {
             return Rows{
                 "Apply Mode: olShader::ApplyMode = APPLY_MODE_AS_NEEDED",
                 "Loaded: bool = true [advanced]",
             };
         }},
        {"olLightPointAppearance", [&](RoundTrip& rt) { rt.write(&appearance); },
         [](RoundTrip&) {
             return Rows{
                 "Directionality: olLightPointAppearance::Directionality = DIRECTIONALITY_BI",
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
                 "LOD Size: float = 7 [advanced]",
             };
         }},
        {"olLightPointAnimation", [&](RoundTrip& rt) { rt.write(&animation); },
         [](RoundTrip&) {
             return Rows{
                 "Type: olLightPointAnimation::Type = TYPE_STROBE",
                 "Rate: float = 2.5",
                 "Rotation Axis: emVec3<float> = x=1, y=0, z=0.5",
                 "Elements:  = ",
                 "Elements/0:  = ",
                 "Elements/0/State: olLightPointAnimation::State = STATE_ON",
                 "Elements/0/Time: double = 0.5",
                 "Elements/0/Color: emVec4<float> = r=1, g=0, b=0, a=1",
                 "Elements/1:  = ",
                 "Elements/1/State: olLightPointAnimation::State = STATE_COLOR_OVERRIDE",
                 "Elements/1/Time: double = 1.25",
                 "Elements/1/Color: emVec4<float> = r=0, g=0.5, b=0, a=0.25",
             };
         }},
    };

    RoundTrip rt;
    std::vector<uint64_t> ends;
    for (const Case& c : cases) {
        c.write(rt);
        ends.push_back(rt.position());
    }
    rt.finish();
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].type);
        akDebugObject* object = rt.read();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(schemasupport::typeOf(object), std::string(cases[i].type) + " *");
        EXPECT_NE(schemasupport::at(object, "emBase"), nullptr);
        EXPECT_EQ(ownRows(object), cases[i].expected(rt));
        EXPECT_EQ(rt.position(), ends[i]);
    }
    EXPECT_TRUE(rt.consumedAll());
    for (const testsupport::Message& message : testsupport::messages())
        ADD_FAILURE() << message.level << ": " << message.text;
}

// Mapping + 1 dimensions and wraps are stored: one for 1D, three for 3D; the unnamed mapping 3
// stores all four, and the record still reads back to its end.
TEST_F(TelrObjects, TextureStoresOneDimensionAndWrapPerMappedCoordinate)
{
    static const char* const letters = "STRQ";
    const struct
    {
        int mapping;
        int values;
    } mappings[] = {{0, 1}, {2, 3}, {3, 4}};
    for (const auto& m : mappings) {
        SCOPED_TRACE(m.mapping);
        olTexture texture;
        plainTexture(texture, static_cast<olTexture::Mapping>(m.mapping));
        RoundTrip rt;
        rt.write(&texture);
        rt.finish();
        EXPECT_TRUE(endsWith(rt.bytes(), plainTextureBytes(rt, m.mapping, m.values)));

        akDebugObject* object = rt.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(rt.consumedAll());
        for (int i = 0; i < 4; ++i) {
            const std::string letter(1, letters[i]);
            EXPECT_EQ(schemasupport::at(object, "Dimension, " + letter) != nullptr, i < m.values) << letter;
            EXPECT_EQ(schemasupport::at(object, "Wrap, " + letter) != nullptr, i < m.values) << letter;
        }
        // No image levels: the count 0 and an empty group.
        const akDebugAttributeBase* levels = schemasupport::at(object, "Image Levels");
        ASSERT_NE(levels, nullptr);
        EXPECT_EQ(levels->begin_child(), levels->end_child());
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
    const unsigned int addresses[3] = {addressOf(rt, texture.begin_image()[0]), 0,
                                       addressOf(rt, texture.begin_image()[2])};
    EXPECT_NE(addresses[0], addresses[2]);

    Bytes bits;
    bits.put<int>(6);
    for (short b : {1, 2, 3, 4, 0, 0})
        bits.put<short>(b);
    Bytes levels;
    levels.put<int>(3);
    for (unsigned int a : addresses)
        levels.put<unsigned int>(a);
    const std::vector<uint8_t> file = rt.bytes();
    EXPECT_NE(std::search(file.begin(), file.end(), bits.data.begin(), bits.data.end()), file.end());
    EXPECT_NE(std::search(file.begin(), file.end(), levels.data.begin(), levels.data.end()), file.end());

    akDebugObject* object = rt.read();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    const Rows all = ownRows(object);
    auto begin = std::find(all.begin(), all.end(), "Bits Per Component:  = ");
    ASSERT_GE(all.end() - begin, 7);
    EXPECT_EQ(Rows(begin, begin + 7), (Rows{"Bits Per Component:  = ",
                                            "Bits Per Component/0: unsigned char = 1",
                                            "Bits Per Component/1: unsigned char = 2",
                                            "Bits Per Component/2: unsigned char = 3",
                                            "Bits Per Component/3: unsigned char = 4",
                                            "Bits Per Component/4: unsigned char = 0",
                                            "Bits Per Component/5: unsigned char = 0"}));
    begin = std::find(all.begin(), all.end(), "Image Levels:  = ");
    ASSERT_GE(all.end() - begin, 4);
    EXPECT_EQ(Rows(begin, begin + 4), (Rows{"Image Levels:  = ",
                                            "Image Levels/0: unsigned char * = " + hex(addresses[0]),
                                            "Image Levels/1: unsigned char * = 0x0",
                                            "Image Levels/2: unsigned char * = " + hex(addresses[2])}));
    for (int i = 0; i < 3; ++i) {
        const akDebugAttributeBase* level = schemasupport::at(object, "Image Levels/" + std::to_string(i));
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->begin_child(), level->end_child());  // no pixel data
    }
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

    Bytes repeat;
    repeat.put<int>(typeIndex(rt, "olTexture")).put<int>(akDebug::OBJECT_REPEAT);
    repeat.put<unsigned int>(addressOf(rt, static_cast<const emClassObject*>(&texture)));
    EXPECT_TRUE(endsWith(rt.bytes(), repeat.data));

    akDebugObject* full = rt.read();
    akDebugObject* copy = rt.read();
    ASSERT_NE(full, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(full, copy);
    EXPECT_EQ(schemasupport::rows(copy), schemasupport::rows(full));
    EXPECT_EQ(schemasupport::valueOf(copy), schemasupport::valueOf(full));
    EXPECT_TRUE(rt.consumedAll());
}

// A mapping from a damaged file never names more than the four dimensions and wraps there are.
TEST_F(TelrObjects, DamagedMappingNamesAtMostFourDimensions)
{
    olTexture texture;
    plainTexture(texture, olTexture::MAPPING_3D);
    PatchedTrip rt;
    rt.write(&texture);
    rt.finish();
    std::vector<uint8_t> file = rt.bytes();
    const std::vector<uint8_t> own = plainTextureBytes(rt, 2, 3);
    ASSERT_TRUE(endsWith(file, own));
    const int hugeMapping = 1000;
    std::memcpy(&file[file.size() - own.size()], &hugeMapping, 4);
    rt.reread(file);
    akDebugObject* object = rt.read();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(schemasupport::valueOf(schemasupport::at(object, "Mapping")), "Undefined Enum");
    int dimensions = 0;
    int wraps = 0;
    for (const std::string& row : ownRows(object)) {
        dimensions += row.rfind("Dimension, ", 0) == 0;
        wraps += row.rfind("Wrap, ", 0) == 0;
    }
    EXPECT_EQ(dimensions, 4);
    EXPECT_EQ(wraps, 4);
}

// A component count larger than the rest of the file fails the stream instead of reading on.
TEST_F(TelrObjects, DamagedComponentCountFailsTheStream)
{
    olTexture texture;
    plainTexture(texture, olTexture::MAPPING_3D);
    PatchedTrip rt;
    rt.write(&texture);
    rt.finish();
    std::vector<uint8_t> file = rt.bytes();
    const std::vector<uint8_t> own = plainTextureBytes(rt, 2, 3);
    ASSERT_TRUE(endsWith(file, own));
    const int hugeCount = 0x40000000;
    std::memcpy(&file[file.size() - own.size() + 12], &hugeCount, 4);
    testsupport::clear();
    rt.reread(file);
    akDebugObject* object = rt.read();
    EXPECT_TRUE(rt.hasReadFailed());
    EXPECT_TRUE(testsupport::printed(emNotify::LEVEL_FAIL, "akDebug::readCount - count exceeds the rest of the file"));
    ASSERT_NE(object, nullptr);
    const akDebugAttributeBase* bits = schemasupport::at(object, "Bits Per Component");
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits->begin_child(), bits->end_child());
}
