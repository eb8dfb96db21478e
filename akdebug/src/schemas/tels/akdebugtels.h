// Schemas of the scene graph: nodes, filters, light-point controls, cull records, channel bins and cull record
// factories.
#pragma once

#include "akdebugenums.h"
#include "akdebugregistration.h"
#include "akdebugtelrdraw.h"

#include <tels.h>

#include <type_traits>

// A switch's active mask: "SELECT_NONE" for -2, "SELECT_ALL" for -1, else the number.
class AKDEBUG_API akDebugActiveMask : public akDebugAttribute<int>
{
public:
    akDebugActiveMask(const char* name, int value) : akDebugAttribute<int>(name, value) {}
    int getValueString(char* buffer) const override;
    AKDEBUG_LEAF_COPY(akDebugActiveMask)
};

// An animation's loop count: "LOOP_INFINITE" for 65535, else the number.
class AKDEBUG_API akDebugNumberOfLoops : public akDebugAttribute<int>
{
public:
    akDebugNumberOfLoops(const char* name, int value) : akDebugAttribute<int>(name, value) {}
    int getValueString(char* buffer) const override;
    AKDEBUG_LEAF_COPY(akDebugNumberOfLoops)
};

// An animation's last child duration: "LAST_CHILD_DURATION_UNSPECIFIED" for -1.0, else the number.
class AKDEBUG_API akDebugLastChildDuration : public akDebugAttribute<double>
{
public:
    akDebugLastChildDuration(const char* name, double value) : akDebugAttribute<double>(name, value) {}
    int getValueString(char* buffer) const override;
    AKDEBUG_LEAF_COPY(akDebugLastChildDuration)
};

namespace akdebugschema {

// ---- blocks of the scene-graph schemas ----

// Names of the cull record option bits, bit 0 first.
inline constexpr const char* s_cullRecordOptionNames[8] = {"OPTION_SET_MATRIX",
                                                           "OPTION_SET_STATE",
                                                           "OPTION_TRANSPARENT",
                                                           "OPTION_NORMALIZE",
                                                           "OPTION_INVERT_MULTISAMPLE_COVERAGE",
                                                           "OPTION_PARTITION",
                                                           "OPTION_EMISSIVE",
                                                           "OPTION_BLENDED"};

// Sub-groups of a DOF node's constraints, in component order.
inline constexpr const char* s_dofConstraintNames[kiDOF::COMPONENT_COUNT] = {
    "Translate X", "Translate Y", "Translate Z", "Rotate H", "Rotate P", "Rotate R", "Scale X", "Scale Y", "Scale Z"};

// ---- cull records, channel bins, cull record factories ----

struct KiCullRecord
{
    using Host = kiCullRecord;
    using Base = void;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.bitmask(
            "Options", [&] { return h->options; }, BitNames{s_cullRecordOptionNames, 8});
        io.value("Channel Id", [&] { return h->channelId; });
        io.value("Decal Offset", [&] { return h->decalOffset; });
        io.value("Multi-Sample Coverage", [&] { return h->multiSampleCoverage; });
        io.value("Depth", [&] { return h->depth; });
        io.object("State", [&] { return h->state; });
        io.object("Primary Sort Object", [&] { return h->primarySortObject; });
        io.object("Secondary Sort Object", [&] { return h->secondarySortObject; });
        io.object("Model View Transform Element", [&] { return h->modelViewTransformElement; });
        io.object("Cull Record Factory", [&] { return h->cullRecordFactory; });
    }
};

struct KiChannelBin : NoFields
{
    using Host = kiChannelBin;
    using Base = EmBase;
};

struct KiCullRecordFactory : NoFields
{
    using Host = kiCullRecordFactory;
    using Base = EmBase;
};

// ---- light-point controls, filters, nodes ----

struct KiLightPointControl
{
    using Host = kiLightPoint::Control;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->getEnable(); });
        io.enumeration("Animation State", [&] { return h->getAnimationState(); });
        io.value("Intensity", [&] { return h->getIntensity(); });
        io.value("Enable Time", [&] { return h->getEnableTime(); });
    }
};

struct KiLODFilterBase : NoFields
{
    using Host = kiLODFilterBase;
    using Base = EmBase;
};

// Carries the traversal: children are full references, parents address-only ones.
struct KiNode
{
    using Host = kiNode;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.list(
            "Parents", OBJECT_BYTES, [&] { return h->size_parent(); },
            [&](int i) { io.reference(io.index(i), [&] { return h->begin_parent()[i]; }); });
        io.bitmask("Cull Mask", [&] { return h->getCullMask(); });
        io.bitmask("Render Mask", [&] { return h->getRenderMask(); });
        io.bitmask("Isect Mask", [&] { return h->getIsectMask(); });
        io.value("Branch Update Enable", [&] { return h->getBranchUpdateEnable(); });
        io.value("Number Of Update Requests", [&] { return h->getNumUpdateRequests(); });
        io.value("Number Of Graph Changed Requests", [&] { return h->getNumGraphChangedRequests(); });
        io.value("Static Bounds Enable", [&] { return h->getStaticBoundsEnable(); });
        io.sphere("Bounds", [&] { return h->getBounds(); });
        io.list(
            "Children", OBJECT_BYTES, [&] { return h->size_child(); },
            [&](int i) { io.object(io.index(i), [&] { return h->begin_child()[i]; }); });
        io.value(
            "Total Number Of Update Requests", [&] { return h->getTotalNumUpdateRequests(); }, ADVANCED);
        io.value(
            "Total Number Of Graph Changed Requests", [&] { return h->getTotalNumGraphChangedRequests(); }, ADVANCED);
    }
};

struct KiRenderStrategyFrameGeometry : NoFields
{
    using Host = kiRenderStrategyFrameGeometry;
    using Base = OlRenderStrategy;
};

struct KiGeometryBaseCullRecord
{
    using Host = kiGeometryBase::CullRecord;
    using Base = KiCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Geometry", [&] { return h->geometry; });
    }
};

struct KiLightCullRecord
{
    using Host = kiLight::CullRecord;
    using Base = KiCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Light", [&] { return h->light; });
    }
};

// Builds on the geometry cull record's fields (its registered base is kiCullRecord). The light
// point rows go into "Light Point Data"; the four arrays are in the file only when there are
// light points.
struct KiLightPointCullRecord
{
    using Host = kiLightPoint::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.group("Light Point Data", [&] {
            io.value("Animate", [&] { return h->animate; });
            io.value("Enable", [&] { return h->enable; });
            io.value("Render", [&] { return h->render; });
            io.value("Disable LODs", [&] { return h->disableLODs; });
            const int n = io.valueKept("Number of Light Points", [&] { return h->numLightPoints; });
            io.value("Time", [&] { return h->time; });
            io.value("Enable Time", [&] { return h->enableTime; });
            io.value("Intensity", [&] { return h->intensity; });
            io.value("Near Pixel Distance", [&] { return h->nearPixelDistance; });
            // The arrays are in the file only when there are light points; the vertices have a
            // count of their own.
            arrayElements<akDebugAttribute<unsigned short>>(io, "Indices", n, [&] { return h->indices; });
            arrayElements<akDebugAttribute<float>>(io, "Sizes", n, [&] { return h->sizes; });
            arrayElements<akDebugRGBA>(io, "Colors", n, [&] { return h->colors; });
            const int m = n > 0 ? io.counted(elementBytes<emVec3<float>>(), [&] { return h->vertices ? n : 0; }) : 0;
            arrayElements<akDebugXYZ<float>>(io, "Vertices", m, [&] { return h->vertices; });
            io.matrix("View Matrix", [&] { return h->viewMatrix; });
            io.matrix("Model Matrix", [&] { return h->modelMatrix; });
            io.object("Channel", [&] { return h->channel; });
            io.object("Fog", [&] { return h->fog; });
        });
        io.object("Asynchronous Channel Bin", [&] { return h->asynchronousChannelBin; });
    }
};

struct KiLODFilter
{
    using Host = kiLODFilter;
    using Base = KiLODFilterBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Visibility Range Scale", [&] { return h->getVisibilityRangeScale(); });
        io.value("Visibility Stress Scale", [&] { return h->getVisibilityStressScale(); });
        io.value("Transition Range Scale", [&] { return h->getTransitionRangeScale(); });
        io.value("Transition Stress Scale", [&] { return h->getTransitionStressScale(); });
    }
};

struct KiLODFilterManual
{
    using Host = kiLODFilterManual;
    using Base = KiLODFilterBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Child", [&] { return h->getChild(); });
    }
};

struct KiAnimation
{
    using Host = kiAnimation;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Mode", [&] { return h->getMode(); });
        io.enumeration("Direction", [&] { return h->getDirection(); });
        io.enumeration("Command", [&] { return h->getCommand(); });
        // The duration, then whether it is per child; the flag names the attribute.
        akDebug* stream = io.stream();
        if constexpr (Io::reading) {
            double duration = stream->read<double>();
            bool perChild = stream->read<bool>();
            io.add(new akDebugAttribute<double>(perChild ? "Per Child Duration" : "Overall Duration", duration));
        } else {
            bool perChild = false;
            double duration = h->getDuration(&perChild);
            stream->write(duration);
            stream->write(perChild);
        }
        io.value(As<akDebugNumberOfLoops>(), "Number of Loops", [&] { return h->getNumLoops(); });
        io.value(As<akDebugLastChildDuration>(), "Last Child Duration", [&] { return h->getLastChildDuration(); });
        io.value(
            "Current Child", [&] { return h->getCurrentChild(); }, ADVANCED);
    }
};

struct KiDecal
{
    using Host = kiDecal;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Offset", [&] { return h->getOffset(); });
    }
};

struct KiDOF
{
    using Host = kiDOF;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(XYZ, "Translate", [&](double* v) { h->getTranslate(&v[0], &v[1], &v[2]); });
        io.vector(HPR, "Rotate", [&](double* v) { h->getRotate(&v[0], &v[1], &v[2]); });
        io.vector(XYZ, "Scale", [&](double* v) { h->getScale(&v[0], &v[1], &v[2]); });
        io.group("Constraints", [&] {
            for (int c = 0; c < kiDOF::COMPONENT_COUNT; ++c) {
                auto constraint = [&] { return h->getConstraint(static_cast<kiDOF::Component>(c)); };
                io.group(s_dofConstraintNames[c], [&] {
                    io.value("Enable", [&] { return constraint().enable; });
                    io.value("Minimum", [&] { return constraint().minimum; });
                    io.value("Maximum", [&] { return constraint().maximum; });
                });
            }
        });
        io.matrix("Local Origin", [&] { return h->getLocalOrigin(); });
        io.matrix("Affine Matrix", [&] { return h->getMatrixAffine(); });
    }
};

// Every row is per representation; each representation's validation messages become error marks
// of the kiGeometryBase object.
struct KiGeometryBase
{
    using Host = kiGeometryBase;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.representations([&](int i) {
            io.value("Channel Bin Id", [&] { return h->getChannelBinId(i); });
            io.value("Auxiliary Channel Bin Id", [&] { return h->getAuxChannelBinId(i); });
            io.object("Geometry", [&] { return h->getGeometryBase(i); });
            io.object("State", [&] { return h->getState(i); });
            io.object("Cull Record Factory", [&] { return h->getCullRecordFactoryBase(i); });
            io.validation([&](Messages& messages) { h->validate(i, 4, messages); });
        });
    }
};

struct KiLight
{
    using Host = kiLight;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->getEnable(); });
        io.representations([&](int i) {
            io.value("Channel Bin Id", [&] { return h->getChannelBinId(i); });
            io.object("Light", [&] { return h->getLight(i); });
            io.object("Cull Record Factory", [&] { return h->getCullRecordFactory(i); });
        });
    }
};

struct KiLOD
{
    using Host = kiLOD;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(XYZ, "Center", [&](double* v) { h->getCenter(&v[0], &v[1], &v[2]); });
        io.list(
            "Ranges", 16, [&] { return h->size_range(); },
            [&](int i) {
                io.group(io.index(i), [&] {
                    io.value("Visibility", [&] { return h->begin_range()[i].first; });
                    io.value("Transition", [&] { return h->begin_range()[i].second; });
                });
            });
        io.object("LOD Filter", [&] { return h->getLODFilter(); });
    }
};

// The masks are groups of the object itself: "Mask 0", "Mask 1", ...
struct KiSwitch
{
    using Host = kiSwitch;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value(As<akDebugActiveMask>(), "Active Mask", [&] { return h->getActiveMask(); });
        io.count(
            8, [&] { return h->size_mask(); },
            [&](int i) {
                auto mask = [&]() -> const kiSwitch::Mask& { return h->begin_mask()[i]; };
                io.group(io.name("Mask %d", i), [&] {
                    io.string("Name", [&] { return mask().name.c_str(); });
                    io.count(
                        4, [&] { return mask().children.size(); },
                        [&](int j) { io.value("Child", [&] { return mask().children[j]; }); });
                });
            });
    }
};

struct KiTransform
{
    using Host = kiTransform;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(XYZ, "Translate", [&](double* v) { h->getTranslate(&v[0], &v[1], &v[2]); });
        io.vector(HPR, "Rotate", [&](double* v) { h->getRotate(&v[0], &v[1], &v[2]); });
        io.vector(XYZ, "Scale", [&](double* v) { h->getScale(&v[0], &v[1], &v[2]); });
        io.value("Static Enable", [&] { return h->getStaticEnable(); });
        io.matrix("Affine Matrix", [&] { return h->getMatrixAffine(); });
    }
};

struct KiGeometry : NoFields
{
    using Host = kiGeometry;
    using Base = KiGeometryBase;
};

struct KiLightPoint
{
    using Host = kiLightPoint;
    using Base = KiGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Control", [&] { return h->getControl(); });
    }
};

struct KiString : NoFields
{
    using Host = kiString;
    using Base = KiGeometryBase;
};

struct KiBillboard
{
    using Host = kiBillboard;
    using Base = KiTransform;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Type", [&] { return h->getType(); });
        io.enumeration("Orientation", [&] { return h->getOrientation(); });
        io.vector(XYZ, "Axis", [&](double* v) { h->getAxis(&v[0], &v[1], &v[2]); });
    }
};

// The type definitions of the scene graph.
extern Registration sceneGraphTypes;

}  // namespace akdebugschema
