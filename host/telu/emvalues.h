// Value types of the host: vectors, matrices and bounding shapes.
#pragma once

template <class T, int N>
struct emVecN
{
    using value_type = T;
    static constexpr int size = N;
    T v[N] = {};

    T& operator[](int i) { return v[i]; }
    const T& operator[](int i) const { return v[i]; }
    T* data() { return v; }
    const T* data() const { return v; }
    bool operator==(const emVecN& o) const
    {
        for (int i = 0; i < N; ++i)
            if (!(v[i] == o.v[i]))
                return false;
        return true;
    }
    bool operator!=(const emVecN& o) const { return !(*this == o); }
};

template <class T>
struct emVec2 : emVecN<T, 2>
{
    emVec2() = default;
    emVec2(T x, T y)
    {
        this->v[0] = x;
        this->v[1] = y;
    }
};

template <class T>
struct emVec3 : emVecN<T, 3>
{
    emVec3() = default;
    emVec3(T x, T y, T z)
    {
        this->v[0] = x;
        this->v[1] = y;
        this->v[2] = z;
    }
};

template <class T>
struct emVec4 : emVecN<T, 4>
{
    emVec4() = default;
    emVec4(T x, T y, T z, T w)
    {
        this->v[0] = x;
        this->v[1] = y;
        this->v[2] = z;
        this->v[3] = w;
    }
};

// 4 by 4, row-major: m[row][column].
template <class T>
struct emMatrix
{
    T m[4][4] = {};

    static emMatrix identity()
    {
        emMatrix r;
        for (int i = 0; i < 4; ++i)
            r.m[i][i] = T(1);
        return r;
    }
    T* operator[](int row) { return m[row]; }
    const T* operator[](int row) const { return m[row]; }
    bool operator==(const emMatrix& o) const
    {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                if (!(m[r][c] == o.m[r][c]))
                    return false;
        return true;
    }
};

template <class T>
struct emBox
{
    emVec3<T> minimum;
    emVec3<T> maximum;
    bool operator==(const emBox& o) const { return minimum == o.minimum && maximum == o.maximum; }
};

// Normal in components 0 to 2, offset in component 3.
template <class T>
struct emPlane : emVecN<T, 4>
{
    emPlane() = default;
    emPlane(T x, T y, T z, T d)
    {
        this->v[0] = x;
        this->v[1] = y;
        this->v[2] = z;
        this->v[3] = d;
    }
};

// Centre in components 0 to 2, radius in component 3.
template <class T>
struct emSphere : emVecN<T, 4>
{
    emSphere() = default;
    emSphere(T x, T y, T z, T r)
    {
        this->v[0] = x;
        this->v[1] = y;
        this->v[2] = z;
        this->v[3] = r;
    }
};

// Planes in the order left, right, bottom, top, near, far.
template <class T>
struct emFrustum
{
    emPlane<T> planes[6];
    bool operator==(const emFrustum& o) const
    {
        for (int i = 0; i < 6; ++i)
            if (planes[i] != o.planes[i])
                return false;
        return true;
    }
};
