#include "akfx.h"

EM_CLASS_TYPE_DEFINE(akFx, "akFx", akTransform::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxBlade, "akFxBlade", akFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxBlade::CullRecord, "akFxBlade::CullRecord", kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxMissileTrail, "akFxMissileTrail", akFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxMissileTrail::CullRecord, "akFxMissileTrail::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxParticleSystem, "akFxParticleSystem", akFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxParticleSystem::CullRecord, "akFxParticleSystem::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxDebris, "akFxDebris", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxExplosion, "akFxExplosion", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxExplosion2, "akFxExplosion2", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxExplosion3, "akFxExplosion3", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxFire, "akFxFire", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxFlak, "akFxFlak", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxFlame, "akFxFlame", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxFlash, "akFxFlash", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxRotorWash, "akFxRotorWash", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxSmoke, "akFxSmoke", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxSmokeBall, "akFxSmokeBall", akFxParticleSystem::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akFxSplash, "akFxSplash", akFxParticleSystem::getStaticClassType())

void akFx::getOverallColor(float* r, float* g, float* b, float* a) const
{
    *r = m_overallColor[0];
    *g = m_overallColor[1];
    *b = m_overallColor[2];
    *a = m_overallColor[3];
}

void akFx::setOverallColor(float r, float g, float b, float a)
{
    m_overallColor[0] = r;
    m_overallColor[1] = g;
    m_overallColor[2] = b;
    m_overallColor[3] = a;
}

void akFx::getFadeDuration(float* in, float* out) const
{
    *in = m_fade[0];
    *out = m_fade[1];
}

void akFx::setFadeDuration(float in, float out)
{
    m_fade[0] = in;
    m_fade[1] = out;
}

bool akFxParticleSystem::getBoundingPlane(int i, emVec3<double>& point, emVec3<double>& normal) const
{
    const bool known = i >= 0 && i < getNumBoundingPlanes();
    point = known ? m_planes[i].point : emVec3<double>();
    normal = known ? m_planes[i].normal : emVec3<double>();
    return known;
}

void akFxParticleSystem::addBoundingPlane(const emVec3<double>& point, const emVec3<double>& normal)
{
    m_planes.push_back({point, normal});
}

void akFxParticleSystem::clearKeys()
{
    m_colors.clear();
    m_sizes.clear();
    m_velocities.clear();
    m_winds.clear();
    m_randomVelocities.clear();
    m_sphericalVelocities.clear();
    m_scalesAlongVelocity.clear();
}

// ---- presets ----

namespace {

// The release pattern and life of a preset's particles.
void releasePattern(akFxParticleSystem* p, akFxParticleSystem::FlowType flow, int maximum, int perRelease,
                    float interval, float life)
{
    p->setFlowType(flow);
    p->setMaxNumParticles(maximum);
    p->setNumParticlesToRelease(perRelease);
    p->setReleaseInterval(interval);
    p->setParticleLifeCycle(life);
}

// A colour that fades from `start` at release to transparent `end` at the end of the particle's life.
void fade(akFxParticleSystem* p, emVec4<float> start, emVec3<float> end, float life)
{
    p->setColor(0.0f, start);
    p->setColor(life, emVec4<float>(end[0], end[1], end[2], 0.0f));
}

void grow(akFxParticleSystem* p, float start, float end, float life)
{
    p->setSize(0.0f, start);
    p->setSize(life, end);
}

}  // namespace

akFxDebris::akFxDebris(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("debris.rgba");
    releasePattern(this, FLOW_TYPE_BURST, 60, 60, 0.0f, 4.0f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_SPHERE);
    setBoundingDomainBehavior(BOUNDING_DOMAIN_BEHAVIOR_BOUNCE);
    setBounceCoefficient(0.3);
    addBoundingPlane({0, 0, 0}, {0, 0, 1});
    fade(this, {0.35f, 0.3f, 0.25f, 1.0f}, {0.35f, 0.3f, 0.25f}, 4.0f);
    setSize(0.0f, 0.4f);
    setSphericalVelocity(0.0f, 25.0f);
    setSizeVariation(0.5f);
}

akFxExplosion::akFxExplosion(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("explosion.rgba");
    setOverallDuration(2.0f);
    releasePattern(this, FLOW_TYPE_BURST, 40, 40, 0.0f, 1.5f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_SPHERE);
    setSourceDomain(SOURCE_DOMAIN_SPHERE);
    setGravitationalConstant(0.0);
    setEmissivity(1.0f);
    fade(this, {1.0f, 0.9f, 0.5f, 1.0f}, {0.4f, 0.1f, 0.0f}, 1.5f);
    grow(this, 2.0f, 12.0f, 1.5f);
    setSphericalVelocity(0.0f, 15.0f);
}

akFxExplosion2::akFxExplosion2(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("explosion2.rgba");
    setOverallDuration(3.0f);
    releasePattern(this, FLOW_TYPE_BURST, 80, 80, 0.0f, 2.5f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_GAUSSIAN);
    setSourceDomain(SOURCE_DOMAIN_SPHERE);
    setGravitationalConstant(-2.0);
    setEmissivity(0.8f);
    fade(this, {1.0f, 0.8f, 0.3f, 1.0f}, {0.2f, 0.2f, 0.2f}, 2.5f);
    grow(this, 3.0f, 20.0f, 2.5f);
    setSphericalVelocity(0.0f, 20.0f);
}

akFxExplosion3::akFxExplosion3(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("explosion3.rgba");
    setOverallDuration(4.0f);
    releasePattern(this, FLOW_TYPE_BURST, 120, 120, 0.0f, 3.0f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_SPHERE);
    setSourceDomain(SOURCE_DOMAIN_SPHERE);
    setSourceDomainSize(4.0f);
    setGravitationalConstant(-4.0);
    setEmissivity(0.6f);
    fade(this, {1.0f, 0.7f, 0.2f, 1.0f}, {0.1f, 0.1f, 0.1f}, 3.0f);
    grow(this, 5.0f, 30.0f, 3.0f);
    setSphericalVelocity(0.0f, 30.0f);
}

akFxFire::akFxFire(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("fire.rgba");
    releasePattern(this, FLOW_TYPE_STREAM, 200, 4, 0.05f, 1.2f);
    setGravitationalConstant(0.0);
    setEmissivity(1.0f);
    setColorVariation(0.1f);
    fade(this, {1.0f, 0.6f, 0.1f, 1.0f}, {0.6f, 0.1f, 0.0f}, 1.2f);
    grow(this, 1.0f, 0.2f, 1.2f);
    setVelocity(0.0f, {0, 0, 2});
    setRandomVelocity(0.0f, 0.5f);
}

akFxFlak::akFxFlak(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("flak.rgba");
    setOverallDuration(2.5f);
    releasePattern(this, FLOW_TYPE_BURST, 30, 30, 0.0f, 2.5f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_SPHERE);
    setGravitationalConstant(0.0);
    setWindSource(WIND_SOURCE_ENVIRONMENT);
    fade(this, {0.15f, 0.15f, 0.15f, 1.0f}, {0.3f, 0.3f, 0.3f}, 2.5f);
    grow(this, 1.5f, 6.0f, 2.5f);
    setSphericalVelocity(0.0f, 4.0f);
}

akFxFlame::akFxFlame(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("flame.rgba");
    releasePattern(this, FLOW_TYPE_STREAM, 150, 3, 0.02f, 0.4f);
    setVelocitySource(VELOCITY_SOURCE_RELATIVE_EMISSION);
    setRelativeEmissionVelocity(12.0f);
    setSourceDomain(SOURCE_DOMAIN_LINE);
    setGravitationalConstant(0.0);
    setEmissivity(1.0f);
    fade(this, {0.9f, 0.9f, 1.0f, 1.0f}, {1.0f, 0.4f, 0.0f}, 0.4f);
    grow(this, 0.3f, 0.8f, 0.4f);
    setScaleAlongVelocity(0.0f, 3.0f);
}

akFxFlash::akFxFlash(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("flash.rgba");
    setOverallDuration(0.2f);
    releasePattern(this, FLOW_TYPE_BURST, 1, 1, 0.0f, 0.15f);
    setGravitationalConstant(0.0);
    setEmissivity(1.0f);
    fade(this, {1.0f, 1.0f, 0.9f, 1.0f}, {1.0f, 0.8f, 0.5f}, 0.15f);
    grow(this, 4.0f, 6.0f, 0.15f);
}

akFxRotorWash::akFxRotorWash(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("rotorwash.rgba");
    releasePattern(this, FLOW_TYPE_STREAM, 300, 10, 0.05f, 2.0f);
    setSourceDomain(SOURCE_DOMAIN_CIRCLE);
    setSourceDomainSize(12.0f);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_PLANE);
    setBoundingDomainBehavior(BOUNDING_DOMAIN_BEHAVIOR_SLIDE);
    addBoundingPlane({0, 0, 0}, {0, 0, 1});
    fade(this, {0.8f, 0.75f, 0.6f, 0.6f}, {0.8f, 0.75f, 0.6f}, 2.0f);
    grow(this, 1.0f, 4.0f, 2.0f);
    setSphericalVelocity(0.0f, 8.0f);
}

akFxSmoke::akFxSmoke(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("smoke.rgba");
    releasePattern(this, FLOW_TYPE_STREAM, 250, 2, 0.1f, 8.0f);
    setWindSource(WIND_SOURCE_ENVIRONMENT);
    setGravitationalConstant(0.0);
    setSizeVariation(0.25f);
    fade(this, {0.2f, 0.2f, 0.2f, 0.8f}, {0.6f, 0.6f, 0.6f}, 8.0f);
    grow(this, 1.0f, 10.0f, 8.0f);
    setVelocity(0.0f, {0, 0, 3});
    setVelocity(8.0f, {0, 0, 1});
    setRandomVelocity(0.0f, 0.3f);
}

akFxSmokeBall::akFxSmokeBall(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("smokeball.rgba");
    setOverallDuration(6.0f);
    releasePattern(this, FLOW_TYPE_BURST, 20, 20, 0.0f, 6.0f);
    setSourceDomain(SOURCE_DOMAIN_SPHERE);
    setSourceDomainSize(2.0f);
    setGravitationalConstant(0.0);
    fade(this, {0.3f, 0.3f, 0.3f, 1.0f}, {0.5f, 0.5f, 0.5f}, 6.0f);
    grow(this, 3.0f, 9.0f, 6.0f);
    setSphericalVelocity(0.0f, 1.0f);
}

akFxSplash::akFxSplash(const char* name) : akFxParticleSystem(name)
{
    setTextureFile("splash.rgba");
    setOverallDuration(2.0f);
    releasePattern(this, FLOW_TYPE_BURST, 100, 100, 0.0f, 1.8f);
    setSourceDomain(SOURCE_DOMAIN_CIRCLE);
    setVelocityDistribution(VELOCITY_DISTRIBUTION_GAUSSIAN);
    setBoundingDomainBehavior(BOUNDING_DOMAIN_BEHAVIOR_STICK);
    addBoundingPlane({0, 0, 0}, {0, 0, 1});
    fade(this, {0.9f, 0.95f, 1.0f, 0.9f}, {0.9f, 0.95f, 1.0f}, 1.8f);
    grow(this, 0.3f, 1.0f, 1.8f);
    setVelocity(0.0f, {0, 0, 8});
    setRandomVelocity(0.0f, 2.0f);
}
