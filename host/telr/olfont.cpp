// Fonts for text geometry.
#include "olfont.h"

EM_CLASS_TYPE_DEFINE(olFont, "olFont", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olFont2D, "olFont2D", olFont::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olFont3D, "olFont3D", olFont::getStaticClassType())

olFont3D::olFont3D(const char* name) : olFont(name)
{
    for (const olGeometry*& geometry : m_geometries)
        geometry = nullptr;
}

const olGeometry* olFont3D::getGeometry(int c) const
{
    return c >= 0 && c < NUM_CHARACTERS ? m_geometries[c] : nullptr;
}

emVec3<float> olFont3D::getSpacing(int c) const
{
    return c >= 0 && c < NUM_CHARACTERS ? m_spacings[c] : emVec3<float>();
}

void olFont3D::setGeometry(int c, const olGeometry* geometry)
{
    if (c >= 0 && c < NUM_CHARACTERS)
        m_geometries[c] = geometry;
}

void olFont3D::setSpacing(int c, const emVec3<float>& spacing)
{
    if (c >= 0 && c < NUM_CHARACTERS)
        m_spacings[c] = spacing;
}
