// A camera as a host's channel sets it, for the scenes the tools build: the view (world to eye
// coordinates) and a perspective projection, as the host keeps matrices (row vectors, p' = p M).
// The eye looks down its -Z axis with +Y up; the world has +Z up.
#pragma once

#include <emvalues.h>

#include <cmath>

namespace camera {

inline emMatrix<double> multiply(const emMatrix<double>& a, const emMatrix<double>& b)
{
    emMatrix<double> r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

// The view of an eye at `eye` looking at `target`.
inline emMatrix<double> lookAt(const double eye[3], const double target[3])
{
    double f[3], r[3], u[3];
    for (int i = 0; i < 3; ++i)
        f[i] = target[i] - eye[i];
    auto normalize = [](double* v) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i)
            v[i] /= length;
    };
    normalize(f);
    r[0] = f[1];  // f x (0, 0, 1)
    r[1] = -f[0];
    r[2] = 0;
    normalize(r);
    u[0] = r[1] * f[2] - r[2] * f[1];
    u[1] = r[2] * f[0] - r[0] * f[2];
    u[2] = r[0] * f[1] - r[1] * f[0];
    emMatrix<double> view = emMatrix<double>::identity();
    for (int i = 0; i < 3; ++i) {
        view.m[i][0] = r[i];
        view.m[i][1] = u[i];
        view.m[i][2] = -f[i];
    }
    for (int j = 0; j < 3; ++j)
        view.m[3][j] = -(eye[0] * view.m[0][j] + eye[1] * view.m[1][j] + eye[2] * view.m[2][j]);
    return view;
}

// A perspective projection of the eye's -Z axis: clip w is the distance ahead.
inline emMatrix<double> perspective(double fieldOfViewY, double aspect, double nearDistance, double farDistance)
{
    const double f = 1.0 / std::tan(fieldOfViewY * 3.14159265358979323846 / 360.0);
    emMatrix<double> p;
    p.m[0][0] = f / aspect;
    p.m[1][1] = f;
    p.m[2][2] = (farDistance + nearDistance) / (nearDistance - farDistance);
    p.m[2][3] = -1.0;
    p.m[3][2] = 2.0 * farDistance * nearDistance / (nearDistance - farDistance);
    return p;
}

inline emMatrix<float> toFloat(const emMatrix<double>& in)
{
    emMatrix<float> out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out.m[i][j] = static_cast<float>(in.m[i][j]);
    return out;
}

}  // namespace camera
