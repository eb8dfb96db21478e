// Schemas of what is drawn and where: draw-function data, geometry, fonts, render strategies, the draw context, the channel and the pixel buffer.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelrstate.h"
#include "akdebugtelu.h"

#include <telr.h>

namespace akdebugschema {

struct OlDrawFuncData
{
    using Host = olDrawFunc::Data;
    using Base = void;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlWindowPixelBuffer
{
    using Host = olWindow::PixelBuffer;
    using Base = void;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlRenderStrategy
{
    using Host = olRenderStrategy;
    using Base = EmMemBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlChannel
{
    using Host = olChannel;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlDrawContext
{
    using Host = olDrawContext;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFont
{
    using Host = olFont;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlGeometryBase
{
    using Host = olGeometryBase;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlRenderStrategyBounds
{
    using Host = olRenderStrategyBounds;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlRenderStrategyHighlight
{
    using Host = olRenderStrategyHighlight;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlRenderStrategyNormals
{
    using Host = olRenderStrategyNormals;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFont2D
{
    using Host = olFont2D;
    using Base = OlFont;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFont3D
{
    using Host = olFont3D;
    using Base = OlFont;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlBox
{
    using Host = olBox;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlFrustum
{
    using Host = olFrustum;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlGeometry
{
    using Host = olGeometry;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlLightPoint
{
    using Host = olLightPoint;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlPlane
{
    using Host = olPlane;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlSphere
{
    using Host = olSphere;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct OlString
{
    using Host = olString;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

// The names of the 256 character codes of a 3D font, built at registration.
void buildCharacterNames();
void freeCharacterNames();
const char* characterName(int code);

int registerRenderTypes();
int removeRenderTypes();

}  // namespace akdebugschema
