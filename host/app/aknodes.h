// The application's nodes: the scene root, degree-of-freedom and level-of-detail nodes, the
// positionable transform, lights and objects (a positionable transform that pages its geometry).
// Nodes follow the ownership of kiNode; every other object they point at is not owned.
#pragma once

#include "akgeometry.h"
#include "akpositionable.h"

class akScene : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akScene(const char* name = nullptr) : kiNode(name) {}
    const akCoordConverter* getCoordConverter() const { return m_coordConverter; }
    void setCoordConverter(const akCoordConverter* converter) { m_coordConverter = converter; }

private:
    const akCoordConverter* m_coordConverter = nullptr;
};

class akDOF : public kiDOF
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akDOF(const char* name = nullptr) : kiDOF(name) {}
};

class akLOD : public kiLOD
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akLOD(const char* name = nullptr) : kiLOD(name) {}
};

class akTransform : public kiTransform, public akPositionable
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akTransform(const char* name = nullptr) : kiTransform(name) {}

    const akCoordConverter* getCoordConverter() const { return m_coordConverter; }
    // Whether the transform is placed in a local coordinate system of its own.
    bool isLocalized() const { return m_localized; }

    void setCoordConverter(const akCoordConverter* converter) { m_coordConverter = converter; }
    void setLocalized(bool localized) { m_localized = localized; }

private:
    const akCoordConverter* m_coordConverter = nullptr;
    bool m_localized = false;
};

class akLight : public akTransform
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Type : int { TYPE_DIRECTIONAL = 0, TYPE_POSITIONAL = 1, TYPE_SPOT = 2 };
    enum Color : int { COLOR_AMBIENT = 0, COLOR_DIFFUSE = 1, COLOR_SPECULAR = 2 };

    explicit akLight(const char* name = nullptr) : akTransform(name) {}

    Type getType() const { return m_type; }
    bool getEnable() const { return m_enable; }
    void getAttenuation(float* constant, float* linear, float* quadratic) const;
    void getSpotCone(float* inner, float* outer, float* falloff) const;
    // Colour `which` (a Color); an unknown one reads black.
    void getColor(int which, float* r, float* g, float* b, float* a) const;
    bool getRenderEnable() const { return m_renderEnable; }
    // The scene-graph light node that carries this light into the render pass.
    const kiLight* getLight() const { return m_light; }

    void setType(Type type) { m_type = type; }
    void setEnable(bool enable) { m_enable = enable; }
    void setAttenuation(float constant, float linear, float quadratic);
    void setSpotCone(float inner, float outer, float falloff);
    void setColor(int which, float r, float g, float b, float a);
    void setRenderEnable(bool enable) { m_renderEnable = enable; }
    void setLight(const kiLight* light) { m_light = light; }

private:
    Type m_type = TYPE_DIRECTIONAL;
    bool m_enable = true;
    float m_attenuation[3] = {1.0f, 0.0f, 0.0f};
    float m_spotCone[3] = {0.0f, 45.0f, 1.0f};
    float m_colors[3][4] = {{0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}};
    bool m_renderEnable = true;
    const kiLight* m_light = nullptr;
};

class akObject : public akTransform, public akGeometryPageable
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum AutoPage : int { AUTO_PAGE_SYNCHRONOUS = 0, AUTO_PAGE_ASYNCHRONOUS = 1, AUTO_PAGE_OFF = 2 };
    enum { MANUAL_LOD_OFF = -1 };

    explicit akObject(const char* name = nullptr) : akTransform(name) {}

    AutoPage getAutoPage() const { return m_autoPage; }
    // The object this one was copied from, if any.
    const akObject* getCopySource() const { return m_copySource; }
    // The level-of-detail child chosen by hand, or MANUAL_LOD_OFF.
    int getManualLODChild() const { return m_manualChild; }

    void setAutoPage(AutoPage autoPage) { m_autoPage = autoPage; }
    void setCopySource(const akObject* source) { m_copySource = source; }
    void setManualLODChild(int child) { m_manualChild = child; }

private:
    AutoPage m_autoPage = AUTO_PAGE_SYNCHRONOUS;
    const akObject* m_copySource = nullptr;
    int m_manualChild = MANUAL_LOD_OFF;
};
