// The environment object, the node that carries the environment's effects, and the environment
// effect base class: a geometry node that draws itself.
#pragma once

#include <akapp.h>

// The weather and sky of a scene, which the environment and effects objects belong to.
class akEnv : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnv(const char* name = nullptr) : emBase(name) {}
};

// Places the environment's effects in the scene.
class akEnvTransform : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akEnvTransform(const char* name = nullptr) : kiNode(name) {}
};

class akEnvFx : public kiGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    // How an effect's texture is combined with its colour.
    enum TextureBlendMode : int {
        TEXTURE_BLEND_MODE_REPLACE = 1,
        TEXTURE_BLEND_MODE_MODULATE = 2,
        TEXTURE_BLEND_MODE_BLEND = 15
    };

    explicit akEnvFx(const char* name = nullptr) : kiGeometryBase(name) {}

    bool getEnable() const { return m_enable; }
    void setEnable(bool enable) { m_enable = enable; }

protected:
    // Copy stored values into a getter's outputs, and setter arguments into stored values.
    static void get2(const float (&v)[2], float* first, float* second)
    {
        *first = v[0];
        *second = v[1];
    }
    static void get3(const float (&v)[3], float* x, float* y, float* z)
    {
        *x = v[0];
        *y = v[1];
        *z = v[2];
    }
    static void get4(const float (&v)[4], float* r, float* g, float* b, float* a)
    {
        *r = v[0];
        *g = v[1];
        *b = v[2];
        *a = v[3];
    }
    static void set2(float (&v)[2], float first, float second)
    {
        v[0] = first;
        v[1] = second;
    }
    static void set3(float (&v)[3], float x, float y, float z)
    {
        v[0] = x;
        v[1] = y;
        v[2] = z;
    }
    static void set4(float (&v)[4], float r, float g, float b, float a)
    {
        v[0] = r;
        v[1] = g;
        v[2] = b;
        v[3] = a;
    }

private:
    bool m_enable = true;
};
