// The sky: celestial bodies (sun and moon), stars and the sky dome.
//
// Getters without an exported host name (virtual):
//   akEnvCelestial::getRadius, getOrbit
#pragma once

#include "akenvfx.h"

// A body in the sky, drawn as a textured disc and lighting the scene. Angles are in degrees.
class akEnvCelestial : public akEnvFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // akenvcullrecord.h

    // Radius and orbit (the distance from the earth) in metres.
    explicit akEnvCelestial(const char* name = nullptr, double radius = 0.0, double orbit = 0.0)
        : akEnvFx(name), m_radius(radius), m_orbit(orbit)
    {}

    bool getGeometryEnable() const { return m_geometryEnable; }
    float getVisibilityRange() const { return m_visibilityRange; }
    float getAngularSize() const { return m_angularSize; }
    float getHorizonAngle() const { return m_horizonAngle; }
    float getHorizonSizeScale() const { return m_horizonSizeScale; }
    float getHorizonLightColorScale() const { return m_horizonLightColorScale; }
    void getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }
    void getHorizonColor(float* r, float* g, float* b, float* a) const { get4(m_horizonColor, r, g, b, a); }
    const char* getTextureFile() const { return m_textureFile.c_str(); }
    TextureBlendMode getTextureBlendMode() const { return m_textureBlendMode; }
    void getTextureBlendColor(float* r, float* g, float* b, float* a) const { get4(m_textureBlendColor, r, g, b, a); }
    void getPosition(float* longitude, float* latitude) const { get2(m_position, longitude, latitude); }
    virtual double getRadius() const { return m_radius; }
    virtual double getOrbit() const { return m_orbit; }

    void setGeometryEnable(bool enable) { m_geometryEnable = enable; }
    void setVisibilityRange(float range) { m_visibilityRange = range; }
    void setAngularSize(float size) { m_angularSize = size; }
    void setHorizonAngle(float angle) { m_horizonAngle = angle; }
    void setHorizonSizeScale(float scale) { m_horizonSizeScale = scale; }
    void setHorizonLightColorScale(float scale) { m_horizonLightColorScale = scale; }
    void setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }
    void setHorizonColor(float r, float g, float b, float a) { set4(m_horizonColor, r, g, b, a); }
    void setTextureFile(const char* file) { m_textureFile.assign(file); }
    void setTextureBlendMode(TextureBlendMode mode) { m_textureBlendMode = mode; }
    void setTextureBlendColor(float r, float g, float b, float a) { set4(m_textureBlendColor, r, g, b, a); }
    void setPosition(float longitude, float latitude) { set2(m_position, longitude, latitude); }
    void setRadius(double radius) { m_radius = radius; }
    void setOrbit(double orbit) { m_orbit = orbit; }

private:
    bool m_geometryEnable = true;
    float m_visibilityRange = 0.0f;
    float m_angularSize = 0.5f;
    float m_horizonAngle = 0.0f;
    float m_horizonSizeScale = 1.0f;
    float m_horizonLightColorScale = 1.0f;
    float m_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_horizonColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    emString m_textureFile;
    TextureBlendMode m_textureBlendMode = TEXTURE_BLEND_MODE_MODULATE;
    float m_textureBlendColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_position[2] = {0.0f, 0.0f};
    double m_radius;
    double m_orbit;
};

class akEnvMoon : public akEnvCelestial
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvMoon(const char* name = nullptr) : akEnvCelestial(name, 1737400.0, 384400000.0) {}

    float getBrightness() const { return m_brightness; }
    // 0 new moon, 0.5 full moon.
    float getPhase() const { return m_phase; }

    void setBrightness(float brightness) { m_brightness = brightness; }
    void setPhase(float phase) { m_phase = phase; }

private:
    float m_brightness = 1.0f;
    float m_phase = 0.5f;
};

class akEnvSun : public akEnvCelestial
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvSun(const char* name = nullptr) : akEnvCelestial(name, 696000000.0, 149600000000.0) {}

    // How far below the horizon (degrees) the sun still lights the sky.
    float getTwilightDip() const { return m_twilightDip; }
    void setTwilightDip(float dip) { m_twilightDip = dip; }

private:
    float m_twilightDip = 18.0f;
};

class akEnvStars : public akEnvFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // akenvcullrecord.h

    explicit akEnvStars(const char* name = nullptr) : akEnvFx(name) {}

    float getIntensityThreshold() const { return m_intensityThreshold; }
    void getBrightnessThreshold(float* onset, float* opaque) const { get2(m_brightnessThreshold, onset, opaque); }
    float getVisibilityRange() const { return m_visibilityRange; }
    float getPointSize() const { return m_pointSize; }

    void setIntensityThreshold(float threshold) { m_intensityThreshold = threshold; }
    void setBrightnessThreshold(float onset, float opaque) { set2(m_brightnessThreshold, onset, opaque); }
    void setVisibilityRange(float range) { m_visibilityRange = range; }
    void setPointSize(float size) { m_pointSize = size; }

private:
    float m_intensityThreshold = 0.0f;
    float m_brightnessThreshold[2] = {0.0f, 1.0f};
    float m_visibilityRange = 0.0f;
    float m_pointSize = 1.0f;
};

class akEnvSkyDome : public akEnvFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // akenvcullrecord.h

    // Rows of the dome from the horizon up, each with a visibility range of its own.
    enum { NUM_ROWS = 7 };

    explicit akEnvSkyDome(const char* name = nullptr) : akEnvFx(name) {}

    bool getGroundEnable() const { return m_groundEnable; }
    void getGroundColor(float* r, float* g, float* b, float* a) const { get4(m_groundColor, r, g, b, a); }
    // A row outside 0 .. NUM_ROWS - 1 reads 0.
    float getVisibilityRange(int row) const { return row >= 0 && row < NUM_ROWS ? m_visibilityRange[row] : 0.0f; }

    void setGroundEnable(bool enable) { m_groundEnable = enable; }
    void setGroundColor(float r, float g, float b, float a) { set4(m_groundColor, r, g, b, a); }
    // A row outside 0 .. NUM_ROWS - 1 is ignored.
    void setVisibilityRange(int row, float range)
    {
        if (row >= 0 && row < NUM_ROWS)
            m_visibilityRange[row] = range;
    }

private:
    bool m_groundEnable = true;
    float m_groundColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float m_visibilityRange[NUM_ROWS] = {};
};
