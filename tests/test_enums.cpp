// Enumeration attributes: values without a name, negative and out-of-range values, copies, and
// the first and last names of every name table.
#include "schemasupport.h"

#include <akdebugenums.h>

#include <set>
#include <string>

namespace {

using EnumTest = schemasupport::ModuleTest;

struct Shown
{
    std::string type, value;
};

// The strings of an enumeration attribute; its copy must show the same and compare equal.
template <class E>
Shown show(int value)
{
    akDebugAttributeBase* a = new akDebugEnum<E>("Field", value);
    akDebugAttributeBase* other = new akDebugEnum<E>("Field", value + 1);
    akDebugAttributeBase* copy = a->makeCopy();
    const std::vector<akDebugAttributeBase*> all = {a, other, copy};
    for (akDebugAttributeBase* x : all)
        x->ref();
    Shown shown{schemasupport::typeOf(a), schemasupport::valueOf(a)};
    EXPECT_TRUE(copy->compare(a) && a->compare(copy) && !a->compare(other));
    EXPECT_EQ(schemasupport::typeOf(copy) + schemasupport::valueOf(copy), shown.type + shown.value);
    for (akDebugAttributeBase* x : all)
        x->unref();
    return shown;
}

TEST_F(EnumTest, NamesGapsAndNegativeValues)
{
    struct Case
    {
        Shown (*show)(int);
        int value;
        const char* type;
        const char* name;
    } cases[] = {
        {show<olTexture::Filter>, 1, "olTexture::Filter", "FILTER_NEAREST"},
        {show<olTexture::Filter>, 6, "olTexture::Filter", "Undefined Enum"},
        {show<olTexture::Filter>, 7, "olTexture::Filter", "Undefined Enum"},
        // Any stored int, as a damaged file may hold, is a value of the host's enumeration.
        {show<olTexture::Filter>, -1, "olTexture::Filter", "Undefined Enum"},
        {show<olTexture::Filter>, 100000, "olTexture::Filter", "Undefined Enum"},
        {show<kiBillboard::Type>, -1, "kiBillboard::Type", "TYPE_OFF"},
        {show<kiBillboard::Type>, -2, "kiBillboard::Type", "Undefined Enum"},
        {show<olTexture::Format>, 27, "olTexture::Format", "FORMAT_COMPRESSED_NATIVE_INTENSITY"},
        {show<olTexture::Format>, 28, "olTexture::Format", "Undefined Enum"},
        {show<kiNodeLoader::Data::LoaderUnits>, 4, "kiNodeLoader::Data::LoaderUnits", "LOADER_UNITS_NAUTICAL_MILES"},
        {show<kiLightPoint::Control::AnimationState>, 2, "kiLightPoint::Control::AnimationState",
         "ANIMATION_STATE_RANDOM"},
        // Named by the render library, whatever the value.
        {show<olAlphaBlend::Equation>, 4, "olAlphaBlend::Equation", "EQUATION_MAX"},
        {show<olAlphaBlend::Equation>, 5, "olAlphaBlend::Equation", "UNKNOWN"},
        {show<olStencilTest::Operation>, -99, "olStencilTest::Operation", "UNKNOWN"},
        {show<olColorTrack::Side>, 2, "olColorTrack::Side", "SIDE_FRONT_AND_BACK"},
    };
    for (const Case& c : cases) {
        Shown shown = c.show(c.value);
        EXPECT_EQ(shown.type, c.type) << c.type << " " << c.value;
        EXPECT_EQ(shown.value, c.name) << c.type << " " << c.value;
    }

    // Enumerations without a host type yet, by type name.
    EXPECT_EQ(akDebugEnumName("akEnvFx::TextureBlendMode", 0), nullptr);
    EXPECT_STREQ(akDebugEnumName("akEnvFx::TextureBlendMode", 15), "TEXTURE_BLEND_MODE_BLEND");
    EXPECT_EQ(akDebugEnumName("akFx::TextureMode", 1), nullptr);
    EXPECT_STREQ(akDebugEnumName("akFx::TextureMode", 7), "TEXTURE_MODE_MODULATE_ALPHA");
    EXPECT_EQ(akDebugEnumName("akFx::TextureMode", -7), nullptr);
    EXPECT_EQ(akDebugEnumName("akFx::NoSuchEnum", 0), nullptr);
    EXPECT_EQ(akDebugEnumName(nullptr, 0), nullptr);
}

// Every table the module carries: its type name, first and last entries.
TEST_F(EnumTest, EveryTableStartsAndEndsRight)
{
    struct Row
    {
        const char* type;
        int first;
        const char* firstName;
        int last;
        const char* lastName;
    } rows[] = {
        {"kiAnimation::Command", 0, "COMMAND_PLAY", 2, "COMMAND_PAUSE"},
        {"kiAnimation::Direction", 0, "DIRECTION_FORWARD", 1, "DIRECTION_BACKWARD"},
        {"kiAnimation::Mode", 0, "MODE_CYCLE", 1, "MODE_SWING"},
        {"kiBillboard::Orientation", 0, "ORIENTATION_VIEW_PLANE_ORTHOGONAL", 1, "ORIENTATION_POINT_TO_EYE"},
        {"kiBillboard::Type", -1, "TYPE_OFF", 2, "TYPE_AXIAL"},
        {"kiLightPoint::Control::AnimationState", 0, "ANIMATION_STATE_OFF", 2, "ANIMATION_STATE_RANDOM"},
        {"kiNodeLoader::Data::BuilderNormalMode", 0, "BUILDER_NORMAL_MODE_GENERATE_PER_VERTEX", 3,
         "BUILDER_NORMAL_MODE_PRESERVE"},
        {"kiNodeLoader::Data::LoaderUnits", 0, "LOADER_UNITS_METERS", 4, "LOADER_UNITS_NAUTICAL_MILES"},
        {"olDrawFunc::Binding", 0, "BINDING_OFF", 3, "BINDING_VERTEX"},
        {"olDrawFunc::Dimension", 0, "DIMENSION_1", 3, "DIMENSION_4"},
        {"olDrawFunc::Format", 0, "FORMAT_IMMEDIATE_MODE", 6, "FORMAT_WIREFRAME"},
        {"olDrawFunc::Primitive", 0, "PRIMITIVE_POINT", 6, "PRIMITIVE_QUAD"},
        {"olGeometryBase::Binding", 0, "BINDING_OFF", 3, "BINDING_VERTEX"},
        {"olGeometryBase::Dimension", 0, "DIMENSION_1", 3, "DIMENSION_4"},
        {"olGeometryBase::Format", 0, "FORMAT_IMMEDIATE_MODE", 6, "FORMAT_WIREFRAME"},
        {"olGeometryBase::Primitive", 0, "PRIMITIVE_POINT", 6, "PRIMITIVE_QUAD"},
        {"olLight::State", 0, "STATE_OFF", 1, "STATE_ON"},
        {"olLight::Type", 0, "TYPE_DIRECTIONAL", 2, "TYPE_SPOT"},
        {"olLightPointAnimation::State", 0, "STATE_OFF", 2, "STATE_COLOR_OVERRIDE"},
        {"olLightPointAnimation::Type", 0, "TYPE_SEQUENCE", 2, "TYPE_STROBE"},
        {"olLightPointAppearance::Directionality", 0, "DIRECTIONALITY_OMNI", 2, "DIRECTIONALITY_BI"},
        {"olLightPointAppearance::Falloff", 0, "FALLOFF_NONE", 2, "FALLOFF_EXPONENTIAL"},
        {"olLightPointAppearance::Shape", 0, "SHAPE_WIDE", 2, "SHAPE_NONSYMMETRIC"},
        {"olMaterial::Side", 0, "SIDE_FRONT", 2, "SIDE_FRONT_AND_BACK"},
        {"olShader::ApplyMode", 0, "APPLY_MODE_ALWAYS", 1, "APPLY_MODE_AS_NEEDED"},
        {"olTexture::Filter", 0, "FILTER_NONE", 5, "FILTER_GAUSSIAN_CUBIC"},
        {"olTexture::Format", 0, "FORMAT_COLOR_INDEX", 27, "FORMAT_COMPRESSED_NATIVE_INTENSITY"},
        {"olTexture::Mapping", 0, "MAPPING_1D", 2, "MAPPING_3D"},
        {"olTexture::Type", 0, "TYPE_UNKNOWN", 9, "TYPE_BITMAP"},
        {"olTexture::Wrap", 0, "WRAP_REPEAT", 5, "WRAP_MIRROR_ONCE"},
        {"akCoordConverter::GeoRef::Type", 0, "TYPE_MATRIX", 1, "TYPE_VEC3"},
        {"akCoordConverter::Root", 0, "ROOT_SELF", 2, "ROOT_GEOREF_VEC3"},
        {"akCoordSys::AngularUnits", 0, "ANGULAR_UNITS_ARCSECONDS", 5, "ANGULAR_UNITS_RADIANS"},
        {"akCoordSys::LinearUnits", 0, "LINEAR_UNITS_MILLIMETERS", 7, "LINEAR_UNITS_NAUTICAL_MILES"},
        {"akCoordSys::Type", 0, "TYPE_LOCAL", 3, "TYPE_PROJECTED"},
        {"akGeometry::TextureSubloadMode", 0, "TEXTURE_SUBLOAD_MODE_ON", 2, "TEXTURE_SUBLOAD_MODE_PER_GEOMETRY"},
        {"akGeometry::TextureSubloadRender", 0, "TEXTURE_SUBLOAD_RENDER_DEFERRED", 1,
         "TEXTURE_SUBLOAD_RENDER_IMMEDIATE"},
        {"akLight::Type", 0, "TYPE_DIRECTIONAL", 2, "TYPE_SPOT"},
        {"akObject::AutoPage", 0, "AUTO_PAGE_SYNCHRONOUS", 2, "AUTO_PAGE_OFF"},
        {"akEnvFx::TextureBlendMode", 1, "TEXTURE_BLEND_MODE_REPLACE", 15, "TEXTURE_BLEND_MODE_BLEND"},
        {"akFx::TextureMode", 0, "TEXTURE_MODE_DECAL", 15, "TEXTURE_MODE_BLEND"},
        {"akFxParticleSystem::BoundingDomainBehavior", 0, "BOUNDING_DOMAIN_BEHAVIOR_NONE", 4,
         "BOUNDING_DOMAIN_BEHAVIOR_RECYCLE"},
        {"akFxParticleSystem::FlowType", 0, "FLOW_TYPE_STREAM", 1, "FLOW_TYPE_BURST"},
        {"akFxParticleSystem::SourceDomain", 0, "SOURCE_DOMAIN_CIRCLE", 4, "SOURCE_DOMAIN_SPHERE"},
        {"akFxParticleSystem::VelocityDistribution", 0, "VELOCITY_DISTRIBUTION_PLANE", 2,
         "VELOCITY_DISTRIBUTION_GAUSSIAN"},
        {"akFxParticleSystem::VelocitySource", 0, "VELOCITY_SOURCE_TABLE", 1, "VELOCITY_SOURCE_RELATIVE_EMISSION"},
        {"akFxParticleSystem::WindSource", 0, "WIND_SOURCE_TABLE", 1, "WIND_SOURCE_ENVIRONMENT"},
    };
    ASSERT_EQ(akDebugEnumTableCount(), static_cast<int>(std::size(rows)));
    std::set<std::string> listed;
    for (int i = 0; i < akDebugEnumTableCount(); ++i)
        listed.insert(akDebugEnumTableName(i));
    EXPECT_EQ(akDebugEnumTableName(akDebugEnumTableCount()), nullptr);
    for (const Row& r : rows) {
        EXPECT_EQ(listed.count(r.type), 1u) << r.type;
        EXPECT_STREQ(akDebugEnumName(r.type, r.first), r.firstName) << r.type;
        EXPECT_STREQ(akDebugEnumName(r.type, r.last), r.lastName) << r.type;
        EXPECT_EQ(akDebugEnumName(r.type, r.last + 1), nullptr) << r.type;
    }
}

}  // namespace
