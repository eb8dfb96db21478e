// Schemas of render state: the state container, the element base and the 25 element kinds.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelu.h"

#include <telr.h>

namespace akdebugschema {

struct OlElement
{
    using Host = olElement;
    using Base = void;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlState
{
    using Host = olState;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlAlphaBlendElement
{
    using Host = olAlphaBlend::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlAlphaTestElement
{
    using Host = olAlphaTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlColorTrackElement
{
    using Host = olColorTrack::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlDecalElement
{
    using Host = olDecal::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlDepthTestElement
{
    using Host = olDepthTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlDepthWriteElement
{
    using Host = olDepthWrite::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFogElement
{
    using Host = olFog::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightElement
{
    using Host = olLight::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightModelElement
{
    using Host = olLightModel::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLineElement
{
    using Host = olLine::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlMaterialElement
{
    using Host = olMaterial::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlMultiSampleElement
{
    using Host = olMultiSample::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlNormalizeElement
{
    using Host = olNormalize::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlPointElement
{
    using Host = olPoint::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlPolygonElement
{
    using Host = olPolygon::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlShadeModelElement
{
    using Host = olShadeModel::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlShaderElementFragment
{
    using Host = olShader::ElementFragment;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlShaderElementVertex
{
    using Host = olShader::ElementVertex;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlStencilTestElement
{
    using Host = olStencilTest::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTextureElement
{
    using Host = olTexture::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTextureBlendElement
{
    using Host = olTextureBlend::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTextureCoordGenElement
{
    using Host = olTextureCoordGen::Element;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTransformElementModelView
{
    using Host = olTransform::ElementModelView;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTransformElementProjection
{
    using Host = olTransform::ElementProjection;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTransformElementTexture
{
    using Host = olTransform::ElementTexture;
    using Base = OlElement;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

// The type definition an element kind is written under: its own, else its nearest registered base.
akDebugTypeDef* findElementTypeDef(olElement::Id id);

// Set while a draw context writes its inherit state; the state passes it to its validation.
extern bool s_writingInheritState;

}  // namespace akdebugschema
