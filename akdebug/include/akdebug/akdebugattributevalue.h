// Value attributes: one per stored field of a host object, each with its type and value strings.
#pragma once

#include "akdebugattribute.h"

#include <emvalues.h>

#include <cstdio>

// How a stored value type is named and printed.
template <class T>
struct akDebugValueTraits
{
    static const char* typeName() { return "Unknown"; }
    static int print(char* buffer, const T&) { return std::snprintf(buffer, 8, "Unknown"); }
};

// Numbers are formatted as snprintf formats them ("%d", and "%g" for floating point), only
// faster: a tree's values are formatted by the million. `format` holds no other conversion than
// "%g", each of which takes the next of the values; the result is cut to fit the value buffer.
AKDEBUG_API int akDebugPrintNumbers(char* buffer, const char* format, const double* values, int count);
AKDEBUG_API int akDebugPrintInteger(char* buffer, int value);
// "0x%X": an address or a mask.
AKDEBUG_API int akDebugPrintHex(char* buffer, unsigned int value);

inline int akDebugPrintNumber(char* buffer, double value) { return akDebugPrintNumbers(buffer, "%g", &value, 1); }

#define AKDEBUG_VALUE_TRAITS(T, NAME, PRINTED)                             \
    template <>                                                            \
    struct akDebugValueTraits<T>                                           \
    {                                                                      \
        static const char* typeName() { return NAME; }                     \
        static int print(char* buffer, const T& value) { return PRINTED; } \
    };

AKDEBUG_VALUE_TRAITS(bool, "bool", akDebugPrintText(buffer, value ? "true" : "false"))
AKDEBUG_VALUE_TRAITS(char, "char", akDebugPrintInteger(buffer, static_cast<signed char>(value)))
AKDEBUG_VALUE_TRAITS(unsigned char, "unsigned char", akDebugPrintInteger(buffer, value))
AKDEBUG_VALUE_TRAITS(short, "short", akDebugPrintInteger(buffer, value))
AKDEBUG_VALUE_TRAITS(unsigned short, "unsigned short", akDebugPrintInteger(buffer, value))
AKDEBUG_VALUE_TRAITS(int, "int", akDebugPrintInteger(buffer, value))
AKDEBUG_VALUE_TRAITS(unsigned int, "unsigned int", akDebugPrintInteger(buffer, static_cast<int>(value)))
AKDEBUG_VALUE_TRAITS(float, "float", akDebugPrintNumber(buffer, value))
AKDEBUG_VALUE_TRAITS(double, "double", akDebugPrintNumber(buffer, value))
#undef AKDEBUG_VALUE_TRAITS

// A leaf that stores one value by value.
template <class T>
class AKDEBUG_API akDebugAttribute : public akDebugAttributeBase
{
public:
    akDebugAttribute(const char* name, const T& value) : akDebugAttributeBase(name), m_value(value) {}

    const T& getValue() const { return m_value; }

    int getValueString(char* buffer) const override { return akDebugValueTraits<T>::print(buffer, m_value); }
    int getTypeString(char* buffer) const override
    {
        return akDebugPrintText(buffer, akDebugValueTraits<T>::typeName());
    }
    akDebugAttributeBase* makeCopy() const override
    {
        akDebugAttribute* copy = new akDebugAttribute(getName(), m_value);
        copy->copyLocal(this);
        return copy;
    }
    bool compare(const akDebugAttributeBase* other) const override
    {
        return compareLocal(static_cast<const akDebugAttribute*>(other));
    }

protected:
    void copyLocal(const akDebugAttribute* source)
    {
        akDebugAttributeBase::copyLocal(source);
        m_value = source->m_value;
    }
    bool compareLocal(const akDebugAttribute* other) const
    {
        return akDebugAttributeBase::compareLocal(other) && m_value == other->m_value;
    }

private:
    T m_value;
};

// makeCopy of a kind derived from akDebugAttribute<T> that adds no field.
#define AKDEBUG_LEAF_COPY(Kind)                                   \
    akDebugAttributeBase* makeCopy() const override               \
    {                                                             \
        Kind* copy = new Kind(this->getName(), this->getValue()); \
        copy->copyLocal(this);                                    \
        return copy;                                              \
    }

template <class T>
struct akDebugScalarName;
template <>
struct akDebugScalarName<float>
{
    static constexpr const char* vec2 = "emVec2<float>";
    static constexpr const char* vec3 = "emVec3<float>";
    static constexpr const char* vec4 = "emVec4<float>";
    static constexpr const char* matrix = "emMatrix<float>";
    static constexpr const char* box = "emBox<float>";
    static constexpr const char* plane = "emPlane<float>";
    static constexpr const char* sphere = "emSphere<float>";
    static constexpr const char* frustum = "emFrustum<float>";
};
template <>
struct akDebugScalarName<double>
{
    static constexpr const char* vec2 = "emVec2<double>";
    static constexpr const char* vec3 = "emVec3<double>";
    static constexpr const char* vec4 = "emVec4<double>";
    static constexpr const char* matrix = "emMatrix<double>";
    static constexpr const char* box = "emBox<double>";
    static constexpr const char* plane = "emPlane<double>";
    static constexpr const char* sphere = "emSphere<double>";
    static constexpr const char* frustum = "emFrustum<double>";
};

// Prints the components with a format naming as many as the vector has ("x=%g, y=%g, z=%g").
template <class T, int N>
int akDebugPrintVector(char* buffer, const char* format, const emVecN<T, N>& v)
{
    double c[N];
    for (int i = 0; i < N; ++i)
        c[i] = static_cast<double>(v[i]);
    return akDebugPrintNumbers(buffer, format, c, N);
}

#define AKDEBUG_VECTOR_KIND(Kind, Base, VecT, TYPE_NAME, FORMAT)                                       \
    template <class T>                                                                                 \
    class AKDEBUG_API Kind : public Base                                                               \
    {                                                                                                  \
    public:                                                                                            \
        Kind(const char* name, const VecT<T>& value) : Base(name, value) {}                            \
        int getValueString(char* buffer) const override                                                \
        {                                                                                              \
            return akDebugPrintVector(buffer, FORMAT, this->getValue());                               \
        }                                                                                              \
        int getTypeString(char* buffer) const override { return akDebugPrintText(buffer, TYPE_NAME); } \
        AKDEBUG_LEAF_COPY(Kind)                                                                        \
    };

AKDEBUG_VECTOR_KIND(akDebugVec2, akDebugAttribute<emVec2<T>>, emVec2, akDebugScalarName<T>::vec2, "%g, %g")
AKDEBUG_VECTOR_KIND(akDebugVec3, akDebugAttribute<emVec3<T>>, emVec3, akDebugScalarName<T>::vec3, "%g, %g, %g")
AKDEBUG_VECTOR_KIND(akDebugVec4, akDebugAttribute<emVec4<T>>, emVec4, akDebugScalarName<T>::vec4, "%g, %g, %g, %g")
#undef AKDEBUG_VECTOR_KIND

// Named vectors: the vector's type string, their own value string.
#define AKDEBUG_NAMED_VECTOR(Kind, Base, VecT, FORMAT)                         \
    template <class T>                                                         \
    class AKDEBUG_API Kind : public Base<T>                                    \
    {                                                                          \
    public:                                                                    \
        Kind(const char* name, const VecT<T>& value) : Base<T>(name, value) {} \
        int getValueString(char* buffer) const override                        \
        {                                                                      \
            return akDebugPrintVector(buffer, FORMAT, this->getValue());       \
        }                                                                      \
        AKDEBUG_LEAF_COPY(Kind)                                                \
    };

AKDEBUG_NAMED_VECTOR(akDebugXYZ, akDebugVec3, emVec3, "x=%g, y=%g, z=%g")
AKDEBUG_NAMED_VECTOR(akDebugHPR, akDebugVec3, emVec3, "h=%g, p=%g, r=%g")
AKDEBUG_NAMED_VECTOR(akDebugLLE, akDebugVec3, emVec3, "lon=%g, lat=%g, el=%g")
AKDEBUG_NAMED_VECTOR(akDebugST, akDebugVec2, emVec2, "s=%g, t=%g")
AKDEBUG_NAMED_VECTOR(akDebugSTQ, akDebugVec3, emVec3, "s=%g, t=%g, q=%g")
AKDEBUG_NAMED_VECTOR(akDebugSTQR, akDebugVec4, emVec4, "s=%g, t=%g, q=%g, r=%g")
AKDEBUG_NAMED_VECTOR(akDebugRGBValue, akDebugVec3, emVec3, "r=%g, g=%g, b=%g")
AKDEBUG_NAMED_VECTOR(akDebugRGBAValue, akDebugVec4, emVec4, "r=%g, g=%g, b=%g, a=%g")
#undef AKDEBUG_NAMED_VECTOR

using akDebugRGB = akDebugRGBValue<float>;
using akDebugRGBA = akDebugRGBAValue<float>;

class AKDEBUG_API akDebugString : public akDebugAttribute<emString>
{
public:
    akDebugString(const char* name, const char* text) : akDebugAttribute<emString>(name, emString(text)) {}

    int getValueString(char* buffer) const override
    {
        return std::snprintf(buffer, s_stringBufferSize, "\"%s\"", getValue().c_str());
    }
    int getTypeString(char* buffer) const override { return akDebugPrintText(buffer, "emString"); }
    akDebugAttributeBase* makeCopy() const override
    {
        akDebugString* copy = new akDebugString(getName(), getValue().c_str());
        copy->copyLocal(this);
        return copy;
    }
};

template <class T>
class AKDEBUG_API akDebugBitmask : public akDebugAttribute<T>
{
public:
    akDebugBitmask(const char* name, T value) : akDebugAttribute<T>(name, value) {}

    int getValueString(char* buffer) const override
    {
        return akDebugPrintHex(buffer, static_cast<unsigned int>(this->getValue()));
    }
    AKDEBUG_LEAF_COPY(akDebugBitmask)

    // One character per bit, bit 0 first; the buffer holds 8 * sizeof(T) + 1 bytes.
    static int getDefaultToolTip(char* buffer, T value)
    {
        const int bits = 8 * sizeof(T);
        for (int i = 0; i < bits; ++i)
            buffer[i] = ((value >> i) & 1) ? '1' : '0';
        buffer[bits] = '\0';
        return bits;
    }
};

template <class T>
struct akDebugArrayTypeName
{
    static const char* get() { return "Unknown"; }
};
#define AKDEBUG_ARRAY_NAME(T, NAME)               \
    template <>                                   \
    struct akDebugArrayTypeName<T>                \
    {                                             \
        static const char* get() { return NAME; } \
    };
AKDEBUG_ARRAY_NAME(bool, "bool *")
AKDEBUG_ARRAY_NAME(char, "char *")
AKDEBUG_ARRAY_NAME(unsigned char, "unsigned char *")
AKDEBUG_ARRAY_NAME(short, "short *")
AKDEBUG_ARRAY_NAME(unsigned short, "unsigned short *")
AKDEBUG_ARRAY_NAME(int, "int *")
AKDEBUG_ARRAY_NAME(unsigned int, "unsigned int *")
AKDEBUG_ARRAY_NAME(float, "float *")
AKDEBUG_ARRAY_NAME(double, "double *")
AKDEBUG_ARRAY_NAME(emVec2<float>, "emVec2<float> *")
AKDEBUG_ARRAY_NAME(emVec2<double>, "emVec2<double> *")
AKDEBUG_ARRAY_NAME(emVec3<float>, "emVec3<float> *")
AKDEBUG_ARRAY_NAME(emVec3<double>, "emVec3<double> *")
AKDEBUG_ARRAY_NAME(emVec4<float>, "emVec4<float> *")
AKDEBUG_ARRAY_NAME(emVec4<double>, "emVec4<double> *")
#undef AKDEBUG_ARRAY_NAME

// What every array kind has, whatever its element type: a group whose children are the elements,
// with the address the array had when written (its value, "0x%X"). Viewers reach the address here.
class AKDEBUG_API akDebugArrayBase : public akDebugGroup
{
public:
    unsigned int getAddress() const { return m_address; }
    int getValueString(char* buffer) const override;

protected:
    akDebugArrayBase(const char* name, unsigned int address) : akDebugGroup(name), m_address(address) {}
    ~akDebugArrayBase() override;

private:
    unsigned int m_address;
};

// An array of elements of type T.
template <class T>
class AKDEBUG_API akDebugArray : public akDebugArrayBase
{
public:
    akDebugArray(const char* name, unsigned int address) : akDebugArrayBase(name, address) {}

    int getTypeString(char* buffer) const override { return akDebugPrintText(buffer, akDebugArrayTypeName<T>::get()); }
    akDebugAttributeBase* makeCopy() const override
    {
        akDebugArray* copy = new akDebugArray(getName(), getAddress());
        copy->copyLocal(this);
        return copy;
    }
    bool compare(const akDebugAttributeBase* other) const override
    {
        const akDebugArray* array = static_cast<const akDebugArray*>(other);
        return array && (getAddress() == array->getAddress() || akDebugGroup::compareLocal(array));
    }
};

// Compounds: a group that keeps the host value and builds fixed children from it. A copy is made
// without building children, which the group copy then adds.
#define AKDEBUG_COMPOUND_COMMON(Kind, ValueT, TYPE_NAME)                                           \
public:                                                                                            \
    const ValueT& getValue() const { return m_value; }                                             \
    int getTypeString(char* buffer) const override { return akDebugPrintText(buffer, TYPE_NAME); } \
    akDebugAttributeBase* makeCopy() const override                                                \
    {                                                                                              \
        Kind* copy = new Kind(getName(), m_value, Empty());                                        \
        copy->copyLocal(this);                                                                     \
        return copy;                                                                               \
    }                                                                                              \
    bool compare(const akDebugAttributeBase* other) const override                                 \
    {                                                                                              \
        const Kind* compound = static_cast<const Kind*>(other);                                    \
        return akDebugGroup::compareLocal(compound) && m_value == compound->m_value;               \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    struct Empty                                                                                   \
    {};                                                                                            \
    Kind(const char* name, const ValueT& value, Empty) : akDebugGroup(name), m_value(value) {}     \
    ValueT m_value;

struct AKDEBUG_API akDebugCompoundNames
{
    static const char* const rows[4];
    static const char* const columns[4];
    static const char* const frustumPlanes[6];
};

template <class T>
class AKDEBUG_API akDebugPlane : public akDebugGroup
{
public:
    akDebugPlane(const char* name, const emPlane<T>& value) : akDebugGroup(name), m_value(value)
    {
        reserve_child(2);
        insert_child(new akDebugXYZ<T>("Normal", emVec3<T>(value[0], value[1], value[2])));
        insert_child(new akDebugAttribute<T>("Offset", value[3]));
    }
    AKDEBUG_COMPOUND_COMMON(akDebugPlane, emPlane<T>, akDebugScalarName<T>::plane)
};

template <class T>
class AKDEBUG_API akDebugSphere : public akDebugGroup
{
public:
    akDebugSphere(const char* name, const emSphere<T>& value) : akDebugGroup(name), m_value(value)
    {
        reserve_child(2);
        insert_child(new akDebugXYZ<T>("Center", emVec3<T>(value[0], value[1], value[2])));
        insert_child(new akDebugAttribute<T>("Radius", value[3]));
    }
    AKDEBUG_COMPOUND_COMMON(akDebugSphere, emSphere<T>, akDebugScalarName<T>::sphere)
};

template <class T>
class AKDEBUG_API akDebugBox : public akDebugGroup
{
public:
    akDebugBox(const char* name, const emBox<T>& value) : akDebugGroup(name), m_value(value)
    {
        reserve_child(2);
        insert_child(new akDebugXYZ<T>("Minimum", value.minimum));
        insert_child(new akDebugXYZ<T>("Maximum", value.maximum));
    }
    AKDEBUG_COMPOUND_COMMON(akDebugBox, emBox<T>, akDebugScalarName<T>::box)
};

template <class T>
class AKDEBUG_API akDebugMatrix : public akDebugGroup
{
public:
    akDebugMatrix(const char* name, const emMatrix<T>& value) : akDebugGroup(name), m_value(value)
    {
        reserve_child(4);
        for (int r = 0; r < 4; ++r) {
            akDebugGroup* row = new akDebugGroup(akDebugCompoundNames::rows[r]);
            row->reserve_child(4);
            insert_child(row);
            for (int c = 0; c < 4; ++c)
                row->insert_child(new akDebugAttribute<T>(akDebugCompoundNames::columns[c], value.m[r][c]));
        }
    }
    AKDEBUG_COMPOUND_COMMON(akDebugMatrix, emMatrix<T>, akDebugScalarName<T>::matrix)
};

template <class T>
class AKDEBUG_API akDebugFrustum : public akDebugGroup
{
public:
    akDebugFrustum(const char* name, const emFrustum<T>& value) : akDebugGroup(name), m_value(value)
    {
        reserve_child(6);
        for (int i = 0; i < 6; ++i)
            insert_child(new akDebugPlane<T>(akDebugCompoundNames::frustumPlanes[i], value.planes[i]));
    }
    AKDEBUG_COMPOUND_COMMON(akDebugFrustum, emFrustum<T>, akDebugScalarName<T>::frustum)
};

#undef AKDEBUG_COMPOUND_COMMON
