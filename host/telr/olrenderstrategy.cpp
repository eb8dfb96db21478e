// Render strategies.
#include "olrenderstrategy.h"

namespace {

void get4(const float* source, float* r, float* g, float* b, float* a)
{
    *r = source[0];
    *g = source[1];
    *b = source[2];
    *a = source[3];
}

void set4(float* target, float r, float g, float b, float a)
{
    target[0] = r;
    target[1] = g;
    target[2] = b;
    target[3] = a;
}

}  // namespace

EM_CLASS_TYPE_DEFINE(olRenderStrategy, "olRenderStrategy", emMemBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olRenderStrategyBounds, "olRenderStrategyBounds", olRenderStrategy::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olRenderStrategyHighlight, "olRenderStrategyHighlight", olRenderStrategy::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olRenderStrategyNormals, "olRenderStrategyNormals", olRenderStrategy::getStaticClassType())

void olRenderStrategyBounds::getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }

void olRenderStrategyBounds::setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }

void olRenderStrategyHighlight::getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }

void olRenderStrategyHighlight::setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }

void olRenderStrategyNormals::getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }

void olRenderStrategyNormals::setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }
