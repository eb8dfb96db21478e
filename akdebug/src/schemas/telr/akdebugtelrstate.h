// Schemas of render state: the state container, the element base and the 25 element kinds.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelu.h"

#include <telr.h>

namespace akdebugschema {

// The type definition an element kind is written under: the nearest class of the kind's class
// chain that has a type definition of its own and that `element` (when given) belongs to, so
// that every element kind writes exactly one record. Falls back to olElement's definition.
akDebugTypeDef* findElementTypeDef(akDebug* stream, olElement::Id id, const olElement* element = nullptr);

// One element record of a state or a draw context. The writer writes the element of the kind
// `id()` (null when unset, `element(id)` gives it) under findElementTypeDef; the reader reads the
// next record, named after its type, into the current group and returns it (null when writing).
template <class Io, class GetId, class GetElement>
akDebugObject* elementRecord(Io& io, GetId id, GetElement element)
{
    if constexpr (Io::reading) {
        return io.readObject(nullptr);
    } else {
        const olElement::Id kind = id();
        const olElement* e = element(kind);
        io.object(nullptr, findElementTypeDef(io.stream(), kind, e),
                  [&] { return static_cast<const emClassObject*>(e); });
        return nullptr;
    }
}

// The texture stages of an element: `stage(i)` declares the fields of stage i, from 0 to 7.
template <class Stage>
void stages(Stage stage)
{
    for (int i = 0; i < OL_NUM_STAGES; ++i)
        stage(i);
}

// Set while a draw context writes its inherit state; the state passes it to its validation. One
// per thread: a recorder on the draw thread and a scene written on another do not share it.
extern thread_local bool s_writingInheritState;

struct OlElement
{
    using Host = olElement;
    using Base = void;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value(
            "Transparent", [&] { return h->isTransparent(); }, ADVANCED);
    }
};

struct OlState
{
    using Host = olState;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        // The names of the elements read, for the tool tip of the element mask (bits 0 to 31).
        const char* names[32] = {};
        int named = 0;
        io.group("Elements", [&] {
            io.count(
                OBJECT_BYTES, [] { return olElement::size_state(); },
                [&](int i) {
                    akDebugObject* e = elementRecord(
                        io, [&] { return olElement::begin_state()[i]; },
                        [&](olElement::Id id) { return h->getElement(id); });
                    if (e && named < 32)
                        names[named++] = e->getName();
                });
        });
        io.value(
            "Transparent", [&] { return h->isTransparent(); }, ADVANCED);
        io.bitmask(
            "Element Mask", [&] { return h->getElementMask(); }, BitNames{names, named}, ADVANCED);
        io.validation([&](Messages& messages) { h->validate(4, messages, s_writingInheritState); });
    }
};

struct OlAlphaBlendElement
{
    using Host = olAlphaBlend::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.enumeration("Source Mode", [&] { return h->sourceMode; });
        io.enumeration("Destination Mode", [&] { return h->destinationMode; });
        io.enumeration("Equation", [&] { return h->equation; });
    }
};

struct OlAlphaTestElement
{
    using Host = olAlphaTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.value("Reference", [&] { return h->reference; });
        io.enumeration("Mode", [&] { return h->mode; });
    }
};

struct OlColorTrackElement
{
    using Host = olColorTrack::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.enumeration("Mode", [&] { return h->mode; });
        io.enumeration("Side", [&] { return h->side; });
    }
};

struct OlDecalElement
{
    using Host = olDecal::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.value("Factor", [&] { return h->factor; });
        io.value("Units", [&] { return h->units; });
    }
};

struct OlDepthTestElement
{
    using Host = olDepthTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.enumeration("Mode", [&] { return h->mode; });
    }
};

struct OlDepthWriteElement
{
    using Host = olDepthWrite::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
    }
};

struct OlFogElement
{
    using Host = olFog::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.object("Fog", [&] { return h->fog; });
    }
};

struct OlLightElement
{
    using Host = olLight::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
    }
};

struct OlLightModelElement
{
    using Host = olLightModel::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Light Model", [&] { return h->lightModel; });
    }
};

struct OlLineElement
{
    using Host = olLine::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable Anti-Alias", [&] { return h->enableAntiAlias; });
        io.value("Enable Pattern", [&] { return h->enablePattern; });
        io.bitmask("Pattern", [&] { return h->pattern; });
        io.value("Repeat", [&] { return h->repeat; });
        io.value("Width", [&] { return h->width; });
    }
};

struct OlMaterialElement
{
    using Host = olMaterial::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Side", [&] { return h->side; });
        io.object("Material", [&] { return h->material; });
    }
};

struct OlMultiSampleElement
{
    using Host = olMultiSample::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.value("Enable Alpha To Coverage", [&] { return h->enableAlphaToCoverage; });
        io.value("Enable Alpha To One", [&] { return h->enableAlphaToOne; });
        io.value("Enable Coverage", [&] { return h->enableCoverage; });
        io.value("Invert", [&] { return h->invert; });
        io.value("Coverage", [&] { return h->coverage; });
    }
};

struct OlNormalizeElement
{
    using Host = olNormalize::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
    }
};

struct OlPointElement
{
    using Host = olPoint::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable Anti-Alias", [&] { return h->enableAntiAlias; });
        io.value("Size", [&] { return h->size; });
    }
};

struct OlPolygonElement
{
    using Host = olPolygon::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable Anti-Alias", [&] { return h->enableAntiAlias; });
        io.value("Enable Cull Face", [&] { return h->enableCullFace; });
        io.enumeration("Cull Face", [&] { return h->cullFace; });
    }
};

struct OlShadeModelElement
{
    using Host = olShadeModel::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Mode", [&] { return h->mode; });
    }
};

struct OlShaderElementFragment
{
    using Host = olShader::ElementFragment;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Fragment Shader", [&] { return h->shader; });
    }
};

struct OlShaderElementVertex
{
    using Host = olShader::ElementVertex;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Vertex Shader", [&] { return h->shader; });
    }
};

struct OlStencilTestElement
{
    using Host = olStencilTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->enable; });
        io.value("Reference", [&] { return h->reference; });
        io.bitmask("Mask", [&] { return h->mask; });
        io.enumeration("Mode", [&] { return h->mode; });
        io.enumeration("Fail", [&] { return h->fail; });
        io.enumeration("Depth Fail", [&] { return h->depthFail; });
        io.enumeration("Depth Pass", [&] { return h->depthPass; });
    }
};

struct OlTextureElement
{
    using Host = olTexture::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        stages([&](int i) {
            io.value(io.name("Enable, Stage %d", i), [&] { return h->enable[i]; });
            io.object(io.name("Texture, Stage %d", i), [&] { return h->texture[i]; });
        });
    }
};

struct OlTextureBlendElement
{
    using Host = olTextureBlend::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        stages([&](int i) { io.object(io.name("Texture Blend, Stage %d", i), [&] { return h->textureBlend[i]; }); });
    }
};

struct OlTextureCoordGenElement
{
    using Host = olTextureCoordGen::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        stages([&](int i) {
            io.value(io.name("Enable S, Stage %d", i), [&] { return h->enableS[i]; });
            io.value(io.name("Enable T, Stage %d", i), [&] { return h->enableT[i]; });
            io.value(io.name("Enable R, Stage %d", i), [&] { return h->enableR[i]; });
            io.value(io.name("Enable Q, Stage %d", i), [&] { return h->enableQ[i]; });
            io.object(io.name("Texture Coordinate Generator, Stage %d", i), [&] { return h->generator[i]; });
        });
    }
};

struct OlTransformElementModelView
{
    using Host = olTransform::ElementModelView;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.matrix("Matrix", [&] { return h->matrix; });
    }
};

struct OlTransformElementProjection
{
    using Host = olTransform::ElementProjection;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.matrix("Matrix", [&] { return h->matrix; });
    }
};

struct OlTransformElementTexture
{
    using Host = olTransform::ElementTexture;
    using Base = OlElement;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        stages([&](int i) { io.matrix(io.name("Matrix, Stage %d", i), [&] { return h->matrix[i]; }); });
    }
};

}  // namespace akdebugschema
