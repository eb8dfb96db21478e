#include "kitransform.h"

#include <cmath>

EM_CLASS_TYPE_DEFINE(kiTransform, "kiTransform", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiBillboard, "kiBillboard", kiTransform::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiDOF, "kiDOF", kiNode::getStaticClassType())

namespace {

emMatrix<double> multiply(const emMatrix<double>& a, const emMatrix<double>& b)
{
    emMatrix<double> r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

// Rotation by `degrees` about the axis `axis` (0 = X, 1 = Y, 2 = Z), for row vectors.
emMatrix<double> rotation(int axis, double degrees)
{
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    emMatrix<double> r = emMatrix<double>::identity();
    r.m[a][a] = c;
    r.m[a][b] = s;
    r.m[b][a] = -s;
    r.m[b][b] = c;
    return r;
}

void get3(const double* v, double* x, double* y, double* z)
{
    *x = v[0];
    *y = v[1];
    *z = v[2];
}

void set3(double* v, double x, double y, double z)
{
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

}  // namespace

emMatrix<double> kiComposeAffine(const double translate[3], const double hpr[3], const double scale[3])
{
    emMatrix<double> s = emMatrix<double>::identity();
    for (int i = 0; i < 3; ++i)
        s.m[i][i] = scale[i];
    emMatrix<double> r = multiply(multiply(rotation(1, hpr[2]), rotation(0, hpr[1])), rotation(2, hpr[0]));
    emMatrix<double> m = multiply(s, r);
    for (int i = 0; i < 3; ++i)
        m.m[3][i] = translate[i];
    return m;
}

void kiTransform::getTranslate(double* x, double* y, double* z) const { get3(m_translate, x, y, z); }
void kiTransform::getRotate(double* h, double* p, double* r) const { get3(m_rotate, h, p, r); }
void kiTransform::getScale(double* x, double* y, double* z) const { get3(m_scale, x, y, z); }
void kiTransform::setTranslate(double x, double y, double z) { set3(m_translate, x, y, z); }
void kiTransform::setRotate(double h, double p, double r) { set3(m_rotate, h, p, r); }
void kiTransform::setScale(double x, double y, double z) { set3(m_scale, x, y, z); }

emMatrix<double> kiTransform::getMatrixAffine() const
{
    double t[3], r[3], s[3];
    // Through the virtual getters, so a derived transform's own values make its matrix.
    getTranslate(&t[0], &t[1], &t[2]);
    getRotate(&r[0], &r[1], &r[2]);
    getScale(&s[0], &s[1], &s[2]);
    return kiComposeAffine(t, r, s);
}

void kiBillboard::getAxis(double* x, double* y, double* z) const { get3(m_axis, x, y, z); }
void kiBillboard::setAxis(double x, double y, double z) { set3(m_axis, x, y, z); }

void kiDOF::getTranslate(double* x, double* y, double* z) const { get3(&m_values[COMPONENT_TRANSLATE_X], x, y, z); }
void kiDOF::getRotate(double* h, double* p, double* r) const { get3(&m_values[COMPONENT_ROTATE_H], h, p, r); }
void kiDOF::getScale(double* x, double* y, double* z) const { get3(&m_values[COMPONENT_SCALE_X], x, y, z); }
void kiDOF::setTranslate(double x, double y, double z) { set3(&m_values[COMPONENT_TRANSLATE_X], x, y, z); }
void kiDOF::setRotate(double h, double p, double r) { set3(&m_values[COMPONENT_ROTATE_H], h, p, r); }
void kiDOF::setScale(double x, double y, double z) { set3(&m_values[COMPONENT_SCALE_X], x, y, z); }

kiDOF::Constraint kiDOF::getConstraint(Component component) const
{
    if (component < 0 || component >= COMPONENT_COUNT)
        return Constraint();
    return m_constraints[component];
}

void kiDOF::setConstraint(Component component, bool enable, double minimum, double maximum)
{
    if (component < 0 || component >= COMPONENT_COUNT)
        return;
    m_constraints[component] = Constraint{enable, minimum, maximum};
}

emMatrix<double> kiDOF::getMatrixAffine() const
{
    return multiply(
        kiComposeAffine(&m_values[COMPONENT_TRANSLATE_X], &m_values[COMPONENT_ROTATE_H], &m_values[COMPONENT_SCALE_X]),
        m_localOrigin);
}
