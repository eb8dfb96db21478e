#include "drawpack.h"

#include <akdebugattributevalue.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace view {
namespace geometry {

namespace {

// Vertices in one batch at most, so that no buffer grows without end.
constexpr size_t s_batchVertices = size_t(1) << 22;

// The inverse of the upper 3 by 3 of a matrix, transposed: what normals are multiplied by.
bool normalMatrix(const Matrix& m, double out[3][3])
{
    const double a[3][3] = {
        {m.m[0][0], m.m[0][1], m.m[0][2]}, {m.m[1][0], m.m[1][1], m.m[1][2]}, {m.m[2][0], m.m[2][1], m.m[2][2]}};
    double cofactor[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            cofactor[i][j] = a[i1][j1] * a[i2][j2] - a[i1][j2] * a[i2][j1];
        }
    const double det = a[0][0] * cofactor[0][0] + a[0][1] * cofactor[0][1] + a[0][2] * cofactor[0][2];
    if (!std::isfinite(det) || std::fabs(det) < 1e-300)
        return false;
    // inverse = adjugate / det, adjugate = cofactor transposed; its transpose is cofactor / det.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i][j] = cofactor[i][j] / det;
    return true;
}

int8_t snorm(double v) { return static_cast<int8_t>(std::lround(std::min(std::max(v, -1.0), 1.0) * 127.0)); }

template <class T>
void append(std::string& body, const std::vector<T>& values, nlohmann::json& at, const char* name)
{
    at[name] = body.size();
    body.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
    body.resize((body.size() + 3) & ~size_t(3), '\0');
}

const char* primitiveName(Primitive primitive)
{
    switch (primitive) {
    case Primitive::Lines: return "lines";
    case Primitive::Points: return "points";
    default: return "triangles";
    }
}

}  // namespace

uint32_t Pack::item(uint32_t key, int32_t parent, const double* sphere)
{
    Item item{key, parent, Box(), {0, 0, 0, -1}};
    if (sphere && std::isfinite(sphere[3]) && sphere[3] >= 0)
        for (int i = 0; i < 4; ++i)
            item.sphere[i] = static_cast<float>(sphere[i]);
    m_items.push_back(item);
    return static_cast<uint32_t>(m_items.size() - 1);
}

size_t Pack::vertices() const
{
    size_t n = 0;
    for (const Batch& batch : m_batches)
        n += batch.positions.size() / 3;
    return n;
}

Pack::Batch& Pack::batchFor(const Key& key, size_t vertices)
{
    for (auto it = m_batches.rbegin(); it != m_batches.rend(); ++it)
        if (it->key == key) {
            if (it->positions.size() / 3 + vertices <= s_batchVertices)
                return *it;
            break;
        }
    m_batches.push_back(Batch{key, {}, {}, {}, {}, {}, {}});
    return m_batches.back();
}

void Pack::add(const Mesh& mesh, const Matrix& matrix, const DrawState& state)
{
    if (m_items.empty() || mesh.indices.empty())
        return;
    const uint32_t id = static_cast<uint32_t>(m_items.size());  // the item's position + 1
    Item& item = m_items.back();

    uint32_t projection = 0;
    // Bit for bit: a matrix matches itself even when it holds a NaN.
    while (projection < m_projections.size() &&
           // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
           std::memcmp(&m_projections[projection], &state.projection, sizeof(Matrix)) != 0)
        ++projection;
    if (projection == m_projections.size())
        m_projections.push_back(state.projection);

    bool transparent = state.blend;
    for (size_t i = 0; i < mesh.colors.size() && !transparent; ++i)
        transparent = (mesh.colors[i] >> 24) < 255;
    if (mesh.colors.empty())
        transparent = transparent || (state.color >> 24) < 255;
    const Key key{mesh.primitive, projection, transparent, state.depthTest, state.lit};
    const size_t count = mesh.vertexCount();
    Batch& batch = batchFor(key, count);
    const uint32_t first = static_cast<uint32_t>(batch.positions.size() / 3);
    if (batch.ranges.empty() || batch.ranges[batch.ranges.size() - 2] != id - 1) {
        batch.ranges.push_back(id - 1);
        batch.ranges.push_back(static_cast<uint32_t>(batch.indices.size()));
    }

    double normals[3][3];
    const bool hasNormals = mesh.normals.size() == mesh.positions.size() && normalMatrix(matrix, normals);
    for (size_t v = 0; v < count; ++v) {
        float p[3];
        transformPoint(matrix, &mesh.positions[v * 3], p);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
            p[0] = p[1] = p[2] = 0.0f;
        batch.positions.insert(batch.positions.end(), p, p + 3);
        item.box.add(p);
        double n[3] = {0, 0, 0};
        if (hasNormals) {
            const float* in = &mesh.normals[v * 3];
            for (int j = 0; j < 3; ++j)
                n[j] = in[0] * normals[0][j] + in[1] * normals[1][j] + in[2] * normals[2][j];
            const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (int j = 0; j < 3; ++j)
                n[j] = length > 0 && std::isfinite(length) ? n[j] / length : 0.0;
        }
        for (int j = 0; j < 3; ++j)
            batch.normals.push_back(snorm(n[j]));
        batch.normals.push_back(0);
        batch.colors.push_back(mesh.colors.empty() ? state.color : mesh.colors[v]);
        batch.ids.push_back(id);
    }
    for (uint32_t index : mesh.indices)
        batch.indices.push_back(first + index);
}

std::string Pack::serialize(const nlohmann::json& header) const
{
    nlohmann::json description = header.is_object() ? header : nlohmann::json::object();
    std::string body;
    Box all;
    std::vector<uint32_t> items;
    items.reserve(m_items.size() * 12);
    for (const Item& item : m_items) {
        all.add(item.box);
        uint32_t words[12];
        words[0] = item.key;
        std::memcpy(&words[1], &item.parent, 4);
        std::memcpy(&words[2], item.box.minimum, 12);
        std::memcpy(&words[5], item.box.maximum, 12);
        std::memcpy(&words[8], item.sphere, 16);
        items.insert(items.end(), words, words + 12);
    }
    nlohmann::json itemsAt = {{"count", m_items.size()}};
    append(body, items, itemsAt, "offset");
    description["items"] = itemsAt;
    description["bounds"] = all.empty() ? nlohmann::json(nullptr)
                                        : nlohmann::json({all.minimum[0], all.minimum[1], all.minimum[2],
                                                          all.maximum[0], all.maximum[1], all.maximum[2]});
    nlohmann::json projections = nlohmann::json::array();
    for (const Matrix& m : m_projections)
        projections.push_back(std::vector<double>(&m.m[0][0], &m.m[0][0] + 16));
    description["projections"] = projections;
    nlohmann::json batches = nlohmann::json::array();
    for (const Batch& batch : m_batches) {
        nlohmann::json b = {{"primitive", primitiveName(batch.key.primitive)},
                            {"projection", batch.key.projection},
                            {"transparent", batch.key.transparent},
                            {"depthTest", batch.key.depthTest},
                            {"lit", batch.key.lit},
                            {"vertices", batch.positions.size() / 3},
                            {"indices", batch.indices.size()},
                            {"rangeCount", batch.ranges.size() / 2}};
        append(body, batch.positions, b, "position");
        append(body, batch.normals, b, "normal");
        append(body, batch.colors, b, "color");
        append(body, batch.ids, b, "id");
        append(body, batch.indices, b, "index");
        append(body, batch.ranges, b, "ranges");
        batches.push_back(b);
    }
    description["batches"] = batches;

    std::string text = description.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    text.resize((text.size() + 3) & ~size_t(3), ' ');
    std::string block = "AKGP";
    const uint32_t length = static_cast<uint32_t>(text.size());
    block.append(reinterpret_cast<const char*>(&length), 4);
    block += text;
    block += body;
    return block;
}

void addRecord(Pack& pack, uint32_t index, const akDebugDraw::Record& record)
{
    if (!record.geometry || !record.channelBin)
        return;
    pack.item(index);
    Mesh mesh;
    if (!extract(record.geometry, mesh))
        return;
    const DrawState state = drawState(record.drawContext, record.cullRecord);
    pack.add(mesh, state.modelView, state);
}

namespace {

// The sphere through the matrix: the centre moved, the radius scaled by the largest scale.
void placeSphere(const Matrix& m, const emSphere<double>& in, double out[4])
{
    const float centre[3] = {static_cast<float>(in[0]), static_cast<float>(in[1]), static_cast<float>(in[2])};
    float moved[3];
    transformPoint(m, centre, moved);
    double scale = 0;
    for (int r = 0; r < 3; ++r)
        scale = std::max(scale, std::sqrt(m.m[r][0] * m.m[r][0] + m.m[r][1] * m.m[r][1] + m.m[r][2] * m.m[r][2]));
    for (int i = 0; i < 3; ++i)
        out[i] = moved[i];
    out[3] = in[3] < 0 ? -1.0 : in[3] * scale;
}

}  // namespace

void addScene(Pack& pack, const akDebugObject* root, const akDebugAttributeBase* subtree,
              const std::function<uint32_t(const akDebugObject*)>& keyOf)
{
    struct Visit
    {
        const akDebugObject* node;
        int32_t parent;  // item, -1 when none (or outside the subtree)
        Matrix above;    // the accumulated matrix of the node's ancestors
        bool inside;
    };
    std::vector<Visit> stack;
    if (root)
        stack.push_back({root, -1, Matrix::identity(), !subtree || subtree == root});
    while (!stack.empty()) {
        const Visit visit = stack.back();
        stack.pop_back();
        const akDebugObject* base = level(visit.node, "kiNode");
        if (!base)
            continue;
        const bool inside = visit.inside || visit.node == subtree;
        Matrix own = Matrix::identity();
        const Matrix world = nodeMatrix(visit.node, own) ? own * visit.above : visit.above;
        int32_t item = -1;
        if (inside) {
            double sphere[4] = {0, 0, 0, -1};
            if (const auto* bounds = dynamic_cast<const akDebugSphere<double>*>(child(base, "Bounds")))
                placeSphere(visit.above, bounds->getValue(), sphere);
            item = static_cast<int32_t>(pack.item(keyOf(visit.node), visit.parent, sphere));
            const akDebugObject* node = level(visit.node, "kiGeometryBase");
            const akDebugAttributeBase* representation = child(node, "Representation 0");
            Mesh mesh;
            if (const akDebugObject* geometry = objectAt(representation, "Geometry");
                geometry && extract(geometry, mesh))
                pack.add(mesh, world, stateOf(objectAt(representation, "State")));
        }
        const akDebugAttributeBase* children = child(base, "Children");
        if (!children)
            continue;
        for (auto it = children->end_child(); it != children->begin_child();) {
            const auto* child = dynamic_cast<const akDebugObject*>(*--it);
            if (child && !child->empty_child())
                stack.push_back({child, item, world, inside});
        }
    }
}

}  // namespace geometry
}  // namespace view
