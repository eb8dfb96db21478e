// The effects library (stand-in): the effect base class akFx (a positionable transform that is also
// a geometry container), rotating blades, missile trails, the particle system with its twelve
// presets, and the cull records of blades, missile trails and particle systems. Intersectors and
// environments that an effect points at are not owned.
//
// Getters without an exported host name (virtual in akFx):
//   akFx::getEnable, akFx::isConfigured
#pragma once

#include <akapp.h>
#include <akenv.h>

#include <cmath>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

class akFx : public akTransform, public akGeometry
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum TextureMode : int {
        TEXTURE_MODE_DECAL = 0,
        TEXTURE_MODE_MODULATE = 2,
        TEXTURE_MODE_MODULATE_ALPHA = 7,
        TEXTURE_MODE_BLEND = 15
    };

    explicit akFx(const char* name = nullptr) : akTransform(name) {}

    virtual bool getEnable() const { return m_enable; }
    bool getRepeatEnable() const { return m_repeatEnable; }
    // The intersector whose hits start the effect; null when the effect is started by hand.
    const akIsector* getTriggerIsector() const { return m_triggerIsector; }
    const akEnv* getEnvironment() const { return m_environment; }
    void getOverallColor(float* r, float* g, float* b, float* a) const;
    TextureMode getTextureMode() const { return m_textureMode; }
    const char* getTextureFile() const { return m_textureFile.c_str(); }
    // Seconds; 0 runs the effect until it is disabled.
    float getOverallDuration() const { return m_overallDuration; }
    void getFadeDuration(float* in, float* out) const;
    // Whether the effect has built its drawables for the current settings.
    virtual bool isConfigured() const { return m_configured; }
    float getElapsedDuration() const { return m_elapsedDuration; }

    void setEnable(bool enable) { m_enable = enable; }
    void setRepeatEnable(bool enable) { m_repeatEnable = enable; }
    void setTriggerIsector(const akIsector* isector) { m_triggerIsector = isector; }
    void setEnvironment(const akEnv* environment) { m_environment = environment; }
    void setOverallColor(float r, float g, float b, float a);
    void setTextureMode(TextureMode mode) { m_textureMode = mode; }
    void setTextureFile(const char* file) { m_textureFile.assign(file); }
    void setOverallDuration(float seconds) { m_overallDuration = seconds; }
    void setFadeDuration(float in, float out);
    void setConfigured(bool configured) { m_configured = configured; }
    void setElapsedDuration(float seconds) { m_elapsedDuration = seconds; }

private:
    bool m_enable = true;
    bool m_repeatEnable = false;
    const akIsector* m_triggerIsector = nullptr;
    const akEnv* m_environment = nullptr;
    float m_overallColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    TextureMode m_textureMode = TEXTURE_MODE_MODULATE;
    emString m_textureFile;
    float m_overallDuration = 0.0f;
    float m_fade[2] = {0.0f, 0.0f};
    bool m_configured = false;
    float m_elapsedDuration = 0.0f;
};

class akFxBlade : public akFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord : public kiGeometryBase::CullRecord
    {
        EM_CLASS_TYPE_DECLARE();
    };

    explicit akFxBlade(const char* name = nullptr) : akFx(name) {}

    int getNumBlades() const { return m_numBlades; }
    float getTipRadius() const { return m_tipRadius; }
    float getBaseRadius() const { return m_baseRadius; }
    // Degrees per second.
    float getRotationSpeed() const { return m_rotationSpeed; }

    void setNumBlades(int n) { m_numBlades = n; }
    void setTipRadius(float radius) { m_tipRadius = radius; }
    void setBaseRadius(float radius) { m_baseRadius = radius; }
    void setRotationSpeed(float degreesPerSecond) { m_rotationSpeed = degreesPerSecond; }

private:
    int m_numBlades = 2;
    float m_tipRadius = 1.0f;
    float m_baseRadius = 0.1f;
    float m_rotationSpeed = 360.0f;
};

class akFxMissileTrail : public akFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord : public kiGeometryBase::CullRecord
    {
        EM_CLASS_TYPE_DECLARE();
    };

    explicit akFxMissileTrail(const char* name = nullptr) : akFx(name) {}

    float getLength() const { return m_length; }
    void setLength(float length) { m_length = length; }

private:
    float m_length = 100.0f;
};

// Values that change over a particle's life: keys (time, value) in ascending time, times in seconds
// since the particle's release. The value at a key's time is that key's value; between two keys it
// is interpolated linearly, before the first and after the last key it is the end key's value, and
// with no keys it is zero.
template <class V>
class akFxKeyList
{
public:
    int size() const { return static_cast<int>(m_keys.size()); }
    // The time of key i; 0 outside 0 .. size() - 1.
    float time(int i) const { return i >= 0 && i < size() ? m_keys[i].first : 0.0f; }
    V value(float time) const;
    // Adds a key, or replaces the value of the key at that time. A NaN time is ignored.
    void set(float time, const V& value);
    void clear() { m_keys.clear(); }

private:
    static V lerp(const V& a, const V& b, float f);
    std::vector<std::pair<float, V>> m_keys;
};

class akFxParticleSystem : public akFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord : public kiGeometryBase::CullRecord
    {
        EM_CLASS_TYPE_DECLARE();
    };

    enum VelocitySource : int { VELOCITY_SOURCE_TABLE = 0, VELOCITY_SOURCE_RELATIVE_EMISSION = 1 };
    enum WindSource : int { WIND_SOURCE_TABLE = 0, WIND_SOURCE_ENVIRONMENT = 1 };
    enum SourceDomain : int {
        SOURCE_DOMAIN_CIRCLE = 0,
        SOURCE_DOMAIN_SQUARE = 1,
        SOURCE_DOMAIN_LINE = 2,
        SOURCE_DOMAIN_CUBE = 3,
        SOURCE_DOMAIN_SPHERE = 4
    };
    enum BoundingDomainBehavior : int {
        BOUNDING_DOMAIN_BEHAVIOR_NONE = 0,
        BOUNDING_DOMAIN_BEHAVIOR_BOUNCE = 1,
        BOUNDING_DOMAIN_BEHAVIOR_SLIDE = 2,
        BOUNDING_DOMAIN_BEHAVIOR_STICK = 3,
        BOUNDING_DOMAIN_BEHAVIOR_RECYCLE = 4
    };
    enum FlowType : int { FLOW_TYPE_STREAM = 0, FLOW_TYPE_BURST = 1 };
    enum VelocityDistribution : int {
        VELOCITY_DISTRIBUTION_PLANE = 0,
        VELOCITY_DISTRIBUTION_SPHERE = 1,
        VELOCITY_DISTRIBUTION_GAUSSIAN = 2
    };

    explicit akFxParticleSystem(const char* name = nullptr) : akFx(name) {}

    VelocitySource getVelocitySource() const { return m_velocitySource; }
    float getRelativeEmissionVelocity() const { return m_relativeEmissionVelocity; }
    WindSource getWindSource() const { return m_windSource; }
    float getParticleReleaseCutoff() const { return m_releaseCutoff; }
    SourceDomain getSourceDomain() const { return m_sourceDomain; }
    float getSourceDomainSize() const { return m_sourceDomainSize; }
    // Planes that bound the particles' domain, each a point on it and its normal.
    int getNumBoundingPlanes() const { return static_cast<int>(m_planes.size()); }
    // False, with zero vectors, for an index outside 0 .. getNumBoundingPlanes() - 1.
    bool getBoundingPlane(int i, emVec3<double>& point, emVec3<double>& normal) const;
    BoundingDomainBehavior getBoundingDomainBehavior() const { return m_boundingBehavior; }
    double getBounceCoefficient() const { return m_bounceCoefficient; }
    int getMaxNumParticles() const { return m_maxNumParticles; }
    int getNumParticlesToRelease() const { return m_numToRelease; }
    float getReleaseInterval() const { return m_releaseInterval; }
    FlowType getFlowType() const { return m_flowType; }
    float getParticleLifeCycle() const { return m_lifeCycle; }
    float getParticleTextureAnimationDuration() const { return m_textureAnimationDuration; }
    VelocityDistribution getVelocityDistribution() const { return m_velocityDistribution; }
    double getGravitationalConstant() const { return m_gravitationalConstant; }
    float getColorVariation() const { return m_colorVariation; }
    float getSizeVariation() const { return m_sizeVariation; }
    float getEmissivity() const { return m_emissivity; }

    // Key lists (see akFxKeyList): the number of keys, the time of key i, the value at a time.
    int getNumColor() const { return m_colors.size(); }
    float getColorTime(int i) const { return m_colors.time(i); }
    emVec4<float> getColor(float time) const { return m_colors.value(time); }
    int getNumSize() const { return m_sizes.size(); }
    float getSizeTime(int i) const { return m_sizes.time(i); }
    float getSize(float time) const { return m_sizes.value(time); }
    int getNumVelocity() const { return m_velocities.size(); }
    float getVelocityTime(int i) const { return m_velocities.time(i); }
    emVec3<double> getVelocity(float time) const { return m_velocities.value(time); }
    int getNumWind() const { return m_winds.size(); }
    float getWindTime(int i) const { return m_winds.time(i); }
    emVec3<double> getWind(float time) const { return m_winds.value(time); }
    int getNumRandomVelocity() const { return m_randomVelocities.size(); }
    float getRandomVelocityTime(int i) const { return m_randomVelocities.time(i); }
    float getRandomVelocity(float time) const { return m_randomVelocities.value(time); }
    int getNumSphericalVelocity() const { return m_sphericalVelocities.size(); }
    float getSphericalVelocityTime(int i) const { return m_sphericalVelocities.time(i); }
    float getSphericalVelocity(float time) const { return m_sphericalVelocities.value(time); }
    int getNumScaleAlongVelocity() const { return m_scalesAlongVelocity.size(); }
    float getScaleAlongVelocityTime(int i) const { return m_scalesAlongVelocity.time(i); }
    float getScaleAlongVelocity(float time) const { return m_scalesAlongVelocity.value(time); }

    void setVelocitySource(VelocitySource source) { m_velocitySource = source; }
    void setRelativeEmissionVelocity(float velocity) { m_relativeEmissionVelocity = velocity; }
    void setWindSource(WindSource source) { m_windSource = source; }
    void setParticleReleaseCutoff(float cutoff) { m_releaseCutoff = cutoff; }
    void setSourceDomain(SourceDomain domain) { m_sourceDomain = domain; }
    void setSourceDomainSize(float size) { m_sourceDomainSize = size; }
    void addBoundingPlane(const emVec3<double>& point, const emVec3<double>& normal);
    void clearBoundingPlanes() { m_planes.clear(); }
    void setBoundingDomainBehavior(BoundingDomainBehavior behavior) { m_boundingBehavior = behavior; }
    void setBounceCoefficient(double coefficient) { m_bounceCoefficient = coefficient; }
    void setMaxNumParticles(int n) { m_maxNumParticles = n; }
    void setNumParticlesToRelease(int n) { m_numToRelease = n; }
    void setReleaseInterval(float seconds) { m_releaseInterval = seconds; }
    void setFlowType(FlowType type) { m_flowType = type; }
    void setParticleLifeCycle(float seconds) { m_lifeCycle = seconds; }
    void setParticleTextureAnimationDuration(float seconds) { m_textureAnimationDuration = seconds; }
    void setVelocityDistribution(VelocityDistribution distribution) { m_velocityDistribution = distribution; }
    void setGravitationalConstant(double constant) { m_gravitationalConstant = constant; }
    void setColorVariation(float variation) { m_colorVariation = variation; }
    void setSizeVariation(float variation) { m_sizeVariation = variation; }
    void setEmissivity(float emissivity) { m_emissivity = emissivity; }

    void setColor(float time, const emVec4<float>& color) { m_colors.set(time, color); }
    void setSize(float time, float size) { m_sizes.set(time, size); }
    void setVelocity(float time, const emVec3<double>& velocity) { m_velocities.set(time, velocity); }
    void setWind(float time, const emVec3<double>& wind) { m_winds.set(time, wind); }
    void setRandomVelocity(float time, float velocity) { m_randomVelocities.set(time, velocity); }
    void setSphericalVelocity(float time, float velocity) { m_sphericalVelocities.set(time, velocity); }
    void setScaleAlongVelocity(float time, float scale) { m_scalesAlongVelocity.set(time, scale); }
    // Removes the keys of every list.
    void clearKeys();

private:
    struct BoundingPlane
    {
        emVec3<double> point;
        emVec3<double> normal;
    };

    VelocitySource m_velocitySource = VELOCITY_SOURCE_TABLE;
    float m_relativeEmissionVelocity = 0.0f;
    WindSource m_windSource = WIND_SOURCE_TABLE;
    float m_releaseCutoff = 0.0f;
    SourceDomain m_sourceDomain = SOURCE_DOMAIN_CIRCLE;
    float m_sourceDomainSize = 1.0f;
    std::vector<BoundingPlane> m_planes;
    BoundingDomainBehavior m_boundingBehavior = BOUNDING_DOMAIN_BEHAVIOR_NONE;
    double m_bounceCoefficient = 0.5;
    int m_maxNumParticles = 100;
    int m_numToRelease = 1;
    float m_releaseInterval = 0.1f;
    FlowType m_flowType = FLOW_TYPE_STREAM;
    float m_lifeCycle = 1.0f;
    float m_textureAnimationDuration = 0.0f;
    VelocityDistribution m_velocityDistribution = VELOCITY_DISTRIBUTION_PLANE;
    double m_gravitationalConstant = -9.81;
    float m_colorVariation = 0.0f;
    float m_sizeVariation = 0.0f;
    float m_emissivity = 0.0f;
    akFxKeyList<emVec4<float>> m_colors;
    akFxKeyList<float> m_sizes;
    akFxKeyList<emVec3<double>> m_velocities;
    akFxKeyList<emVec3<double>> m_winds;
    akFxKeyList<float> m_randomVelocities;
    akFxKeyList<float> m_sphericalVelocities;
    akFxKeyList<float> m_scalesAlongVelocity;
};

// Particle systems set up for one kind of effect; their constructors set the preset's values, which
// can be changed like those of any particle system.
#define AKFX_PRESET(Class)                          \
    class Class : public akFxParticleSystem         \
    {                                               \
        EM_CLASS_TYPE_DECLARE();                    \
                                                    \
    public:                                         \
        explicit Class(const char* name = nullptr); \
    };

AKFX_PRESET(akFxDebris)
AKFX_PRESET(akFxExplosion)
AKFX_PRESET(akFxExplosion2)
AKFX_PRESET(akFxExplosion3)
AKFX_PRESET(akFxFire)
AKFX_PRESET(akFxFlak)
AKFX_PRESET(akFxFlame)
AKFX_PRESET(akFxFlash)
AKFX_PRESET(akFxRotorWash)
AKFX_PRESET(akFxSmoke)
AKFX_PRESET(akFxSmokeBall)
AKFX_PRESET(akFxSplash)
#undef AKFX_PRESET

// ---- akFxKeyList ----

template <class V>
V akFxKeyList<V>::value(float time) const
{
    if (m_keys.empty())
        return V{};
    size_t i = 0;
    while (i < m_keys.size() && m_keys[i].first < time)
        ++i;
    if (i == m_keys.size())
        return m_keys.back().second;
    if (i == 0 || m_keys[i].first == time)
        return m_keys[i].second;
    const auto& a = m_keys[i - 1];
    const auto& b = m_keys[i];
    return lerp(a.second, b.second, (time - a.first) / (b.first - a.first));
}

template <class V>
void akFxKeyList<V>::set(float time, const V& value)
{
    if (std::isnan(time))
        return;
    size_t i = 0;
    while (i < m_keys.size() && m_keys[i].first < time)
        ++i;
    if (i < m_keys.size() && m_keys[i].first == time)
        m_keys[i].second = value;
    else
        m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(i), {time, value});
}

template <class V>
V akFxKeyList<V>::lerp(const V& a, const V& b, float f)
{
    if constexpr (std::is_arithmetic<V>::value) {
        return a + (b - a) * f;
    } else {
        V r;
        for (int c = 0; c < V::size; ++c)
            r[c] = a[c] + (b[c] - a[c]) * f;
        return r;
    }
}
