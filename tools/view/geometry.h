// What the module read, made drawable: the geometry of a record or a scene node as vertex and index
// arrays ready for a graphics card, the state a record was drawn with, and the transforms of a
// scene. Everything is read from the attribute trees; a damaged file gives less to draw, never a
// crash.
//
// Host conventions: matrices are kept as m[row][column] and multiply row vectors (p' = p M), so a
// translation sits in row 3 and "a then b" is a * b. Rotations are heading, pitch and roll in
// degrees: roll about Y first, then pitch about X, then heading about Z. A transform's matrix is
// scale, then rotation, then translation; a degree-of-freedom node applies its local origin after
// that.
#pragma once

#include <akdebugattribute.h>

#include <cstdint>
#include <vector>

namespace view {
namespace geometry {

struct Matrix
{
    double m[4][4];
    static Matrix identity();
    // The matrix of `m` read as rows: m[0..3] is row 0.
    static Matrix fromRows(const double* values);
};
// p (a b): a first, then b.
Matrix operator*(const Matrix& a, const Matrix& b);
Matrix composeAffine(const double translate[3], const double hpr[3], const double scale[3]);
// The point p (row vector, w = 1) through the matrix, divided by w when w is not 1.
void transformPoint(const Matrix& matrix, const float in[3], float out[3]);

struct Box
{
    float minimum[3] = {0, 0, 0};
    float maximum[3] = {-1, -1, -1};
    bool empty() const { return minimum[0] > maximum[0] || minimum[1] > maximum[1] || minimum[2] > maximum[2]; }
    void add(const float p[3]);
    void add(const Box& other);
};

enum class Primitive : uint8_t { Triangles = 0, Lines = 1, Points = 2 };

// A drawable: vertices with a normal each (none: lit by the faces' own slope) and a colour each
// (none: the colour of the draw's state), and indices making triangles, lines or points.
struct Mesh
{
    Primitive primitive = Primitive::Triangles;
    std::vector<float> positions;   // x, y, z per vertex
    std::vector<float> normals;     // x, y, z per vertex, or empty
    std::vector<uint32_t> colors;   // RGBA, red in the low byte, per vertex, or empty
    std::vector<uint32_t> indices;  // 3, 2 or 1 per primitive, each below the vertex count
    // Drawn from the bounding box: the drawable holds no arrays to draw (a draw function without
    // data, or vertices that make no primitive).
    bool standIn = false;

    size_t vertexCount() const { return positions.size() / 3; }
    void clear();
};

// The drawable of a geometry object (olGeometryBase or a kind of it) or of draw-function data:
// its arrays expanded by primitive kind and lengths, with bindings overall, per primitive and per
// vertex made per-vertex; shapes (box, sphere, plane, frustum) built from their parameters; text
// from its 3D font's characters; otherwise the bounding box. False when there is nothing to draw.
bool extract(const akDebugObject* geometry, Mesh& mesh);

// RGBA as packed in Mesh::colors, from components 0 to 1.
uint32_t packColor(const float rgba[4]);

// The state a draw was drawn with, enough to draw it as it was seen and to tell draws apart.
struct DrawState
{
    Matrix modelView = Matrix::identity();
    Matrix projection = Matrix::identity();
    uint32_t color = 0xFFFFFFFF;  // the material's diffuse colour, else white
    bool lit = true;
    bool depthTest = true;
    bool blend = false;
};

// Each element comes from the first of: the draw context's own elements, the state the cull
// record handed to the draw, the context's inherit state. Either object may be null.
DrawState drawState(const akDebugObject* drawContext, const akDebugObject* cullRecord);
// The colour, lighting, depth test and blending of a render state (olState), over `base`.
DrawState stateOf(const akDebugObject* state, DrawState base = DrawState());

// The matrix a scene node puts on its children: that of a transform (every kind of kiTransform)
// or of a degree-of-freedom node (every kind of kiDOF); false for other nodes. The recorded affine
// matrix is used when it is affine, else the matrix composed from the translation, rotation and
// scale.
bool nodeMatrix(const akDebugObject* node, Matrix& matrix);

// The first child of a group with this name, or null.
const akDebugAttributeBase* child(const akDebugAttributeBase* group, const char* name);
// The child object with this name when it holds something (not a null or address-only reference).
const akDebugObject* objectAt(const akDebugAttributeBase* group, const char* name);

// True when a type or element name read from a file names the registered type `typeName`: a "_"
// of the registered name stands for the "::" of a nested host class.
bool sameTypeName(const char* name, const char* typeName);

// The class level `typeName` of an object: the object itself or one of the nested objects of its
// base classes. Null when the object has no such level.
const akDebugObject* level(const akDebugObject* object, const char* typeName);

}  // namespace geometry
}  // namespace view
