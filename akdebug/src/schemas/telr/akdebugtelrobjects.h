// Schemas of the render state objects that elements point to: textures, texture blends, texture
// coordinate generators, materials, lights, light models, fog, shaders and light-point
// appearances and animations.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelrdraw.h"
#include "akdebugtelu.h"

#include <telr.h>

#include <algorithm>
#include <type_traits>

namespace akdebugschema {

// ---- Irregular blocks of the state objects ----

// A value stored in the file as `Stored` and shown as akDebugAttribute<Shown>.
template <class Stored, class Shown, class Io, class Get>
void valueStoredAs(Io& io, const char* name, Get get, unsigned int flags = NONE)
{
    if constexpr (Io::reading)
        io.add(new akDebugAttribute<Shown>(name, static_cast<Shown>(io.stream()->template read<Stored>())), flags);
    else
        io.stream()->template write<Stored>(static_cast<Stored>(get()));
}

// The first n of four values that one getter fills, stored as one array (enumerations as ints)
// and named from `names`. n is clamped to 0..4, the same on both sides, so a damaged count in a
// file never reads past the four names and the file stays aligned with what the writer wrote.
template <class Io, class Fill>
void leadingValues(Io& io, const char* const (&names)[4], int n, Fill fill)
{
    using T = FillType<Fill>;
    using Stored = std::conditional_t<std::is_enum<T>::value, int, T>;
    n = std::clamp(n, 0, 4);
    Stored stored[4] = {};
    if constexpr (Io::reading) {
        if (n > 0)
            io.stream()->read(stored, static_cast<unsigned int>(n));
        for (int i = 0; i < n; ++i) {
            if constexpr (std::is_enum<T>::value)
                io.add(new akDebugEnum<T>(names[i], stored[i]));
            else
                io.add(new akDebugAttribute<T>(names[i], stored[i]));
        }
    } else {
        T v[4] = {};
        fill(v);
        for (int i = 0; i < 4; ++i)
            stored[i] = static_cast<Stored>(v[i]);
        if (n > 0)
            io.stream()->write(stored, static_cast<unsigned int>(n));
    }
}

// The address of host data as a file address, read back as an array of T without elements.
template <class T, class Io, class Get>
void arrayAddress(Io& io, const char* name, Get get)
{
    if constexpr (Io::reading)
        io.add(new akDebugArray<T>(name, io.stream()->template read<unsigned int>()));
    else
        io.stream()->template write<unsigned int>(io.stream()->getAddress(get()));
}

// ---- Schemas ----

struct OlTexture
{
    using Host = olTexture;
    using Base = EmBase;

    // How many dimensions and wraps a mapping stores: Mapping + 1, kept within the four there are.
    static int valuesPerMapping(int mapping) { return mapping < 0 ? 0 : std::min(mapping, 3) + 1; }

    // Bit count of component i: byte i of the pixel type; components past the fourth have none.
    static int bitsPerComponent(const Host* h, int i)
    {
        return i >= 0 && i < 4 ? static_cast<int>((h->getPixelType() >> (8 * i)) & 0xFFu) : 0;
    }

    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        static const char* const dimensions[4] = {"Dimension, S", "Dimension, T", "Dimension, R", "Dimension, Q"};
        static const char* const wraps[4] = {"Wrap, S", "Wrap, T", "Wrap, R", "Wrap, Q"};

        const int mapping = io.enumerationKept("Mapping", [&] { return h->getMapping(); });
        io.enumeration("Format", [&] { return h->getFormat(); });
        io.enumeration("Type", [&] { return h->getType(); });
        io.list(
            "Bits Per Component", 2, [&] { return h->getNumComponents(); },
            [&](int i) {
                valueStoredAs<short, unsigned char>(io, io.index(i), [&] { return bitsPerComponent(h, i); });
            });
        io.value("Texel Size", [&] { return h->getTexelSize(); });
        leadingValues(io, dimensions, valuesPerMapping(mapping),
                      [&](int* v) { h->getDimensions(&v[0], &v[1], &v[2], &v[3]); });
        leadingValues(io, wraps, valuesPerMapping(mapping),
                      [&](olTexture::Wrap* v) { h->getWrap(&v[0], &v[1], &v[2], &v[3]); });
        io.enumerations({"Minification Filter, Base", "Minification Filter, Mipmap"},
                        [&](olTexture::Filter* v) { h->getMinFilter(&v[0], &v[1]); });
        io.enumeration("Magnification Filter", [&] { return h->getMagFilter(); });
        io.list(
            "Image Levels", 4, [&] { return h->size_image(); },
            [&](int i) { arrayAddress<unsigned char>(io, io.index(i), [&] { return *(h->begin_image() + i); }); });
        io.value("Border Enable", [&] { return h->getBorderEnable(); });
        io.vector(RGBA, "Border Color", [&](float* v) { h->getBorderColor(&v[0], &v[1], &v[2], &v[3]); });
        io.value("LOD Bias", [&] { return h->getLODBias(); });
        io.value("Subloadable Enable", [&] { return h->getSubloadableEnable(); });
        io.object("Pixel Buffer", Schema<OlWindowPixelBuffer>::def, [&] { return h->getPixelBuffer(); });
        io.value(
            "Transparent", [&] { return h->isTransparent(); }, ADVANCED);
        io.value(
            "Compressed", [&] { return h->isCompressed(); }, ADVANCED);
    }
};

struct OlTextureBlend
{
    using Host = olTextureBlend;
    using Base = EmBase;
    using GetArgument = olTextureBlend::Argument (olTextureBlend::*)(int, olMultiTexture::Stage*) const;

    // Arguments 0 to 2, each a sub-group with the argument and the texture stage it reads.
    template <class Io>
    static void arguments(Io& io, const char* name, const Host* h, GetArgument get)
    {
        io.group(name, [&] {
            for (int i = 0; i < 3; ++i)
                io.group(io.index(i), [&] {
                    // The argument's getter fills the stage, which is stored right after it.
                    olMultiTexture::Stage stage = olMultiTexture::STAGE_0;
                    io.enumeration("Argument", [&] { return (h->*get)(i, &stage); });
                    io.enumeration("Texture Stage", [&] { return stage; });
                });
        });
    }

    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Combine Enable", [&] { return h->getCombineEnable(); });
        io.enumeration("Color Mode", [&] { return h->getColorMode(); });
        arguments(io, "Color Arguments", h, &olTextureBlend::getColorArgument);
        io.value("Color Scale", [&] { return h->getColorScale(); });
        io.enumeration("Alpha Mode", [&] { return h->getAlphaMode(); });
        arguments(io, "Alpha Arguments", h, &olTextureBlend::getAlphaArgument);
        io.value("Alpha Scale", [&] { return h->getAlphaScale(); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlTextureCoordGen
{
    using Host = olTextureCoordGen;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        // Dimensions 2 and 3 are shown as Q and R, in this order.
        static const char* const modes[4] = {"Mode, S", "Mode, T", "Mode, Q", "Mode, R"};
        static const char* const planes[4] = {"Plane, S", "Plane, T", "Plane, Q", "Plane, R"};
        for (int d = 0; d < 4; ++d) {
            io.enumeration(modes[d], [&] { return h->getMode(d); });
            io.plane(planes[d], [&] { return h->getPlane(d); });
        }
    }
};

struct OlMaterial
{
    using Host = olMaterial;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        static const char* const colors[4] = {"Color, Ambient", "Color, Diffuse", "Color, Specular", "Color, Emissive"};
        for (int c = 0; c < 4; ++c)
            io.vector(RGBA, colors[c], [&](float* v) { h->getColor(c, &v[0], &v[1], &v[2], &v[3]); });
        io.value("Specular Exponent", [&] { return h->getSpecularExponent(); });
        io.value(
            "Transparent", [&] { return h->isTransparent(); }, ADVANCED);
    }
};

struct OlLight
{
    using Host = olLight;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        static const char* const colors[3] = {"Color, Ambient", "Color, Diffuse", "Color, Specular"};
        io.enumeration("Type", [&] { return h->getType(); });
        io.value("Range", [&] { return h->getRange(); });
        io.vector(XYZ, "Position", [&](float* v) { h->getPosition(&v[0], &v[1], &v[2]); });
        io.vector(XYZ, "Direction", [&](float* v) { h->getDirection(&v[0], &v[1], &v[2]); });
        io.values({"Attenuation, Constant", "Attenuation, Linear", "Attenuation, Quadratic"},
                  [&](float* v) { h->getAttenuation(&v[0], &v[1], &v[2]); });
        io.values({"Spot Cone, Inner", "Spot Cone, Outer", "Spot Cone, Falloff"},
                  [&](float* v) { h->getSpotCone(&v[0], &v[1], &v[2]); });
        for (int c = 0; c < 3; ++c)
            io.vector(RGBA, colors[c], [&](float* v) { h->getColor(c, &v[0], &v[1], &v[2], &v[3]); });
        io.enumeration(
            "State", [&] { return h->getState(); }, ADVANCED);
    }
};

struct OlLightModel
{
    using Host = olLightModel;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Local Viewer Enable", [&] { return h->getLocalViewerEnable(); });
        io.value("Two Sided Lighting Enable", [&] { return h->getTwoSidedLightingEnable(); });
        io.vector(RGBA, "Ambient Color", [&](float* v) { h->getAmbientColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlFog
{
    using Host = olFog;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Type", [&] { return h->getType(); });
        io.value("Density", [&] { return h->getDensity(); });
        io.values({"Range, Onset", "Range, Opaque"}, [&](float* v) { h->getRange(&v[0], &v[1]); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlShader
{
    using Host = olShader;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Apply Mode", [&] { return h->getApplyMode(); });
        io.value(
            "Loaded", [&] { return h->isLoaded(); }, ADVANCED);
    }
};

struct OlLightPointAppearance
{
    using Host = olLightPointAppearance;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Directionality", [&] { return h->getDirectionality(); });
        io.value("Diameter", [&] { return h->getDiameter(); });
        io.value("Range", [&] { return h->getRange(); });
        io.value("Fade Range Ratio", [&] { return h->getFadeRangeRatio(); });
        io.values({"Fade Time, In", "Fade Time, Out"}, [&](double* v) { h->getFadeTime(&v[0], &v[1]); });
        io.values({"Visibility Cone, Horizontal", "Visibility Cone, Vertical"},
                  [&](float* v) { h->getVisibilityCone(&v[0], &v[1]); });
        io.enumeration("Falloff", [&] { return h->getFalloff(); });
        io.value("Fog Scale", [&] { return h->getFogScale(); });
        io.value("LOD Range Ratio", [&] { return h->getLODRangeRatio(); });
        io.value("LOD Scale", [&] { return h->getLODScale(); });
        io.values({"Size Limit, Minimum", "Size Limit, Maximum"}, [&](float* v) { h->getSizeLimits(&v[0], &v[1]); });
        io.value("Size Threshold", [&] { return h->getSizeThreshold(); });
        io.value(
            "Fade Range", [&] { return h->getFadeRange(); }, ADVANCED);
        io.value(
            "Fade Scale", [&] { return h->getFadeScale(); }, ADVANCED);
        io.values(
            {"Visibility Factor, Horizontal", "Visibility Factor, Vertical"},
            [&](float* v) { h->getVisibilityFactors(&v[0], &v[1]); }, ADVANCED);
        io.enumeration(
            "Shape", [&] { return h->getShape(); }, ADVANCED);
        io.value(
            "LOD Range", [&] { return h->getLODRange(); }, ADVANCED);
        io.value(
            "LOD Size", [&] { return h->getLODSize(); }, ADVANCED);
    }
};

struct OlLightPointAnimation
{
    using Host = olLightPointAnimation;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Type", [&] { return h->getType(); });
        io.value("Rate", [&] { return h->getRate(); });
        io.vector(XYZ, "Rotation Axis", [&](float* v) { h->getRotationAxis(&v[0], &v[1], &v[2]); });
        // Per element: an int state, a double time and 4 floats of colour.
        io.list(
            "Elements", 28, [&] { return h->getNumElements(); },
            [&](int i) {
                io.group(io.index(i), [&] {
                    io.enumeration("State", [&] {
                        olLightPointAnimation::State state = olLightPointAnimation::STATE_OFF;
                        h->getElementState(i, &state);
                        return state;
                    });
                    io.value("Time", [&] { return h->getElementTime(i); });
                    io.vector(RGBA, "Color", [&](float* v) { h->getElementColor(i, &v[0], &v[1], &v[2], &v[3]); });
                });
            });
    }
};

}  // namespace akdebugschema
