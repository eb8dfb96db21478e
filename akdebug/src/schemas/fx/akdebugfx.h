// Schemas of the effects library: the effect base class, blades, missile trails, the particle
// system with its presets, and the effects' cull records.
#pragma once

#include "akdebugapp.h"
#include "akdebugregistration.h"

#include <akfx.h>

namespace akdebugschema {

// A key list: the key count, then per key its time (a float) and the value at that time. Read into
// a group named by the list, one Kind attribute per key, named by its time as "%g" prints it.
template <class Kind, class Io, class Count, class Time, class Value>
void keyList(Io& io, const char* name, Count count, Time time, Value value)
{
    using V = std::decay_t<decltype(value(0.0f))>;
    akDebug* stream = io.stream();
    io.list(name, sizeof(float) + elementBytes<V>(), count, [&](int i) {
        if constexpr (Io::reading) {
            char text[32];
            std::snprintf(text, sizeof text, "%g", stream->template read<float>());
            const char* keyName = akDebugAttributeBase::getPersistentName(text);
            io.add(new Kind(keyName, readElement<V>(stream)));
        } else {
            const float t = time(i);
            stream->write(t);
            writeElement(stream, value(t));
        }
    });
}

// Records of the effects' cull records hold the geometry cull record's fields only.
template <class H>
struct AkFxCullRecord : NoFields
{
    using Host = H;
    using Base = KiGeometryBaseCullRecord;
};

struct AkFx
{
    using Host = akFx;
    using Base = AkTransform;
    using Second = AkGeometry;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        auto overallColor = [&](float* v) { h->getOverallColor(&v[0], &v[1], &v[2], &v[3]); };
        io.value("Enable", [&] { return h->getEnable(); });
        io.value("Repeat Enable", [&] { return h->getRepeatEnable(); });
        io.object("Trigger Isector", [&] { return h->getTriggerIsector(); });
        io.object("Environment", [&] { return h->getEnvironment(); });
        io.vector(RGBA, "Overall Color", overallColor);
        io.vector(RGBA, "Texture Blend Color", overallColor);  // the overall colour again
        io.enumeration("Texture Mode", [&] { return h->getTextureMode(); });
        io.string("Texture File", [&] { return h->getTextureFile(); });
        io.value("Overall Duration", [&] { return h->getOverallDuration(); });
        io.values({"Fade Duration, In", "Fade Duration, Out"}, [&](float* v) { h->getFadeDuration(&v[0], &v[1]); });
        io.value(
            "Configured", [&] { return h->isConfigured(); }, ADVANCED);
        io.value(
            "Elapsed Duration", [&] { return h->getElapsedDuration(); }, ADVANCED);
    }
};

struct AkFxBlade
{
    using Host = akFxBlade;
    using Base = AkFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Number of Blades", [&] { return h->getNumBlades(); });
        io.value("Tip Radius", [&] { return h->getTipRadius(); });
        io.value("Base Radius", [&] { return h->getBaseRadius(); });
        io.value("Rotation Speed", [&] { return h->getRotationSpeed(); });
    }
};

struct AkFxMissileTrail
{
    using Host = akFxMissileTrail;
    using Base = AkFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Length", [&] { return h->getLength(); });
    }
};

struct AkFxParticleSystem
{
    using Host = akFxParticleSystem;
    using Base = AkFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        auto plane = [&](int i) {
            std::pair<emVec3<double>, emVec3<double>> p;
            h->getBoundingPlane(i, p.first, p.second);
            return p;
        };
        io.enumeration("Velocity Source", [&] { return h->getVelocitySource(); });
        io.value("Relative Emission Velocity", [&] { return h->getRelativeEmissionVelocity(); });
        io.enumeration("Wind Source", [&] { return h->getWindSource(); });
        io.value("Particle Release Cutoff", [&] { return h->getParticleReleaseCutoff(); });
        io.enumeration("Source Domain", [&] { return h->getSourceDomain(); });
        io.value("Source Domain Size", [&] { return h->getSourceDomainSize(); });
        io.list(
            "Bounding Planes", 48, [&] { return h->getNumBoundingPlanes(); },
            [&](int i) {
                io.group(io.index(i), [&] {
                    io.vector(XYZ, "Point", [&](double* v) { copyComponents(plane(i).first, v); });
                    io.vector(XYZ, "Normal", [&](double* v) { copyComponents(plane(i).second, v); });
                });
            });
        io.enumeration("Bounding Domain Behavior", [&] { return h->getBoundingDomainBehavior(); });
        io.value("Bounce Coefficient", [&] { return h->getBounceCoefficient(); });
        io.value("Maximum Number of Particles", [&] { return h->getMaxNumParticles(); });
        io.value("Number of Particles to Release", [&] { return h->getNumParticlesToRelease(); });
        io.value("Release Interval", [&] { return h->getReleaseInterval(); });
        io.enumeration("Flow Type", [&] { return h->getFlowType(); });
        io.value("Particle Life Cycle", [&] { return h->getParticleLifeCycle(); });
        io.value("Particle Texture Animation Duration", [&] { return h->getParticleTextureAnimationDuration(); });
        io.enumeration("Velocity Distribution", [&] { return h->getVelocityDistribution(); });
        io.value("Gravitational Constant", [&] { return h->getGravitationalConstant(); });
        io.value("Color Variation", [&] { return h->getColorVariation(); });
        io.value("Size Variation", [&] { return h->getSizeVariation(); });
        io.value("Emissivity", [&] { return h->getEmissivity(); });
        keyList<akDebugRGBA>(
            io, "Colors", [&] { return h->getNumColor(); }, [&](int i) { return h->getColorTime(i); },
            [&](float t) { return h->getColor(t); });
        keyList<akDebugAttribute<float>>(
            io, "Size", [&] { return h->getNumSize(); }, [&](int i) { return h->getSizeTime(i); },
            [&](float t) { return h->getSize(t); });
        keyList<akDebugXYZ<double>>(
            io, "Velocity", [&] { return h->getNumVelocity(); }, [&](int i) { return h->getVelocityTime(i); },
            [&](float t) { return h->getVelocity(t); });
        keyList<akDebugXYZ<double>>(
            io, "Wind", [&] { return h->getNumWind(); }, [&](int i) { return h->getWindTime(i); },
            [&](float t) { return h->getWind(t); });
        keyList<akDebugAttribute<float>>(
            io, "Random Velocity", [&] { return h->getNumRandomVelocity(); },
            [&](int i) { return h->getRandomVelocityTime(i); }, [&](float t) { return h->getRandomVelocity(t); });
        keyList<akDebugAttribute<float>>(
            io, "Spherical Velocity", [&] { return h->getNumSphericalVelocity(); },
            [&](int i) { return h->getSphericalVelocityTime(i); }, [&](float t) { return h->getSphericalVelocity(t); });
        keyList<akDebugAttribute<float>>(
            io, "Scale Along Velocity", [&] { return h->getNumScaleAlongVelocity(); },
            [&](int i) { return h->getScaleAlongVelocityTime(i); },
            [&](float t) { return h->getScaleAlongVelocity(t); });
    }
};

// The presets store nothing beyond the particle system; their records are particle system records
// under their own type.
template <class H>
struct AkFxPreset : NoFields
{
    using Host = H;
    using Base = AkFxParticleSystem;
};

// The type definitions of the effects library.
extern Registration effectsTypes;

}  // namespace akdebugschema
