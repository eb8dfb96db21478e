// Wind: everywhere, in a layer between two elevations, or in a volume placed like any positionable
// object. Speeds are in metres per second. Position references and coordinate converters are not
// owned.
#pragma once

#include "akenvfx.h"

class akEnvWind : public akEnvFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvWind(const char* name = nullptr) : akEnvFx(name) {}

    float getSpeed() const { return m_speed; }
    // The direction the wind blows towards.
    void getDirection(float* x, float* y, float* z) const { get3(m_direction, x, y, z); }
    const akCoordConverter* getCoordConverter() const { return m_coordConverter; }

    void setSpeed(float speed) { m_speed = speed; }
    void setDirection(float x, float y, float z) { set3(m_direction, x, y, z); }
    void setCoordConverter(const akCoordConverter* converter) { m_coordConverter = converter; }

private:
    float m_speed = 0.0f;
    float m_direction[3] = {1.0f, 0.0f, 0.0f};
    const akCoordConverter* m_coordConverter = nullptr;
};

class akEnvWindLayer : public akEnvWind
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvWindLayer(const char* name = nullptr) : akEnvWind(name) {}

    void getElevation(float* bottom, float* top) const { get2(m_elevation, bottom, top); }
    void setElevation(float bottom, float top) { set2(m_elevation, bottom, top); }

private:
    float m_elevation[2] = {0.0f, 1000.0f};
};

class akEnvWindVolume : public akEnvWind, public akPositionable
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvWindVolume(const char* name = nullptr) : akEnvWind(name) {}

    const emBox<float>& getBox() const { return m_box; }
    // The object whose position the volume follows, if any.
    const akPositionable* getPositionReference() const { return m_positionReference; }

    void setBox(const emBox<float>& box) { m_box = box; }
    void setPositionReference(const akPositionable* reference) { m_positionReference = reference; }

private:
    emBox<float> m_box;
    const akPositionable* m_positionReference = nullptr;
};
