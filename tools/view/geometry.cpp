#include "geometry.h"

#include <akdebugattributevalue.h>
#include <akdebugtype.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <typeinfo>

namespace view {
namespace geometry {

// ---- matrices

Matrix Matrix::identity()
{
    Matrix r{};
    for (int i = 0; i < 4; ++i)
        r.m[i][i] = 1.0;
    return r;
}

Matrix Matrix::fromRows(const double* values)
{
    Matrix r{};
    for (int i = 0; i < 16; ++i)
        r.m[i / 4][i % 4] = values[i];
    return r;
}

Matrix operator*(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

namespace {

// Rotation by `degrees` about axis 0 (X), 1 (Y) or 2 (Z), for row vectors.
Matrix rotation(int axis, double degrees)
{
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    Matrix r = Matrix::identity();
    r.m[a][a] = c;
    r.m[a][b] = s;
    r.m[b][a] = -s;
    r.m[b][b] = c;
    return r;
}

}  // namespace

Matrix composeAffine(const double translate[3], const double hpr[3], const double scale[3])
{
    Matrix s = Matrix::identity();
    for (int i = 0; i < 3; ++i)
        s.m[i][i] = scale[i];
    Matrix m = s * rotation(1, hpr[2]) * rotation(0, hpr[1]) * rotation(2, hpr[0]);
    for (int i = 0; i < 3; ++i)
        m.m[3][i] = translate[i];
    return m;
}

void transformPoint(const Matrix& matrix, const float in[3], float out[3])
{
    double r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = in[0] * matrix.m[0][j] + in[1] * matrix.m[1][j] + in[2] * matrix.m[2][j] + matrix.m[3][j];
    const double w = r[3] != 0.0 && r[3] != 1.0 ? r[3] : 1.0;
    for (int j = 0; j < 3; ++j)
        out[j] = static_cast<float>(r[j] / w);
}

void Box::add(const float p[3])
{
    if (empty()) {
        std::copy(p, p + 3, minimum);
        std::copy(p, p + 3, maximum);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        minimum[i] = std::min(minimum[i], p[i]);
        maximum[i] = std::max(maximum[i], p[i]);
    }
}

void Box::add(const Box& other)
{
    if (!other.empty()) {
        add(other.minimum);
        add(other.maximum);
    }
}

void Mesh::clear()
{
    positions.clear();
    normals.clear();
    colors.clear();
    indices.clear();
    standIn = false;
}

uint32_t packColor(const float rgba[4])
{
    uint32_t packed = 0;
    for (int i = 0; i < 4; ++i) {
        const float c = std::isfinite(rgba[i]) ? std::min(std::max(rgba[i], 0.0f), 1.0f) : 0.0f;
        packed |= static_cast<uint32_t>(std::lround(c * 255.0f)) << (8 * i);
    }
    return packed;
}

// ---- reading the trees

bool sameTypeName(const char* name, const char* typeName)
{
    // A nested class is registered with "_" for the "::" of its host name; files may give either.
    for (; *name && *typeName; ++name, ++typeName)
        if (*name != *typeName) {
            if (*typeName != '_' || name[0] != ':' || name[1] != ':')
                return false;
            ++name;
        }
    return *name == *typeName;
}

const akDebugObject* level(const akDebugObject* object, const char* typeName)
{
    if (!object)
        return nullptr;
    if (object->getType() && sameTypeName(object->getType()->getName(), typeName))
        return object;
    // Class levels are the nested objects that stand for no host object of their own; a reader
    // puts them before the attributes of its own class.
    for (auto it = object->begin_child(); it != object->end_child(); ++it) {
        const auto* inner = dynamic_cast<const akDebugObject*>(*it);
        if (!inner || inner->hasAddress())
            break;
        if (const akDebugObject* found = level(inner, typeName))
            return found;
    }
    return nullptr;
}

const akDebugAttributeBase* child(const akDebugAttributeBase* group, const char* name)
{
    if (group)
        for (auto it = group->begin_child(); it != group->end_child(); ++it)
            if ((*it)->getName()[0] == name[0] && std::strcmp((*it)->getName(), name) == 0)
                return *it;
    return nullptr;
}

const akDebugObject* objectAt(const akDebugAttributeBase* group, const char* name)
{
    const auto* object = dynamic_cast<const akDebugObject*>(child(group, name));
    return object && !object->empty_child() ? object : nullptr;
}

namespace {

template <class Kind>
const Kind* childAs(const akDebugAttributeBase* group, const char* name)
{
    return dynamic_cast<const Kind*>(child(group, name));
}

template <class T>
bool value(const akDebugAttributeBase* group, const char* name, T& out)
{
    const auto* attribute = childAs<akDebugAttribute<T>>(group, name);
    if (attribute)
        out = attribute->getValue();
    return attribute != nullptr;
}

// The position of an enumeration's value name in `names`, or -1 (also for "Undefined Enum").
template <size_t N>
int enumeration(const akDebugAttributeBase* group, const char* name, const char* const (&names)[N])
{
    const akDebugAttributeBase* attribute = child(group, name);
    if (!attribute)
        return -1;
    char text[akDebugAttributeBase::s_stringBufferSize];
    attribute->getValueString(text);
    for (size_t i = 0; i < N; ++i)
        if (std::strcmp(text, names[i]) == 0)
            return static_cast<int>(i);
    return -1;
}

const char* const s_primitives[] = {"PRIMITIVE_POINT",    "PRIMITIVE_LINE",           "PRIMITIVE_LINE_STRIP",
                                    "PRIMITIVE_TRIANGLE", "PRIMITIVE_TRIANGLE_STRIP", "PRIMITIVE_TRIANGLE_FAN",
                                    "PRIMITIVE_QUAD"};
enum { POINT, LINE, LINE_STRIP, TRIANGLE, TRIANGLE_STRIP, TRIANGLE_FAN, QUAD };
const char* const s_bindings[] = {"BINDING_OFF", "BINDING_OVERALL", "BINDING_PRIMITIVE", "BINDING_VERTEX"};
enum Binding { OFF, OVERALL, PER_PRIMITIVE, PER_VERTEX };

// The elements of an array attribute, as `N` floats each (vectors) or one value each.
// The elements of an array as attributes holding T, null where one holds something else. An array's
// elements are of one kind: after the first, the dynamic type alone is compared.
template <class T>
void elements(const akDebugAttributeBase* array, const std::function<void(const akDebugAttribute<T>*)>& each)
{
    if (!array)
        return;
    const akDebugAttributeBase* model = nullptr;
    for (auto it = array->begin_child(); it != array->end_child(); ++it) {
        if (model && typeid(**it) == typeid(*model)) {
            each(static_cast<const akDebugAttribute<T>*>(*it));
            continue;
        }
        const auto* element = dynamic_cast<const akDebugAttribute<T>*>(*it);
        if (element && !model)
            model = element;
        each(element);
    }
}

template <class Element, int N>
std::vector<float> vectors(const akDebugAttributeBase* array)
{
    std::vector<float> out;
    out.reserve(array ? array->size_child() * N : 0);
    elements<Element>(array, [&](const akDebugAttribute<Element>* element) {
        for (int i = 0; i < N; ++i)
            out.push_back(element ? static_cast<float>(element->getValue()[i]) : 0.0f);
    });
    return out;
}

template <class T>
std::vector<long long> integers(const akDebugAttributeBase* array)
{
    std::vector<long long> out;
    out.reserve(array ? array->size_child() : 0);
    elements<T>(array, [&](const akDebugAttribute<T>* element) {
        out.push_back(element ? static_cast<long long>(element->getValue()) : -1);
    });
    return out;
}

// An array with its binding: one element overall, per primitive or per vertex.
struct Bound
{
    int binding = OFF;
    std::vector<float> values;
    int width = 0;
    // Element for corner `vertex` of primitive `primitive`, or null.
    const float* at(size_t primitive, size_t vertex) const
    {
        const size_t count = width ? values.size() / width : 0;
        const size_t i = binding == OVERALL ? 0 : binding == PER_PRIMITIVE ? primitive : vertex;
        return binding != OFF && i < count ? &values[i * width] : nullptr;
    }
};

// The arrays of olGeometryBase and draw-function data, which share their layout.
struct Arrays
{
    int primitive = -1;
    int numPrimitives = 0;
    std::vector<long long> lengths;
    std::vector<float> vertices;
    Bound colors, normals;
    bool indexed = false;
    std::vector<long long> indices;
    Box bounds;
};

Arrays arraysOf(const akDebugAttributeBase* level)
{
    Arrays a;
    a.primitive = enumeration(level, "Primitive", s_primitives);
    value(level, "Number of Primitives", a.numPrimitives);
    a.lengths = integers<int>(child(level, "Primitive Lengths"));
    a.vertices = vectors<emVec3<float>, 3>(child(level, "Vertices"));
    a.colors = {enumeration(level, "Color Binding", s_bindings), vectors<emVec4<float>, 4>(child(level, "Colors")), 4};
    a.normals = {enumeration(level, "Normal Binding", s_bindings), vectors<emVec3<float>, 3>(child(level, "Normals")),
                 3};
    a.indexed = enumeration(level, "Index Binding", s_bindings) > OFF;
    if (a.indexed)
        a.indices = integers<unsigned short>(child(level, "Indices"));
    if (const auto* box = childAs<akDebugBox<float>>(level, "Bounding Box")) {
        std::copy(box->getValue().minimum.v, box->getValue().minimum.v + 3, a.bounds.minimum);
        std::copy(box->getValue().maximum.v, box->getValue().maximum.v + 3, a.bounds.maximum);
    }
    return a;
}

// The primitives of the arrays as runs of elements (an element is an index when the arrays are
// indexed, a vertex otherwise): `corners` holds the elements of each output primitive (3 for a
// triangle, 2 for a line, 1 for a point) and `primitiveOf` the host primitive each came from.
struct Expansion
{
    Primitive kind = Primitive::Triangles;
    std::vector<uint32_t> corners;
    std::vector<uint32_t> primitiveOf;
};

bool expand(const Arrays& a, bool points, Expansion& out)
{
    const size_t vertexCount = a.vertices.size() / 3;
    const size_t elements = a.indexed ? a.indices.size() : vertexCount;
    auto valid = [&](size_t e) {
        return e < elements && (!a.indexed || (a.indices[e] >= 0 && static_cast<size_t>(a.indices[e]) < vertexCount));
    };
    auto emit = [&](uint32_t primitive, std::initializer_list<size_t> corner) {
        for (size_t e : corner)
            if (!valid(e))
                return;
        for (size_t e : corner)
            out.corners.push_back(static_cast<uint32_t>(e));
        out.primitiveOf.push_back(primitive);
    };
    const int primitive = points ? POINT : a.primitive;
    switch (primitive) {
    case POINT: out.kind = Primitive::Points; break;
    case LINE:
    case LINE_STRIP: out.kind = Primitive::Lines; break;
    case TRIANGLE:
    case TRIANGLE_STRIP:
    case TRIANGLE_FAN:
    case QUAD: out.kind = Primitive::Triangles; break;
    default: return false;
    }
    uint32_t p = 0;
    switch (primitive) {
    case POINT:
        for (size_t e = 0; e < elements; ++e)
            emit(p++, {e});
        break;
    case LINE:
        for (size_t e = 0; e + 1 < elements; e += 2)
            emit(p++, {e, e + 1});
        break;
    case TRIANGLE:
        for (size_t e = 0; e + 2 < elements; e += 3)
            emit(p++, {e, e + 1, e + 2});
        break;
    case QUAD:
        for (size_t e = 0; e + 3 < elements; e += 4, ++p) {
            emit(p, {e, e + 1, e + 2});
            emit(p, {e, e + 2, e + 3});
        }
        break;
    default: {
        // Strips and fans: one run of elements per primitive length, or one run of all of them
        // when the arrays give no lengths.
        std::vector<size_t> runs;
        const size_t count = std::min(a.lengths.size(), static_cast<size_t>(std::max(a.numPrimitives, 0)));
        for (size_t i = 0; i < count; ++i)
            runs.push_back(static_cast<size_t>(std::max(a.lengths[i], 0LL)));
        if (runs.empty())
            runs.push_back(elements);
        size_t first = 0;
        for (size_t length : runs) {
            if (length > elements - first)
                length = elements - first;
            for (size_t i = 0; i + (primitive == LINE_STRIP ? 1 : 2) < length; ++i) {
                const size_t e = first + i;
                if (primitive == LINE_STRIP)
                    emit(p, {e, e + 1});
                else if (primitive == TRIANGLE_FAN)
                    emit(p, {first, e + 1, e + 2});
                else if (i % 2 == 0)
                    emit(p, {e, e + 1, e + 2});
                else
                    emit(p, {e + 1, e, e + 2});
            }
            first += length;
            ++p;
        }
    }
    }
    return !out.corners.empty();
}

// Vertices and indices of expanded arrays. Attributes bound per primitive give each corner a vertex
// of its own; otherwise the arrays' vertices are kept and the indices point at them.
void build(const Arrays& a, const Expansion& x, Mesh& mesh)
{
    const size_t vertexCount = a.vertices.size() / 3;
    const bool hasColors = a.colors.binding > OFF && !a.colors.values.empty();
    const bool hasNormals = a.normals.binding > OFF && !a.normals.values.empty();
    const bool split =
        (hasColors && a.colors.binding == PER_PRIMITIVE) || (hasNormals && a.normals.binding == PER_PRIMITIVE);
    const size_t perPrimitive = x.kind == Primitive::Triangles ? 3 : x.kind == Primitive::Lines ? 2 : 1;
    mesh.primitive = x.kind;

    auto vertex = [&](size_t v, size_t primitive) {
        mesh.positions.insert(mesh.positions.end(), &a.vertices[v * 3], &a.vertices[v * 3] + 3);
        if (hasNormals) {
            const float* n = a.normals.at(primitive, v);
            const float zero[3] = {0, 0, 0};
            mesh.normals.insert(mesh.normals.end(), n ? n : zero, (n ? n : zero) + 3);
        }
        if (hasColors) {
            const float* c = a.colors.at(primitive, v);
            const float white[4] = {1, 1, 1, 1};
            mesh.colors.push_back(packColor(c ? c : white));
        }
    };
    auto vertexOf = [&](uint32_t element) {
        return a.indexed ? static_cast<size_t>(a.indices[element]) : static_cast<size_t>(element);
    };
    if (split) {
        for (size_t i = 0; i < x.corners.size(); ++i) {
            vertex(vertexOf(x.corners[i]), x.primitiveOf[i / perPrimitive]);
            mesh.indices.push_back(static_cast<uint32_t>(i));
        }
        return;
    }
    for (size_t v = 0; v < vertexCount; ++v)
        vertex(v, 0);
    for (uint32_t element : x.corners)
        mesh.indices.push_back(static_cast<uint32_t>(vertexOf(element)));
}

// ---- shapes

void addVertex(Mesh& mesh, const float p[3], const float n[3])
{
    mesh.positions.insert(mesh.positions.end(), p, p + 3);
    mesh.normals.insert(mesh.normals.end(), n, n + 3);
}

void boxMesh(const Box& box, Mesh& mesh)
{
    mesh.primitive = Primitive::Triangles;
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            const uint32_t first = static_cast<uint32_t>(mesh.vertexCount());
            float normal[3] = {0, 0, 0};
            normal[axis] = side ? 1.0f : -1.0f;
            for (int corner = 0; corner < 4; ++corner) {
                float p[3];
                p[axis] = side ? box.maximum[axis] : box.minimum[axis];
                p[u] = (corner == 1 || corner == 2) ? box.maximum[u] : box.minimum[u];
                p[v] = corner >= 2 ? box.maximum[v] : box.minimum[v];
                addVertex(mesh, p, normal);
            }
            // Counter-clockwise seen from outside.
            const uint32_t order[2][6] = {{0, 2, 1, 0, 3, 2}, {0, 1, 2, 0, 2, 3}};
            for (uint32_t i : order[side])
                mesh.indices.push_back(first + i);
        }
}

void sphereMesh(const float center[3], float radius, Mesh& mesh)
{
    const int rings = 12, segments = 24;
    const double pi = 3.14159265358979323846;
    mesh.primitive = Primitive::Triangles;
    for (int r = 0; r <= rings; ++r)
        for (int s = 0; s <= segments; ++s) {
            const double theta = pi * r / rings, phi = 2 * pi * s / segments;
            const float n[3] = {static_cast<float>(std::sin(theta) * std::cos(phi)),
                                static_cast<float>(std::sin(theta) * std::sin(phi)),
                                static_cast<float>(std::cos(theta))};
            const float p[3] = {center[0] + radius * n[0], center[1] + radius * n[1], center[2] + radius * n[2]};
            addVertex(mesh, p, n);
        }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const uint32_t a = r * (segments + 1) + s, b = a + segments + 1;
            for (uint32_t i : {a, b, a + 1, a + 1, b, b + 1})
                mesh.indices.push_back(i);
        }
}

void normalize(double v[3])
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3 && length > 0; ++i)
        v[i] /= length;
}

void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// A square of side `size` in the plane of the points p with n . p = offset, around the point of
// the plane nearest the origin.
bool planeMesh(const emPlane<float>& plane, float size, Mesh& mesh)
{
    double n[3] = {plane[0], plane[1], plane[2]};
    normalize(n);
    if (n[0] == 0 && n[1] == 0 && n[2] == 0)
        return false;
    const double axis[3] = {std::fabs(n[2]) < 0.9 ? 0.0 : 1.0, 0.0, std::fabs(n[2]) < 0.9 ? 1.0 : 0.0};
    double u[3], v[3];
    cross(axis, n, u);
    normalize(u);
    cross(n, u, v);
    const float normal[3] = {static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2])};
    const double half = size / 2.0;
    mesh.primitive = Primitive::Triangles;
    for (int corner = 0; corner < 4; ++corner) {
        const double a = (corner == 1 || corner == 2) ? half : -half, b = corner >= 2 ? half : -half;
        float p[3];
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<float>(n[i] * plane[3] + u[i] * a + v[i] * b);
        addVertex(mesh, p, normal);
    }
    for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
        mesh.indices.push_back(i);
    return true;
}

// The point on three planes (n . p = offset each), false when they do not meet in one point.
bool meet(const emPlane<float>& a, const emPlane<float>& b, const emPlane<float>& c, float out[3])
{
    const double m[3][3] = {{a[0], a[1], a[2]}, {b[0], b[1], b[2]}, {c[0], c[1], c[2]}};
    const double d[3] = {a[3], b[3], c[3]};
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
        m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < 1e-12)
        return false;
    for (int k = 0; k < 3; ++k) {
        double r[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r[i][j] = j == k ? d[i] : m[i][j];
        const double dk = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
            r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) + r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
        out[k] = static_cast<float>(dk / det);
    }
    return std::isfinite(out[0]) && std::isfinite(out[1]) && std::isfinite(out[2]);
}

// The twelve edges of a frustum, its corners where left or right, bottom or top and near or far
// meet.
bool frustumMesh(const emFrustum<float>& frustum, Mesh& mesh)
{
    mesh.primitive = Primitive::Lines;
    for (int corner = 0; corner < 8; ++corner) {
        float p[3];
        if (!meet(frustum.planes[corner & 1], frustum.planes[2 + ((corner >> 1) & 1)],
                  frustum.planes[4 + ((corner >> 2) & 1)], p))
            return false;
        mesh.positions.insert(mesh.positions.end(), p, p + 3);
    }
    for (uint32_t a = 0; a < 8; ++a)
        for (uint32_t bit : {1u, 2u, 4u})
            if (!(a & bit)) {
                mesh.indices.push_back(a);
                mesh.indices.push_back(a | bit);
            }
    return true;
}

// Text drawn with a 3D font: each character's geometry (of the first character's primitive kind,
// without its normals and colours), moved along by the spacing of the characters before it.
bool textMesh(const akDebugObject* text, Mesh& mesh)
{
    const akDebugObject* font = level(objectAt(text, "Font"), "olFont3D");
    const akDebugAttributeBase* characters = child(font, "Characters");
    const auto* string = childAs<akDebugString>(text, "String");
    if (!characters || !string || characters->size_child() != 256)
        return false;
    float pen[3] = {0, 0, 0};
    for (const char* c = string->getValue().c_str(); *c; ++c) {
        const akDebugAttributeBase* character = characters->begin_child()[static_cast<unsigned char>(*c)];
        Mesh glyph;
        if (const akDebugObject* geometry = objectAt(character, "Geometry"); geometry && extract(geometry, glyph)) {
            if (!mesh.positions.empty() && glyph.primitive != mesh.primitive)
                continue;
            mesh.primitive = glyph.primitive;
            const uint32_t first = static_cast<uint32_t>(mesh.vertexCount());
            for (size_t i = 0; i < glyph.positions.size(); ++i)
                mesh.positions.push_back(glyph.positions[i] + pen[i % 3]);
            for (uint32_t index : glyph.indices)
                mesh.indices.push_back(first + index);
        }
        if (const auto* spacing = childAs<akDebugAttribute<emVec3<float>>>(character, "Spacing"))
            for (int i = 0; i < 3; ++i)
                pen[i] += spacing->getValue()[i];
    }
    return !mesh.indices.empty();
}

}  // namespace

bool extract(const akDebugObject* geometry, Mesh& mesh)
{
    mesh.clear();
    const akDebugObject* base = level(geometry, "olGeometryBase");
    const akDebugObject* data = base ? base : level(geometry, "olDrawFunc_Data");
    if (!data)
        return false;
    if (const akDebugObject* box = level(geometry, "olBox")) {
        if (const auto* shape = childAs<akDebugBox<float>>(box, "Box")) {
            Box b;
            std::copy(shape->getValue().minimum.v, shape->getValue().minimum.v + 3, b.minimum);
            std::copy(shape->getValue().maximum.v, shape->getValue().maximum.v + 3, b.maximum);
            if (!b.empty()) {
                boxMesh(b, mesh);
                return true;
            }
        }
    } else if (const akDebugObject* sphere = level(geometry, "olSphere")) {
        if (const auto* shape = childAs<akDebugSphere<float>>(sphere, "Sphere"); shape && shape->getValue()[3] > 0) {
            sphereMesh(shape->getValue().v, shape->getValue()[3], mesh);
            return true;
        }
    } else if (const akDebugObject* plane = level(geometry, "olPlane")) {
        float size = 1.0f;
        value(plane, "Size", size);
        if (const auto* shape = childAs<akDebugPlane<float>>(plane, "Plane"); shape && size > 0 && std::isfinite(size))
            if (planeMesh(shape->getValue(), size, mesh))
                return true;
        mesh.clear();
    } else if (const akDebugObject* frustum = level(geometry, "olFrustum")) {
        if (const auto* shape = childAs<akDebugFrustum<float>>(frustum, "Frustum"))
            if (frustumMesh(shape->getValue(), mesh))
                return true;
        mesh.clear();
    } else if (const akDebugObject* text = level(geometry, "olString")) {
        if (textMesh(text, mesh))
            return true;
        mesh.clear();
    }

    const Arrays arrays = arraysOf(data);
    Expansion expansion;
    if (expand(arrays, level(geometry, "olLightPoint") != nullptr, expansion)) {
        build(arrays, expansion, mesh);
        return true;
    }
    mesh.clear();
    if (arrays.bounds.empty())
        return false;
    boxMesh(arrays.bounds, mesh);
    mesh.standIn = true;
    return true;
}

// ---- state

namespace {

// The elements a state or draw context sets that the drawing uses (a null element sets nothing).
struct Elements
{
    const akDebugObject* material = nullptr;
    const akDebugObject* light = nullptr;
    const akDebugObject* depthTest = nullptr;
    const akDebugObject* alphaBlend = nullptr;
    const akDebugObject* modelView = nullptr;
    const akDebugObject* projection = nullptr;
};

Elements elementsOf(const akDebugObject* holder)
{
    Elements e;
    const akDebugAttributeBase* group = child(holder, "Elements");
    if (!group)
        return e;
    const std::pair<const char*, const akDebugObject * Elements::*> kinds[] = {
        {"olMaterial_Element", &Elements::material},
        {"olLight_Element", &Elements::light},
        {"olDepthTest_Element", &Elements::depthTest},
        {"olAlphaBlend_Element", &Elements::alphaBlend},
        {"olTransform_ElementModelView", &Elements::modelView},
        {"olTransform_ElementProjection", &Elements::projection}};
    for (auto it = group->begin_child(); it != group->end_child(); ++it) {
        if ((*it)->empty_child())
            continue;
        for (const auto& kind : kinds)
            if (sameTypeName((*it)->getName(), kind.first)) {
                e.*kind.second = dynamic_cast<const akDebugObject*>(*it);
                break;
            }
    }
    return e;
}

bool flag(const akDebugObject* element, const char* name, bool& out) { return element && value(element, name, out); }

bool matrixOf(const akDebugObject* element, Matrix& out)
{
    const auto* matrix = childAs<akDebugMatrix<float>>(element, "Matrix");
    if (!matrix)
        return false;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[r][c] = matrix->getValue().m[r][c];
    return true;
}

void apply(const akDebugObject* holder, DrawState& s)
{
    if (!holder)
        return;
    const Elements e = elementsOf(holder);
    if (const akDebugObject* material = objectAt(e.material, "Material"))
        if (const auto* diffuse = childAs<akDebugAttribute<emVec4<float>>>(material, "Color, Diffuse"))
            s.color = packColor(diffuse->getValue().v);
    flag(e.light, "Enable", s.lit);
    flag(e.depthTest, "Enable", s.depthTest);
    flag(e.alphaBlend, "Enable", s.blend);
    matrixOf(e.modelView, s.modelView);
    matrixOf(e.projection, s.projection);
}

}  // namespace

DrawState stateOf(const akDebugObject* state, DrawState base)
{
    apply(level(state, "olState"), base);
    return base;
}

DrawState drawState(const akDebugObject* drawContext, const akDebugObject* cullRecord)
{
    const akDebugObject* context = level(drawContext, "olDrawContext");
    const akDebugObject* inherit = level(objectAt(context, "Inherit State"), "olState");
    const akDebugObject* handed = level(objectAt(level(cullRecord, "kiCullRecord"), "State"), "olState");
    DrawState s;
    // Later ones win: the inherit state, the state handed to the draw, the context's own.
    for (const akDebugObject* holder : {inherit, handed, context})
        apply(holder, s);
    return s;
}

namespace {

bool isAffine(const Matrix& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(m.m[r][c]))
                return false;
    return m.m[0][3] == 0 && m.m[1][3] == 0 && m.m[2][3] == 0 && m.m[3][3] == 1;
}

bool vector3(const akDebugAttributeBase* level, const char* name, double out[3])
{
    emVec3<double> v;
    if (!value(level, name, v))
        return false;
    std::copy(v.v, v.v + 3, out);
    return true;
}

}  // namespace

bool nodeMatrix(const akDebugObject* node, Matrix& matrix)
{
    const akDebugObject* transform = level(node, "kiTransform");
    const akDebugObject* dof = transform ? nullptr : level(node, "kiDOF");
    const akDebugObject* holder = transform ? transform : dof;
    if (!holder)
        return false;
    if (const auto* affine = childAs<akDebugMatrix<double>>(holder, "Affine Matrix")) {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                matrix.m[r][c] = affine->getValue().m[r][c];
        if (isAffine(matrix))
            return true;
    }
    double t[3] = {0, 0, 0}, r[3] = {0, 0, 0}, s[3] = {1, 1, 1};
    vector3(holder, "Translate", t);
    vector3(holder, "Rotate", r);
    vector3(holder, "Scale", s);
    matrix = composeAffine(t, r, s);
    if (const auto* origin = dof ? childAs<akDebugMatrix<double>>(dof, "Local Origin") : nullptr) {
        Matrix o;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                o.m[i][j] = origin->getValue().m[i][j];
        if (isAffine(o))
            matrix = matrix * o;
    }
    return isAffine(matrix);
}

}  // namespace geometry
}  // namespace view
