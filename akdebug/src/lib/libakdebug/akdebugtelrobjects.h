// Schemas of the render state objects that elements point to.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelu.h"

#include <telr.h>

namespace akdebugschema {

struct OlTexture
{
    using Host = olTexture;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTextureBlend
{
    using Host = olTextureBlend;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlTextureCoordGen
{
    using Host = olTextureCoordGen;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlMaterial
{
    using Host = olMaterial;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLight
{
    using Host = olLight;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightModel
{
    using Host = olLightModel;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFog
{
    using Host = olFog;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlShader
{
    using Host = olShader;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightPointAppearance
{
    using Host = olLightPointAppearance;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightPointAnimation
{
    using Host = olLightPointAnimation;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

}  // namespace akdebugschema
