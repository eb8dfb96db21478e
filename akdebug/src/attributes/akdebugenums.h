// Name tables of the enumerations the module shows. Every enumeration whose host type exists has
// a traits specialisation (its qualified type name and the names of its values) that
// akDebugEnum<E> uses; the tables the module carries itself are also reachable by type name, so
// that the tables of host libraries without a host type yet are already here.
#pragma once

#include "akdebugattributeenum.h"

#include <akapp.h>
#include <akenv.h>
#include <akfx.h>
#include <telr.h>
#include <tels.h>

// The name of `value` in the module's own table of the enumeration with the qualified type name
// `typeName` (for instance "akFx::TextureMode"); null when the value has no name there or the
// module carries no table of that name. Enumerations named by the render library are not here.
AKDEBUG_API const char* akDebugEnumName(const char* typeName, int value);

// The number of tables the module carries and the type name of the i-th one (null out of range).
AKDEBUG_API int akDebugEnumTableCount();
AKDEBUG_API const char* akDebugEnumTableName(int i);

// Declares the traits of one enumeration; akdebugenums.cpp defines them.
#define AKDEBUG_ENUM_TRAITS(E)              \
    template <>                             \
    struct AKDEBUG_API akDebugEnumTraits<E> \
    {                                       \
        static const char* typeName();      \
        static const char* name(int value); \
    };

// Named by the module's own tables.
AKDEBUG_ENUM_TRAITS(kiAnimation::Command)
AKDEBUG_ENUM_TRAITS(kiAnimation::Direction)
AKDEBUG_ENUM_TRAITS(kiAnimation::Mode)
AKDEBUG_ENUM_TRAITS(kiBillboard::Orientation)
AKDEBUG_ENUM_TRAITS(kiBillboard::Type)
AKDEBUG_ENUM_TRAITS(kiLightPoint::Control::AnimationState)
AKDEBUG_ENUM_TRAITS(kiNodeLoader::Data::BuilderNormalMode)
AKDEBUG_ENUM_TRAITS(kiNodeLoader::Data::LoaderUnits)
AKDEBUG_ENUM_TRAITS(olDrawFunc::Binding)
AKDEBUG_ENUM_TRAITS(olDrawFunc::Dimension)
AKDEBUG_ENUM_TRAITS(olDrawFunc::Format)
AKDEBUG_ENUM_TRAITS(olDrawFunc::Primitive)
AKDEBUG_ENUM_TRAITS(olGeometryBase::Binding)
AKDEBUG_ENUM_TRAITS(olGeometryBase::Dimension)
AKDEBUG_ENUM_TRAITS(olGeometryBase::Format)
AKDEBUG_ENUM_TRAITS(olGeometryBase::Primitive)
AKDEBUG_ENUM_TRAITS(olLight::State)
AKDEBUG_ENUM_TRAITS(olLight::Type)
AKDEBUG_ENUM_TRAITS(olLightPointAnimation::State)
AKDEBUG_ENUM_TRAITS(olLightPointAnimation::Type)
AKDEBUG_ENUM_TRAITS(olLightPointAppearance::Directionality)
AKDEBUG_ENUM_TRAITS(olLightPointAppearance::Falloff)
AKDEBUG_ENUM_TRAITS(olLightPointAppearance::Shape)
AKDEBUG_ENUM_TRAITS(olMaterial::Side)
AKDEBUG_ENUM_TRAITS(olShader::ApplyMode)
AKDEBUG_ENUM_TRAITS(olTexture::Filter)
AKDEBUG_ENUM_TRAITS(olTexture::Format)
AKDEBUG_ENUM_TRAITS(olTexture::Mapping)
AKDEBUG_ENUM_TRAITS(olTexture::Type)
AKDEBUG_ENUM_TRAITS(olTexture::Wrap)
// Application library.
AKDEBUG_ENUM_TRAITS(akCoordConverter::GeoRef::Type)
AKDEBUG_ENUM_TRAITS(akCoordConverter::Root)
AKDEBUG_ENUM_TRAITS(akCoordSys::AngularUnits)
AKDEBUG_ENUM_TRAITS(akCoordSys::LinearUnits)
AKDEBUG_ENUM_TRAITS(akCoordSys::Type)
AKDEBUG_ENUM_TRAITS(akGeometry::TextureSubloadMode)
AKDEBUG_ENUM_TRAITS(akGeometry::TextureSubloadRender)
AKDEBUG_ENUM_TRAITS(akLight::Type)
AKDEBUG_ENUM_TRAITS(akObject::AutoPage)
// Environment library.
AKDEBUG_ENUM_TRAITS(akEnvFx::TextureBlendMode)
// Effects library.
AKDEBUG_ENUM_TRAITS(akFx::TextureMode)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::BoundingDomainBehavior)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::FlowType)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::SourceDomain)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::VelocityDistribution)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::VelocitySource)
AKDEBUG_ENUM_TRAITS(akFxParticleSystem::WindSource)

// Named by the render library's name functions.
AKDEBUG_ENUM_TRAITS(olAlphaBlend::Equation)
AKDEBUG_ENUM_TRAITS(olAlphaBlend::Mode)
AKDEBUG_ENUM_TRAITS(olAlphaTest::Mode)
AKDEBUG_ENUM_TRAITS(olColorTrack::Mode)
AKDEBUG_ENUM_TRAITS(olColorTrack::Side)
AKDEBUG_ENUM_TRAITS(olDepthTest::Mode)
AKDEBUG_ENUM_TRAITS(olFog::Type)
AKDEBUG_ENUM_TRAITS(olMultiTexture::Stage)
AKDEBUG_ENUM_TRAITS(olPolygon::CullFace)
AKDEBUG_ENUM_TRAITS(olShadeModel::Mode)
AKDEBUG_ENUM_TRAITS(olStencilTest::Mode)
AKDEBUG_ENUM_TRAITS(olStencilTest::Operation)
AKDEBUG_ENUM_TRAITS(olTextureBlend::Argument)
AKDEBUG_ENUM_TRAITS(olTextureBlend::Mode)
AKDEBUG_ENUM_TRAITS(olTextureCoordGen::Mode)
