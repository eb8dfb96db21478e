// Transform nodes: kiTransform, kiBillboard and the degree-of-freedom node kiDOF.
//
// Matrices use row vectors (v' = v * M, translation in row 3). Rotations are heading, pitch and
// roll in degrees: roll about Y, then pitch about X, then heading about Z. The affine matrix of a
// transform is scale * rotation * translation.
//
// Getters without an exported host name (virtual in kiTransform):
//   getTranslate(double* x, double* y, double* z)
//   getRotate(double* h, double* p, double* r)
//   getScale(double* x, double* y, double* z)
#pragma once

#include "kinode.h"

// The affine matrix of a scale, a rotation (degrees) and a translation, in that order.
emMatrix<double> kiComposeAffine(const double translate[3], const double hpr[3], const double scale[3]);

class kiTransform : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiTransform(const char* name = nullptr) : kiNode(name) {}

    virtual void getTranslate(double* x, double* y, double* z) const;
    virtual void getRotate(double* h, double* p, double* r) const;
    virtual void getScale(double* x, double* y, double* z) const;
    bool getStaticEnable() const { return m_staticEnable; }
    emMatrix<double> getMatrixAffine() const;

    void setTranslate(double x, double y, double z);
    void setRotate(double h, double p, double r);
    void setScale(double x, double y, double z);
    void setStaticEnable(bool enable) { m_staticEnable = enable; }

private:
    double m_translate[3] = {0.0, 0.0, 0.0};
    double m_rotate[3] = {0.0, 0.0, 0.0};
    double m_scale[3] = {1.0, 1.0, 1.0};
    bool m_staticEnable = false;
};

class kiBillboard : public kiTransform
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Type : int { TYPE_OFF = -1, TYPE_SCREEN_ALIGNED = 0, TYPE_WORLD_ALIGNED = 1, TYPE_AXIAL = 2 };
    enum Orientation : int { ORIENTATION_VIEW_PLANE_ORTHOGONAL = 0, ORIENTATION_POINT_TO_EYE = 1 };

    explicit kiBillboard(const char* name = nullptr) : kiTransform(name) {}

    Type getType() const { return m_type; }
    Orientation getOrientation() const { return m_orientation; }
    void getAxis(double* x, double* y, double* z) const;

    void setType(Type type) { m_type = type; }
    void setOrientation(Orientation orientation) { m_orientation = orientation; }
    void setAxis(double x, double y, double z);

private:
    Type m_type = TYPE_SCREEN_ALIGNED;
    Orientation m_orientation = ORIENTATION_VIEW_PLANE_ORTHOGONAL;
    double m_axis[3] = {0.0, 0.0, 1.0};
};

class kiDOF : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Component : int {
        COMPONENT_TRANSLATE_X = 0,
        COMPONENT_TRANSLATE_Y = 1,
        COMPONENT_TRANSLATE_Z = 2,
        COMPONENT_ROTATE_H = 3,
        COMPONENT_ROTATE_P = 4,
        COMPONENT_ROTATE_R = 5,
        COMPONENT_SCALE_X = 6,
        COMPONENT_SCALE_Y = 7,
        COMPONENT_SCALE_Z = 8,
        COMPONENT_COUNT = 9
    };
    // Limits of one component; honoured only when enabled.
    struct Constraint
    {
        bool enable = false;
        double minimum = 0.0;
        double maximum = 0.0;
    };

    explicit kiDOF(const char* name = nullptr) : kiNode(name) {}

    void getTranslate(double* x, double* y, double* z) const;
    void getRotate(double* h, double* p, double* r) const;
    void getScale(double* x, double* y, double* z) const;
    // A component outside 0..8 gives a disabled constraint.
    Constraint getConstraint(Component component) const;
    emMatrix<double> getLocalOrigin() const { return m_localOrigin; }
    // Scale * rotation * translation, then the local origin.
    emMatrix<double> getMatrixAffine() const;

    // Values are stored as given; the constraints are only reported.
    void setTranslate(double x, double y, double z);
    void setRotate(double h, double p, double r);
    void setScale(double x, double y, double z);
    // Ignored for a component outside 0..8.
    void setConstraint(Component component, bool enable, double minimum, double maximum);
    void setLocalOrigin(const emMatrix<double>& origin) { m_localOrigin = origin; }

private:
    // translate x y z, rotate h p r, scale x y z: indexed by Component.
    double m_values[COMPONENT_COUNT] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
    Constraint m_constraints[COMPONENT_COUNT];
    emMatrix<double> m_localOrigin = emMatrix<double>::identity();
};
