// Schemas of the application library: geometry containers, pageable geometry, positionable
// objects and their strategies, intersectors, coordinate systems and converters, and the
// application's nodes.
#pragma once

#include "akdebugregistration.h"
#include "akdebugtels.h"

#include <akapp.h>

#include <algorithm>

// An object's manual level-of-detail child: "MANUAL_LOD_OFF" for -1, else the number.
class AKDEBUG_API akDebugManualChild : public akDebugAttribute<int>
{
public:
    akDebugManualChild(const char* name, int value) : akDebugAttribute<int>(name, value) {}
    int getValueString(char* buffer) const override;
    AKDEBUG_LEAF_COPY(akDebugManualChild)
};

namespace akdebugschema {

// A host vector's components into a fill function's array.
template <class V, class T>
void copyComponents(const V& vector, T* values)
{
    std::copy_n(vector.data(), V::size, values);
}

// Node, geometry and texture lists are references by address only: their records come from the
// scene traversal and the render states.
struct AkGeometry
{
    using Host = akGeometry;
    using Base = void;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Texture Subload Render", [&] { return h->getTextureSubloadRender(); });
        io.enumeration("Texture Subload Mode", [&] { return h->getTextureSubloadMode(); });
        io.value("Texture Subload Enable", [&] { return h->getTextureSubloadEnable(); });
        io.list(
            "Attributes", OBJECT_BYTES, [&] { return h->size_attribute(); },
            [&](int i) { io.object(io.index(i), [&] { return h->begin_attribute()[i]; }); });
        io.list(
            "Named Nodes", OBJECT_BYTES, [&] { return h->size_named(); },
            [&](int i) { io.reference(io.index(i), [&] { return h->begin_named()[i]; }); });
        io.list(
            "Geometry Nodes", OBJECT_BYTES, [&] { return h->size_geometry(); },
            [&](int i) { io.reference(io.index(i), [&] { return h->begin_geometry()[i]; }); });
        io.list(
            "Textures", OBJECT_BYTES, [&] { return h->size_texture(); },
            [&](int i) { io.reference(io.index(i), [&] { return h->begin_texture()[i]; }); });
    }
};

struct AkPageable : NoFields
{
    using Host = akPageable;
    using Base = void;
};

struct AkPositionable
{
    using Host = akPositionable;
    using Base = void;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Strategy", [&] { return h->getStrategy(); });
        io.value("Strategy Enable", [&] { return h->getStrategyEnable(); });
        io.value("Extrapolation Time", [&] { return h->getExtrapolationTime(); });
        auto state = [&]() -> const akPositionable::StateVector& { return h->getStateVector(); };
        io.group("State Vector", [&] {
            io.vector(XYZ, "Position", [&](double* v) { copyComponents(state().position, v); });
            io.vector(HPR, "Rotation", [&](double* v) { copyComponents(state().rotation, v); });
            io.vector(XYZ, "Positional Velocity", [&](double* v) { copyComponents(state().positionalVelocity, v); });
            io.vector(HPR, "Rotational Velocity", [&](double* v) { copyComponents(state().rotationalVelocity, v); });
            io.vector(XYZ, "Positional Acceleration",
                      [&](double* v) { copyComponents(state().positionalAcceleration, v); });
            io.vector(HPR, "Rotational Acceleration",
                      [&](double* v) { copyComponents(state().rotationalAcceleration, v); });
            io.value("Quaternion Scalar", [&] { return state().quaternionScalar; });
            io.value("Velocity Quaternion Scalar", [&] { return state().velocityQuaternionScalar; });
            io.value("Acceleration Quaternion Scalar", [&] { return state().accelerationQuaternionScalar; });
        });
        io.object("Coordinate Converter", [&] { return h->getPositionCoordConverter(); });
    }
};

struct AkCoordConverter
{
    using Host = akCoordConverter;
    using Base = EmMemBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Resolved Ellipsoid", [&] { return h->getResolvedEllipsoid(); });
        io.object("Resolved Projection", [&] { return h->getResolvedProjection(); });
        io.object("Coordinate System", [&] { return h->getCoordSys(); });
        io.object("Geo-Reference", [&] { return h->getGeoRef(); });
        io.enumeration("Root", [&] { return h->getRoot(); });
        io.value("Quaternion Enable", [&] { return h->getQuaternionEnable(); });
    }
};

struct AkCoordConverterGeoRef
{
    using Host = akCoordConverter::GeoRef;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Ellipsoid", [&] { return h->getEllipsoid(); });
        io.object("Projection", [&] { return h->getProjection(); });
        io.enumeration("Type", [&] { return h->getType(); });
    }
};

struct AkCoordSys
{
    using Host = akCoordSys;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Type", [&] { return h->getType(); });
        io.object("Ellipsoid", [&] { return h->getEllipsoid(); });
        io.object("Projection", [&] { return h->getProjection(); });
        io.enumeration("Linear Units", [&] { return h->getLinearUnits(); });
        io.enumeration("Angular Units", [&] { return h->getAngularUnits(); });
    }
};

struct AkCoordSysEllipsoid
{
    using Host = akCoordSys::Ellipsoid;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(XYZ, "Datum Shift", [&](double* v) {
            v[0] = h->getDatumShiftX();
            v[1] = h->getDatumShiftY();
            v[2] = h->getDatumShiftZ();
        });
        io.value("Semi-Major Axis", [&] { return h->getSemiMajorAxis(); });
        io.value("Semi-Minor Axis", [&] { return h->getSemiMinorAxis(); });
        io.value("Eccentricity", [&] { return h->getEccentricity(); });
        io.value("Eccentricity Squared", [&] { return h->getEccentricitySquared(); });
    }
};

struct AkCoordSysProjection
{
    using Host = akCoordSys::Projection;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Ellipsoid", [&] { return h->getEllipsoid(); });
    }
};

struct AkGeometryAttribute : NoFields
{
    using Host = akGeometry::Attribute;
    using Base = EmBase;
};

struct AkIsector : NoFields
{
    using Host = akIsector;
    using Base = EmBase;
    using Second = AkPositionable;
};

struct AkPositionableStrategy
{
    using Host = akPositionable::Strategy;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Next Strategy", [&] { return h->getNextStrategy(); });
    }
};

struct AkDOF : NoFields
{
    using Host = akDOF;
    using Base = KiDOF;
};

struct AkLOD : NoFields
{
    using Host = akLOD;
    using Base = KiLOD;
};

struct AkScene
{
    using Host = akScene;
    using Base = KiNode;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Coordinate Converter", [&] { return h->getCoordConverter(); });
    }
};

struct AkTransform
{
    using Host = akTransform;
    using Base = KiTransform;
    using Second = AkPositionable;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Coordinate Converter", [&] { return h->getCoordConverter(); });
        io.value(
            "Localized", [&] { return h->isLocalized(); }, ADVANCED);
    }
};

struct AkGeometryPageable
{
    using Host = akGeometryPageable;
    using Base = AkGeometry;
    using Second = AkPageable;
    using Data = kiNodeLoader::Data;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        auto loader = [&](const char* name, Data::LoaderOption option) {
            io.value(name, [&] { return h->getLoaderOption(option); });
        };
        io.string("File Name", [&] { return h->getFileName(); });
        loader("Loader Option, Combine Light Points", Data::LOADER_OPTION_COMBINE_LIGHT_POINTS);
        loader("Loader Option, Combine LODs", Data::LOADER_OPTION_COMBINE_LODS);
        loader("Loader Option, Create Animations", Data::LOADER_OPTION_CREATE_ANIMATIONS);
        loader("Loader Option, Ignore DOF Constraints", Data::LOADER_OPTION_IGNORE_DOF_CONSTRAINTS);
        loader("Loader Option, Preserve External Reference Flags",
               Data::LOADER_OPTION_PRESERVE_EXTERNAL_REFERENCE_FLAGS);
        loader("Loader Option, Preserve Generic Names", Data::LOADER_OPTION_PRESERVE_GENERIC_NAMES);
        loader("Loader Option, Preserve Generic Nodes", Data::LOADER_OPTION_PRESERVE_GENERIC_NODES);
        loader("Loader Option, Preserve Quads", Data::LOADER_OPTION_PRESERVE_QUADS);
        loader("Loader Option, All Geometries Lit", Data::LOADER_OPTION_ALL_GEOMETRIES_LIT);
        loader("Loader Option, Use Material Diffuse Color", Data::LOADER_OPTION_USE_MATERIAL_DIFFUSE_COLOR);
        loader("Loader Option, Monochrome", Data::LOADER_OPTION_MONOCHROME);
        loader("Loader Option, Share Light Point Controls", Data::LOADER_OPTION_SHARE_LIGHT_POINT_CONTROLS);
        io.enumeration("Loader Units", [&] { return h->getLoaderUnits(); });
        io.value("Loader Detail Multi-Texture Stage", [&] { return h->getLoaderDetailMultiTextureStage(); });
        io.bitmask("Loader Isector Mask", [&] { return h->getLoaderIsectorMask(); });
        io.object("Loader LOD Filter", [&] { return h->getLoaderLODFilter(); });
        io.object("Loader Palette", [&] { return h->getLoaderPalette(); });
        auto builder = [&](const char* name, Data::BuilderOption option) {
            io.value(name, [&] { return h->getBuilderOption(option); });
        };
        builder("Builder Option, Optimize Geometries", Data::BUILDER_OPTION_OPTIMIZE_GEOMETRIES);
        builder("Builder Option, Collapse Bindings", Data::BUILDER_OPTION_COLLAPSE_BINDINGS);
        builder("Builder Option, Collapse Triangle Strips", Data::BUILDER_OPTION_COLLAPSE_TRIANGLE_STRIPS);
        io.enumeration("Builder Normal Mode", [&] { return h->getBuilderNormalMode(); });
        io.value("Builder Color Tolerance", [&] { return h->getBuilderColorTolerance(); });
        io.value("Builder Normal Tolerance", [&] { return h->getBuilderNormalTolerance(); });
        io.value("Builder Vertex Tolerance", [&] { return h->getBuilderVertexTolerance(); });
        io.value("Geometry Option, Generate Display Lists",
                 [&] { return h->getGeometryOption(Data::GEOMETRY_OPTION_GENERATE_DISPLAY_LISTS); });
        formatAndAttributes(io, "Format", "Persistent Attributes",
                            [&](unsigned int* mask) { return h->getGeometryFormat(mask); });
        auto postLoad = [&](const char* name, akGeometryPageable::PostLoadOption option) {
            io.value(name, [&] { return h->getPostLoadOption(option); });
        };
        postLoad("Post Load Option, Flatten", Host::POST_LOAD_OPTION_FLATTEN);
        postLoad("Post Load Option, Clean", Host::POST_LOAD_OPTION_CLEAN);
        postLoad("Post Load Option, Merge Geometries", Host::POST_LOAD_OPTION_MERGE_GEOMETRIES);
        postLoad("Post Load Option, Collapse Bindings", Host::POST_LOAD_OPTION_COLLAPSE_BINDINGS);
        postLoad("Post Load Option, Collapse Triangle Strips", Host::POST_LOAD_OPTION_COLLAPSE_TRIANGLE_STRIPS);
        postLoad("Post Load Option, Validate", Host::POST_LOAD_OPTION_VALIDATE);
    }
};

struct AkCoordConverterGeoRefMatrix
{
    using Host = akCoordConverter::GeoRefMatrix;
    using Base = AkCoordConverterGeoRef;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.matrix("Matrix", [&] { return h->getMatrix(); });
    }
};

struct AkCoordConverterGeoRefVec3
{
    using Host = akCoordConverter::GeoRefVec3;
    using Base = AkCoordConverterGeoRef;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(LLE, "LLE", [&](double* v) { copyComponents(h->getLLE(), v); });
    }
};

struct AkCoordSysCustomSphere : NoFields
{
    using Host = akCoordSys::CustomSphere;
    using Base = AkCoordSysEllipsoid;
};

struct AkCoordSysDefaultSphere : NoFields
{
    using Host = akCoordSys::DefaultSphere;
    using Base = AkCoordSysEllipsoid;
};

struct AkLight
{
    using Host = akLight;
    using Base = AkTransform;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Type", [&] { return h->getType(); });
        io.value("Enable", [&] { return h->getEnable(); });
        io.values({"Attenuation, Constant", "Attenuation, Linear", "Attenuation, Quadratic"},
                  [&](float* v) { h->getAttenuation(&v[0], &v[1], &v[2]); });
        io.values({"Spot Cone, Inner", "Spot Cone, Outer", "Spot Cone, Falloff"},
                  [&](float* v) { h->getSpotCone(&v[0], &v[1], &v[2]); });
        io.vector(RGBA, "Color, Ambient", [&](float* v) { h->getColor(0, &v[0], &v[1], &v[2], &v[3]); });
        io.vector(RGBA, "Color, Diffuse", [&](float* v) { h->getColor(1, &v[0], &v[1], &v[2], &v[3]); });
        io.vector(RGBA, "Color, Specular", [&](float* v) { h->getColor(2, &v[0], &v[1], &v[2], &v[3]); });
        io.value("Render Enable", [&] { return h->getRenderEnable(); });
        io.object("Light", [&] { return h->getLight(); });
    }
};

struct AkObject
{
    using Host = akObject;
    using Base = AkTransform;
    using Second = AkGeometryPageable;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Auto Page", [&] { return h->getAutoPage(); });
        io.reference("Copy Source", [&] { return h->getCopySource(); });
        io.value(As<akDebugManualChild>(), "Manual Child", [&] { return h->getManualLODChild(); });
    }
};

// The type definitions of the application library.
extern Registration applicationTypes;

}  // namespace akdebugschema
