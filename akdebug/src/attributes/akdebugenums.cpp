// Name tables of the enumerations the module shows, and the traits of those whose host type
// exists. Each table is written once; the traits find their table by type name.
#include "akdebugenums.h"

#include <cstring>

namespace {

struct Table
{
    const char* typeName;
    const akDebugEnumEntry* entries;
    int count;
};

template <size_t N>
constexpr Table table(const char* typeName, const akDebugEnumEntry (&entries)[N])
{
    return {typeName, entries, static_cast<int>(N)};
}

const akDebugEnumEntry kKiAnimationCommand[] = {
    {0, "COMMAND_PLAY"},
    {1, "COMMAND_STOP"},
    {2, "COMMAND_PAUSE"},
};
const akDebugEnumEntry kKiAnimationDirection[] = {{0, "DIRECTION_FORWARD"}, {1, "DIRECTION_BACKWARD"}};
const akDebugEnumEntry kKiAnimationMode[] = {{0, "MODE_CYCLE"}, {1, "MODE_SWING"}};
const akDebugEnumEntry kKiBillboardOrientation[] = {
    {0, "ORIENTATION_VIEW_PLANE_ORTHOGONAL"},
    {1, "ORIENTATION_POINT_TO_EYE"},
};
const akDebugEnumEntry kKiBillboardType[] = {
    {-1, "TYPE_OFF"},
    {0, "TYPE_SCREEN_ALIGNED"},
    {1, "TYPE_WORLD_ALIGNED"},
    {2, "TYPE_AXIAL"},
};
const akDebugEnumEntry kKiLightPointControlAnimationState[] = {
    {0, "ANIMATION_STATE_OFF"},
    {1, "ANIMATION_STATE_ON"},
    {2, "ANIMATION_STATE_RANDOM"},
};
const akDebugEnumEntry kKiNodeLoaderDataBuilderNormalMode[] = {
    {0, "BUILDER_NORMAL_MODE_GENERATE_PER_VERTEX"},
    {1, "BUILDER_NORMAL_MODE_GENERATE_PER_PRIMITIVE"},
    {2, "BUILDER_NORMAL_MODE_ORIENT_TO_VERTICES"},
    {3, "BUILDER_NORMAL_MODE_PRESERVE"},
};
const akDebugEnumEntry kKiNodeLoaderDataLoaderUnits[] = {
    {0, "LOADER_UNITS_METERS"}, {1, "LOADER_UNITS_KILOMETERS"},     {2, "LOADER_UNITS_FEET"},
    {3, "LOADER_UNITS_INCHES"}, {4, "LOADER_UNITS_NAUTICAL_MILES"},
};
const akDebugEnumEntry kOlDrawFuncBinding[] = {
    {0, "BINDING_OFF"},
    {1, "BINDING_OVERALL"},
    {2, "BINDING_PRIMITIVE"},
    {3, "BINDING_VERTEX"},
};
const akDebugEnumEntry kOlDrawFuncDimension[] = {
    {0, "DIMENSION_1"},
    {1, "DIMENSION_2"},
    {2, "DIMENSION_3"},
    {3, "DIMENSION_4"},
};
const akDebugEnumEntry kOlDrawFuncFormat[] = {
    {0, "FORMAT_IMMEDIATE_MODE"},      {1, "FORMAT_INTERLEAVED_ARRAY"}, {2, "FORMAT_VERTEX_ARRAY"},
    {3, "FORMAT_VERTEX_ARRAY_OBJECT"}, {4, "FORMAT_VERTEX_BUFFER"},     {5, "FORMAT_VERTEX_BUFFER_OBJECT"},
    {6, "FORMAT_WIREFRAME"},
};
const akDebugEnumEntry kOlDrawFuncPrimitive[] = {
    {0, "PRIMITIVE_POINT"},    {1, "PRIMITIVE_LINE"},           {2, "PRIMITIVE_LINE_STRIP"},
    {3, "PRIMITIVE_TRIANGLE"}, {4, "PRIMITIVE_TRIANGLE_STRIP"}, {5, "PRIMITIVE_TRIANGLE_FAN"},
    {6, "PRIMITIVE_QUAD"},
};
const akDebugEnumEntry kOlGeometryBaseBinding[] = {
    {0, "BINDING_OFF"},
    {1, "BINDING_OVERALL"},
    {2, "BINDING_PRIMITIVE"},
    {3, "BINDING_VERTEX"},
};
const akDebugEnumEntry kOlGeometryBaseDimension[] = {
    {0, "DIMENSION_1"},
    {1, "DIMENSION_2"},
    {2, "DIMENSION_3"},
    {3, "DIMENSION_4"},
};
const akDebugEnumEntry kOlGeometryBaseFormat[] = {
    {0, "FORMAT_IMMEDIATE_MODE"},      {1, "FORMAT_INTERLEAVED_ARRAY"}, {2, "FORMAT_VERTEX_ARRAY"},
    {3, "FORMAT_VERTEX_ARRAY_OBJECT"}, {4, "FORMAT_VERTEX_BUFFER"},     {5, "FORMAT_VERTEX_BUFFER_OBJECT"},
    {6, "FORMAT_WIREFRAME"},
};
const akDebugEnumEntry kOlGeometryBasePrimitive[] = {
    {0, "PRIMITIVE_POINT"},    {1, "PRIMITIVE_LINE"},           {2, "PRIMITIVE_LINE_STRIP"},
    {3, "PRIMITIVE_TRIANGLE"}, {4, "PRIMITIVE_TRIANGLE_STRIP"}, {5, "PRIMITIVE_TRIANGLE_FAN"},
    {6, "PRIMITIVE_QUAD"},
};
const akDebugEnumEntry kOlLightState[] = {{0, "STATE_OFF"}, {1, "STATE_ON"}};
const akDebugEnumEntry kOlLightType[] = {{0, "TYPE_DIRECTIONAL"}, {1, "TYPE_POSITIONAL"}, {2, "TYPE_SPOT"}};
const akDebugEnumEntry kOlLightPointAnimationState[] = {
    {0, "STATE_OFF"},
    {1, "STATE_ON"},
    {2, "STATE_COLOR_OVERRIDE"},
};
const akDebugEnumEntry kOlLightPointAnimationType[] = {
    {0, "TYPE_SEQUENCE"},
    {1, "TYPE_ROTATION"},
    {2, "TYPE_STROBE"},
};
const akDebugEnumEntry kOlLightPointAppearanceDirectionality[] = {
    {0, "DIRECTIONALITY_OMNI"},
    {1, "DIRECTIONALITY_UNI"},
    {2, "DIRECTIONALITY_BI"},
};
const akDebugEnumEntry kOlLightPointAppearanceFalloff[] = {
    {0, "FALLOFF_NONE"},
    {1, "FALLOFF_LINEAR"},
    {2, "FALLOFF_EXPONENTIAL"},
};
const akDebugEnumEntry kOlLightPointAppearanceShape[] = {
    {0, "SHAPE_WIDE"},
    {1, "SHAPE_SYMMETRIC"},
    {2, "SHAPE_NONSYMMETRIC"},
};
const akDebugEnumEntry kOlMaterialSide[] = {{0, "SIDE_FRONT"}, {1, "SIDE_BACK"}, {2, "SIDE_FRONT_AND_BACK"}};
const akDebugEnumEntry kOlShaderApplyMode[] = {{0, "APPLY_MODE_ALWAYS"}, {1, "APPLY_MODE_AS_NEEDED"}};
const akDebugEnumEntry kOlTextureFilter[] = {
    {0, "FILTER_NONE"},        {1, "FILTER_NEAREST"},    {2, "FILTER_LINEAR"},
    {3, "FILTER_ANISOTROPIC"}, {4, "FILTER_FLAT_CUBIC"}, {5, "FILTER_GAUSSIAN_CUBIC"},
};
const akDebugEnumEntry kOlTextureFormat[] = {
    {0, "FORMAT_COLOR_INDEX"},
    {1, "FORMAT_RED"},
    {2, "FORMAT_GREEN"},
    {3, "FORMAT_BLUE"},
    {4, "FORMAT_ALPHA"},
    {5, "FORMAT_RGB"},
    {6, "FORMAT_RGBA"},
    {7, "FORMAT_ARGB"},
    {8, "FORMAT_BGR"},
    {9, "FORMAT_BGRA"},
    {10, "FORMAT_LUMINANCE"},
    {11, "FORMAT_LUMINANCE_ALPHA"},
    {12, "FORMAT_ALPHA_LUMINANCE"},
    {13, "FORMAT_VU"},
    {14, "FORMAT_LVU"},
    {15, "FORMAT_QWVU"},
    {16, "FORMAT_UYVY"},
    {17, "FORMAT_YUY2"},
    {18, "FORMAT_COMPRESSED_S3_DXT1_RGB"},
    {19, "FORMAT_COMPRESSED_S3_DXT1_RGBA"},
    {20, "FORMAT_COMPRESSED_S3_DXT3_RGBA"},
    {21, "FORMAT_COMPRESSED_S3_DXT5_RGBA"},
    {22, "FORMAT_COMPRESSED_NATIVE_RGB"},
    {23, "FORMAT_COMPRESSED_NATIVE_RGBA"},
    {24, "FORMAT_COMPRESSED_NATIVE_ALPHA"},
    {25, "FORMAT_COMPRESSED_NATIVE_LUMINANCE"},
    {26, "FORMAT_COMPRESSED_NATIVE_LUMINANCE_ALPHA"},
    {27, "FORMAT_COMPRESSED_NATIVE_INTENSITY"},
};
const akDebugEnumEntry kOlTextureMapping[] = {{0, "MAPPING_1D"}, {1, "MAPPING_2D"}, {2, "MAPPING_3D"}};
const akDebugEnumEntry kOlTextureType[] = {
    {0, "TYPE_UNKNOWN"},        {1, "TYPE_BYTE"},   {2, "TYPE_UNSIGNED_BYTE"}, {3, "TYPE_SHORT"},
    {4, "TYPE_UNSIGNED_SHORT"}, {5, "TYPE_INT"},    {6, "TYPE_UNSIGNED_INT"},  {7, "TYPE_FLOAT"},
    {8, "TYPE_FLOAT16"},        {9, "TYPE_BITMAP"},
};
const akDebugEnumEntry kOlTextureWrap[] = {
    {0, "WRAP_REPEAT"},     {1, "WRAP_CLAMP"},  {2, "WRAP_CLAMP_BORDER"},
    {3, "WRAP_CLAMP_EDGE"}, {4, "WRAP_MIRROR"}, {5, "WRAP_MIRROR_ONCE"},
};
const akDebugEnumEntry kAkCoordConverterGeoRefType[] = {{0, "TYPE_MATRIX"}, {1, "TYPE_VEC3"}};
const akDebugEnumEntry kAkCoordConverterRoot[] = {
    {0, "ROOT_SELF"},
    {1, "ROOT_GEOREF_MATRIX"},
    {2, "ROOT_GEOREF_VEC3"},
};
const akDebugEnumEntry kAkCoordSysAngularUnits[] = {
    {0, "ANGULAR_UNITS_ARCSECONDS"}, {1, "ANGULAR_UNITS_SECONDS"}, {2, "ANGULAR_UNITS_ARCMINUTES"},
    {3, "ANGULAR_UNITS_MINUTES"},    {4, "ANGULAR_UNITS_DEGREES"}, {5, "ANGULAR_UNITS_RADIANS"},
};
const akDebugEnumEntry kAkCoordSysLinearUnits[] = {
    {0, "LINEAR_UNITS_MILLIMETERS"}, {1, "LINEAR_UNITS_CENTIMETERS"},    {2, "LINEAR_UNITS_INCHES"},
    {3, "LINEAR_UNITS_FEET"},        {4, "LINEAR_UNITS_METERS"},         {5, "LINEAR_UNITS_KILOMETERS"},
    {6, "LINEAR_UNITS_MILES"},       {7, "LINEAR_UNITS_NAUTICAL_MILES"},
};
const akDebugEnumEntry kAkCoordSysType[] = {
    {0, "TYPE_LOCAL"},
    {1, "TYPE_GEODETIC"},
    {2, "TYPE_GEOCENTRIC"},
    {3, "TYPE_PROJECTED"},
};
const akDebugEnumEntry kAkGeometryTextureSubloadMode[] = {
    {0, "TEXTURE_SUBLOAD_MODE_ON"},
    {1, "TEXTURE_SUBLOAD_MODE_OFF"},
    {2, "TEXTURE_SUBLOAD_MODE_PER_GEOMETRY"},
};
const akDebugEnumEntry kAkGeometryTextureSubloadRender[] = {
    {0, "TEXTURE_SUBLOAD_RENDER_DEFERRED"},
    {1, "TEXTURE_SUBLOAD_RENDER_IMMEDIATE"},
};
const akDebugEnumEntry kAkLightType[] = {{0, "TYPE_DIRECTIONAL"}, {1, "TYPE_POSITIONAL"}, {2, "TYPE_SPOT"}};
const akDebugEnumEntry kAkObjectAutoPage[] = {
    {0, "AUTO_PAGE_SYNCHRONOUS"},
    {1, "AUTO_PAGE_ASYNCHRONOUS"},
    {2, "AUTO_PAGE_OFF"},
};
const akDebugEnumEntry kAkEnvFxTextureBlendMode[] = {
    {1, "TEXTURE_BLEND_MODE_REPLACE"},
    {2, "TEXTURE_BLEND_MODE_MODULATE"},
    {15, "TEXTURE_BLEND_MODE_BLEND"},
};
const akDebugEnumEntry kAkFxTextureMode[] = {
    {0, "TEXTURE_MODE_DECAL"},
    {2, "TEXTURE_MODE_MODULATE"},
    {7, "TEXTURE_MODE_MODULATE_ALPHA"},
    {15, "TEXTURE_MODE_BLEND"},
};
const akDebugEnumEntry kAkFxParticleSystemBoundingDomainBehavior[] = {
    {0, "BOUNDING_DOMAIN_BEHAVIOR_NONE"},    {1, "BOUNDING_DOMAIN_BEHAVIOR_BOUNCE"},
    {2, "BOUNDING_DOMAIN_BEHAVIOR_SLIDE"},   {3, "BOUNDING_DOMAIN_BEHAVIOR_STICK"},
    {4, "BOUNDING_DOMAIN_BEHAVIOR_RECYCLE"},
};
const akDebugEnumEntry kAkFxParticleSystemFlowType[] = {{0, "FLOW_TYPE_STREAM"}, {1, "FLOW_TYPE_BURST"}};
const akDebugEnumEntry kAkFxParticleSystemSourceDomain[] = {
    {0, "SOURCE_DOMAIN_CIRCLE"}, {1, "SOURCE_DOMAIN_SQUARE"}, {2, "SOURCE_DOMAIN_LINE"},
    {3, "SOURCE_DOMAIN_CUBE"},   {4, "SOURCE_DOMAIN_SPHERE"},
};
const akDebugEnumEntry kAkFxParticleSystemVelocityDistribution[] = {
    {0, "VELOCITY_DISTRIBUTION_PLANE"},
    {1, "VELOCITY_DISTRIBUTION_SPHERE"},
    {2, "VELOCITY_DISTRIBUTION_GAUSSIAN"},
};
const akDebugEnumEntry kAkFxParticleSystemVelocitySource[] = {
    {0, "VELOCITY_SOURCE_TABLE"},
    {1, "VELOCITY_SOURCE_RELATIVE_EMISSION"},
};
const akDebugEnumEntry kAkFxParticleSystemWindSource[] = {
    {0, "WIND_SOURCE_TABLE"},
    {1, "WIND_SOURCE_ENVIRONMENT"},
};

const Table s_tables[] = {
    table("kiAnimation::Command", kKiAnimationCommand),
    table("kiAnimation::Direction", kKiAnimationDirection),
    table("kiAnimation::Mode", kKiAnimationMode),
    table("kiBillboard::Orientation", kKiBillboardOrientation),
    table("kiBillboard::Type", kKiBillboardType),
    table("kiLightPoint::Control::AnimationState", kKiLightPointControlAnimationState),
    table("kiNodeLoader::Data::BuilderNormalMode", kKiNodeLoaderDataBuilderNormalMode),
    table("kiNodeLoader::Data::LoaderUnits", kKiNodeLoaderDataLoaderUnits),
    table("olDrawFunc::Binding", kOlDrawFuncBinding),
    table("olDrawFunc::Dimension", kOlDrawFuncDimension),
    table("olDrawFunc::Format", kOlDrawFuncFormat),
    table("olDrawFunc::Primitive", kOlDrawFuncPrimitive),
    table("olGeometryBase::Binding", kOlGeometryBaseBinding),
    table("olGeometryBase::Dimension", kOlGeometryBaseDimension),
    table("olGeometryBase::Format", kOlGeometryBaseFormat),
    table("olGeometryBase::Primitive", kOlGeometryBasePrimitive),
    table("olLight::State", kOlLightState),
    table("olLight::Type", kOlLightType),
    table("olLightPointAnimation::State", kOlLightPointAnimationState),
    table("olLightPointAnimation::Type", kOlLightPointAnimationType),
    table("olLightPointAppearance::Directionality", kOlLightPointAppearanceDirectionality),
    table("olLightPointAppearance::Falloff", kOlLightPointAppearanceFalloff),
    table("olLightPointAppearance::Shape", kOlLightPointAppearanceShape),
    table("olMaterial::Side", kOlMaterialSide),
    table("olShader::ApplyMode", kOlShaderApplyMode),
    table("olTexture::Filter", kOlTextureFilter),
    table("olTexture::Format", kOlTextureFormat),
    table("olTexture::Mapping", kOlTextureMapping),
    table("olTexture::Type", kOlTextureType),
    table("olTexture::Wrap", kOlTextureWrap),
    table("akCoordConverter::GeoRef::Type", kAkCoordConverterGeoRefType),
    table("akCoordConverter::Root", kAkCoordConverterRoot),
    table("akCoordSys::AngularUnits", kAkCoordSysAngularUnits),
    table("akCoordSys::LinearUnits", kAkCoordSysLinearUnits),
    table("akCoordSys::Type", kAkCoordSysType),
    table("akGeometry::TextureSubloadMode", kAkGeometryTextureSubloadMode),
    table("akGeometry::TextureSubloadRender", kAkGeometryTextureSubloadRender),
    table("akLight::Type", kAkLightType),
    table("akObject::AutoPage", kAkObjectAutoPage),
    table("akEnvFx::TextureBlendMode", kAkEnvFxTextureBlendMode),
    table("akFx::TextureMode", kAkFxTextureMode),
    table("akFxParticleSystem::BoundingDomainBehavior", kAkFxParticleSystemBoundingDomainBehavior),
    table("akFxParticleSystem::FlowType", kAkFxParticleSystemFlowType),
    table("akFxParticleSystem::SourceDomain", kAkFxParticleSystemSourceDomain),
    table("akFxParticleSystem::VelocityDistribution", kAkFxParticleSystemVelocityDistribution),
    table("akFxParticleSystem::VelocitySource", kAkFxParticleSystemVelocitySource),
    table("akFxParticleSystem::WindSource", kAkFxParticleSystemWindSource),
};

const Table* findTable(const char* typeName)
{
    if (!typeName)
        return nullptr;
    for (const Table& t : s_tables)
        if (std::strcmp(t.typeName, typeName) == 0)
            return &t;
    return nullptr;
}

const char* lookup(const Table* t, int value)
{
    if (!t)
        return nullptr;
    for (int i = 0; i < t->count; ++i)
        if (t->entries[i].value == value)
            return t->entries[i].name;
    return nullptr;
}

}  // namespace

const char* akDebugEnumName(const char* typeName, int value) { return lookup(findTable(typeName), value); }

int akDebugEnumTableCount() { return static_cast<int>(sizeof s_tables / sizeof s_tables[0]); }

const char* akDebugEnumTableName(int i)
{
    return i >= 0 && i < akDebugEnumTableCount() ? s_tables[i].typeName : nullptr;
}

// The type name is the enumeration's qualified C++ name, which is also the name of its table.
#define AKDEBUG_SYSTEM_ENUM(E)                                  \
    const char* akDebugEnumTraits<E>::typeName() { return #E; } \
    const char* akDebugEnumTraits<E>::name(int value)           \
    {                                                           \
        static const Table* const t = findTable(#E);            \
        return lookup(t, value);                                \
    }

AKDEBUG_SYSTEM_ENUM(kiAnimation::Command)
AKDEBUG_SYSTEM_ENUM(kiAnimation::Direction)
AKDEBUG_SYSTEM_ENUM(kiAnimation::Mode)
AKDEBUG_SYSTEM_ENUM(kiBillboard::Orientation)
AKDEBUG_SYSTEM_ENUM(kiBillboard::Type)
AKDEBUG_SYSTEM_ENUM(kiLightPoint::Control::AnimationState)
AKDEBUG_SYSTEM_ENUM(kiNodeLoader::Data::BuilderNormalMode)
AKDEBUG_SYSTEM_ENUM(kiNodeLoader::Data::LoaderUnits)
AKDEBUG_SYSTEM_ENUM(olDrawFunc::Binding)
AKDEBUG_SYSTEM_ENUM(olDrawFunc::Dimension)
AKDEBUG_SYSTEM_ENUM(olDrawFunc::Format)
AKDEBUG_SYSTEM_ENUM(olDrawFunc::Primitive)
AKDEBUG_SYSTEM_ENUM(olGeometryBase::Binding)
AKDEBUG_SYSTEM_ENUM(olGeometryBase::Dimension)
AKDEBUG_SYSTEM_ENUM(olGeometryBase::Format)
AKDEBUG_SYSTEM_ENUM(olGeometryBase::Primitive)
AKDEBUG_SYSTEM_ENUM(olLight::State)
AKDEBUG_SYSTEM_ENUM(olLight::Type)
AKDEBUG_SYSTEM_ENUM(olLightPointAnimation::State)
AKDEBUG_SYSTEM_ENUM(olLightPointAnimation::Type)
AKDEBUG_SYSTEM_ENUM(olLightPointAppearance::Directionality)
AKDEBUG_SYSTEM_ENUM(olLightPointAppearance::Falloff)
AKDEBUG_SYSTEM_ENUM(olLightPointAppearance::Shape)
AKDEBUG_SYSTEM_ENUM(olMaterial::Side)
AKDEBUG_SYSTEM_ENUM(olShader::ApplyMode)
AKDEBUG_SYSTEM_ENUM(olTexture::Filter)
AKDEBUG_SYSTEM_ENUM(olTexture::Format)
AKDEBUG_SYSTEM_ENUM(olTexture::Mapping)
AKDEBUG_SYSTEM_ENUM(olTexture::Type)
AKDEBUG_SYSTEM_ENUM(olTexture::Wrap)
AKDEBUG_SYSTEM_ENUM(akCoordConverter::GeoRef::Type)
AKDEBUG_SYSTEM_ENUM(akCoordConverter::Root)
AKDEBUG_SYSTEM_ENUM(akCoordSys::AngularUnits)
AKDEBUG_SYSTEM_ENUM(akCoordSys::LinearUnits)
AKDEBUG_SYSTEM_ENUM(akCoordSys::Type)
AKDEBUG_SYSTEM_ENUM(akGeometry::TextureSubloadMode)
AKDEBUG_SYSTEM_ENUM(akGeometry::TextureSubloadRender)
AKDEBUG_SYSTEM_ENUM(akLight::Type)
AKDEBUG_SYSTEM_ENUM(akObject::AutoPage)
// Environment library.
AKDEBUG_SYSTEM_ENUM(akEnvFx::TextureBlendMode)
// Effects library.
AKDEBUG_SYSTEM_ENUM(akFx::TextureMode)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::BoundingDomainBehavior)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::FlowType)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::SourceDomain)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::VelocityDistribution)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::VelocitySource)
AKDEBUG_SYSTEM_ENUM(akFxParticleSystem::WindSource)

// Named by the render library: its name function's text for the value.
#define AKDEBUG_HOST_ENUM(E, NAME_FUNCTION)                     \
    const char* akDebugEnumTraits<E>::typeName() { return #E; } \
    const char* akDebugEnumTraits<E>::name(int value) { return NAME_FUNCTION(value); }

AKDEBUG_HOST_ENUM(olAlphaBlend::Equation, olAlphaBlendEquationString)
AKDEBUG_HOST_ENUM(olAlphaBlend::Mode, olAlphaBlendModeString)
AKDEBUG_HOST_ENUM(olAlphaTest::Mode, olAlphaTestModeString)
AKDEBUG_HOST_ENUM(olColorTrack::Mode, olColorTrackModeString)
AKDEBUG_HOST_ENUM(olColorTrack::Side, olColorTrackSideString)
AKDEBUG_HOST_ENUM(olDepthTest::Mode, olDepthTestModeString)
AKDEBUG_HOST_ENUM(olFog::Type, olFogTypeString)
AKDEBUG_HOST_ENUM(olMultiTexture::Stage, olMultiTextureStageString)
AKDEBUG_HOST_ENUM(olPolygon::CullFace, olPolygonCullFaceString)
AKDEBUG_HOST_ENUM(olShadeModel::Mode, olShadeModelModeString)
AKDEBUG_HOST_ENUM(olStencilTest::Mode, olStencilTestModeString)
AKDEBUG_HOST_ENUM(olStencilTest::Operation, olStencilTestOperationString)
AKDEBUG_HOST_ENUM(olTextureBlend::Argument, olTextureBlendArgumentString)
AKDEBUG_HOST_ENUM(olTextureBlend::Mode, olTextureBlendModeString)
AKDEBUG_HOST_ENUM(olTextureCoordGen::Mode, olTextureCoordGenModeString)
