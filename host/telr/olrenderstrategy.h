// Render strategies: how a geometry is drawn besides (or instead of) its plain self.
#pragma once

#include <embase.h>

class olRenderStrategy : public emMemBase
{
    EM_CLASS_TYPE_DECLARE();
};

// Draws the geometry's bounds.
class olRenderStrategyBounds : public olRenderStrategy
{
    EM_CLASS_TYPE_DECLARE();

public:
    bool getRenderGeometryEnable() const { return m_renderGeometryEnable; }
    bool getWireframeEnable() const { return m_wireframeEnable; }
    float getLineWidth() const { return m_lineWidth; }
    void getColor(float* r, float* g, float* b, float* a) const;

    void setRenderGeometryEnable(bool enable) { m_renderGeometryEnable = enable; }
    void setWireframeEnable(bool enable) { m_wireframeEnable = enable; }
    void setLineWidth(float width) { m_lineWidth = width; }
    void setColor(float r, float g, float b, float a);

private:
    bool m_renderGeometryEnable = true;
    bool m_wireframeEnable = true;
    float m_lineWidth = 1.0f;
    float m_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// Draws the geometry highlighted.
class olRenderStrategyHighlight : public olRenderStrategy
{
    EM_CLASS_TYPE_DECLARE();

public:
    bool getWireframeEnable() const { return m_wireframeEnable; }
    float getLineWidth() const { return m_lineWidth; }
    void getColor(float* r, float* g, float* b, float* a) const;

    void setWireframeEnable(bool enable) { m_wireframeEnable = enable; }
    void setLineWidth(float width) { m_lineWidth = width; }
    void setColor(float r, float g, float b, float a);

private:
    bool m_wireframeEnable = false;
    float m_lineWidth = 1.0f;
    float m_color[4] = {1.0f, 1.0f, 0.0f, 1.0f};
};

// Draws the geometry's normals as lines.
class olRenderStrategyNormals : public olRenderStrategy
{
    EM_CLASS_TYPE_DECLARE();

public:
    float getLength() const { return m_length; }
    float getLineWidth() const { return m_lineWidth; }
    void getColor(float* r, float* g, float* b, float* a) const;

    void setLength(float length) { m_length = length; }
    void setLineWidth(float width) { m_lineWidth = width; }
    void setColor(float r, float g, float b, float a);

private:
    float m_length = 1.0f;
    float m_lineWidth = 1.0f;
    float m_color[4] = {0.0f, 1.0f, 0.0f, 1.0f};
};
