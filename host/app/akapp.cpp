#include "akapp.h"

#include <cmath>

EM_CLASS_TYPE_DEFINE(akCoordSys, "akCoordSys", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordSys::Ellipsoid, "akCoordSys::Ellipsoid", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordSys::CustomSphere, "akCoordSys::CustomSphere", akCoordSys::Ellipsoid::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordSys::DefaultSphere, "akCoordSys::DefaultSphere",
                     akCoordSys::Ellipsoid::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordSys::Projection, "akCoordSys::Projection", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordConverter, "akCoordConverter", emMemBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordConverter::GeoRef, "akCoordConverter::GeoRef", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordConverter::GeoRefMatrix, "akCoordConverter::GeoRefMatrix",
                     akCoordConverter::GeoRef::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akCoordConverter::GeoRefVec3, "akCoordConverter::GeoRefVec3",
                     akCoordConverter::GeoRef::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akPositionable, "akPositionable", nullptr)
EM_CLASS_TYPE_DEFINE(akPositionable::Strategy, "akPositionable::Strategy", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akIsector, "akIsector", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akGeometry, "akGeometry", nullptr)
EM_CLASS_TYPE_DEFINE(akGeometry::Attribute, "akGeometry::Attribute", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akPageable, "akPageable", nullptr)
EM_CLASS_TYPE_DEFINE(akGeometryPageable, "akGeometryPageable", akGeometry::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akScene, "akScene", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akDOF, "akDOF", kiDOF::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akLOD, "akLOD", kiLOD::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akTransform, "akTransform", kiTransform::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akLight, "akLight", akTransform::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akObject, "akObject", akTransform::getStaticClassType())

double akCoordSys::Ellipsoid::getEccentricitySquared() const
{
    if (m_semiMajor == 0.0)
        return 0.0;
    return 1.0 - (m_semiMinor * m_semiMinor) / (m_semiMajor * m_semiMajor);
}

double akCoordSys::Ellipsoid::getEccentricity() const
{
    const double squared = getEccentricitySquared();
    return squared > 0.0 ? std::sqrt(squared) : 0.0;
}

void akCoordSys::Ellipsoid::setDatumShift(double x, double y, double z)
{
    m_shift[0] = x;
    m_shift[1] = y;
    m_shift[2] = z;
}

void akCoordSys::Ellipsoid::setAxes(double semiMajor, double semiMinor)
{
    m_semiMajor = semiMajor;
    m_semiMinor = semiMinor;
}

void akCoordConverter::setCoordSys(const akCoordSys* coordSys)
{
    m_coordSys = coordSys;
    setResolved(coordSys ? coordSys->getEllipsoid() : nullptr, coordSys ? coordSys->getProjection() : nullptr);
}

void akCoordConverter::setResolved(const akCoordSys::Ellipsoid* ellipsoid, const akCoordSys::Projection* projection)
{
    m_resolvedEllipsoid = ellipsoid;
    m_resolvedProjection = projection;
}

void akCoordConverter::setGeoRef(const GeoRef* geoRef)
{
    m_geoRef = geoRef;
    if (!geoRef)
        m_root = ROOT_SELF;
    else
        m_root = geoRef->getType() == GeoRef::TYPE_MATRIX ? ROOT_GEOREF_MATRIX : ROOT_GEOREF_VEC3;
}

void akGeometryPageable::setBit(unsigned int& bits, int option, int count, bool on)
{
    if (option < 0 || option >= count)
        return;
    if (on)
        bits |= 1u << option;
    else
        bits &= ~(1u << option);
}

bool akGeometryPageable::getLoaderOption(LoaderOption option) const
{
    return bit(m_loaderOptions, option, kiNodeLoader::Data::LOADER_OPTION_COUNT);
}

bool akGeometryPageable::getBuilderOption(BuilderOption option) const
{
    return bit(m_builderOptions, option, kiNodeLoader::Data::BUILDER_OPTION_COUNT);
}

bool akGeometryPageable::getGeometryOption(GeometryOption option) const
{
    return bit(m_geometryOptions, option, kiNodeLoader::Data::GEOMETRY_OPTION_COUNT);
}

bool akGeometryPageable::getPostLoadOption(PostLoadOption option) const
{
    return bit(m_postLoadOptions, option, POST_LOAD_OPTION_COUNT);
}

void akGeometryPageable::setBuilderTolerances(float color, float normal, float vertex)
{
    m_colorTolerance = color;
    m_normalTolerance = normal;
    m_vertexTolerance = vertex;
}

olGeometryBase::Format akGeometryPageable::getGeometryFormat(unsigned int* persistent) const
{
    if (persistent)
        *persistent = m_persistent;
    return m_format;
}

void akGeometryPageable::setGeometryFormat(olGeometryBase::Format format, unsigned int persistent)
{
    m_format = format;
    m_persistent = persistent;
}

void akLight::getAttenuation(float* constant, float* linear, float* quadratic) const
{
    *constant = m_attenuation[0];
    *linear = m_attenuation[1];
    *quadratic = m_attenuation[2];
}

void akLight::setAttenuation(float constant, float linear, float quadratic)
{
    m_attenuation[0] = constant;
    m_attenuation[1] = linear;
    m_attenuation[2] = quadratic;
}

void akLight::getSpotCone(float* inner, float* outer, float* falloff) const
{
    *inner = m_spotCone[0];
    *outer = m_spotCone[1];
    *falloff = m_spotCone[2];
}

void akLight::setSpotCone(float inner, float outer, float falloff)
{
    m_spotCone[0] = inner;
    m_spotCone[1] = outer;
    m_spotCone[2] = falloff;
}

void akLight::getColor(int which, float* r, float* g, float* b, float* a) const
{
    const bool known = which >= 0 && which < 3;
    *r = known ? m_colors[which][0] : 0.0f;
    *g = known ? m_colors[which][1] : 0.0f;
    *b = known ? m_colors[which][2] : 0.0f;
    *a = known ? m_colors[which][3] : 1.0f;
}

void akLight::setColor(int which, float r, float g, float b, float a)
{
    if (which < 0 || which >= 3)
        return;
    m_colors[which][0] = r;
    m_colors[which][1] = g;
    m_colors[which][2] = b;
    m_colors[which][3] = a;
}
