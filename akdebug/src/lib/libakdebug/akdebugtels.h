// Schemas of the scene graph: nodes, filters, light-point controls, cull records, channel bins and cull record factories.
#pragma once

#include "akdebugenums.h"
#include "akdebugtelrdraw.h"

#include <tels.h>

namespace akdebugschema {

struct KiCullRecord
{
    using Host = kiCullRecord;
    using Base = void;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiChannelBin
{
    using Host = kiChannelBin;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiCullRecordFactory
{
    using Host = kiCullRecordFactory;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLightPointControl
{
    using Host = kiLightPoint::Control;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLODFilterBase
{
    using Host = kiLODFilterBase;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiNode
{
    using Host = kiNode;
    using Base = EmBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiRenderStrategyFrameGeometry
{
    using Host = kiRenderStrategyFrameGeometry;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiGeometryBaseCullRecord
{
    using Host = kiGeometryBase::CullRecord;
    using Base = KiCullRecord;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLightCullRecord
{
    using Host = kiLight::CullRecord;
    using Base = KiCullRecord;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLightPointCullRecord
{
    using Host = kiLightPoint::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLODFilter
{
    using Host = kiLODFilter;
    using Base = KiLODFilterBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLODFilterManual
{
    using Host = kiLODFilterManual;
    using Base = KiLODFilterBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiAnimation
{
    using Host = kiAnimation;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiDecal
{
    using Host = kiDecal;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiDOF
{
    using Host = kiDOF;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiGeometryBase
{
    using Host = kiGeometryBase;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLight
{
    using Host = kiLight;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLOD
{
    using Host = kiLOD;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiSwitch
{
    using Host = kiSwitch;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiTransform
{
    using Host = kiTransform;
    using Base = KiNode;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiGeometry
{
    using Host = kiGeometry;
    using Base = KiGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiLightPoint
{
    using Host = kiLightPoint;
    using Base = KiGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiString
{
    using Host = kiString;
    using Base = KiGeometryBase;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

struct KiBillboard
{
    using Host = kiBillboard;
    using Base = KiTransform;
    template <class Io>
    static void fields(Io&, const Host*)
    {
    }
};

int registerSceneGraphTypes();
int removeSceneGraphTypes();

}  // namespace akdebugschema
