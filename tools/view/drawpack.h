// Geometry gathered for the web page: the drawables of a draw file's frame or of a scene's nodes,
// placed by their matrices and merged into batches of one drawing state, written as one binary
// block that the page hands to the graphics card as it is.
//
// The block: the 4 bytes "AKGP", a little-endian 32-bit length, that many bytes of JSON (padded
// with blanks to a multiple of 4) describing the arrays, then the arrays, each at the byte offset
// from the end of the JSON that the description gives:
//   items: per item (a record of a frame, or a node of a scene) 12 32-bit words: key (u32: the
//     record index, or the node's id), parent item (i32, -1 for none), box of what it drew (6 f32:
//     minimum, maximum; minimum above maximum when it drew nothing), bounding sphere (4 f32:
//     centre and radius, radius below 0 for none);
//   per batch: positions (3 f32 per vertex), normals (4 i8 per vertex, 0 when the drawable gave
//     none), colours (4 u8), ids (u32: the item's position + 1, for picking), indices (u32),
//     ranges (per item in the batch, in item order: item position and first index, 2 u32).
// Batches hold one primitive kind (triangles, lines, points) drawn with one projection (from the
// header's list, 16 numbers each as the host keeps them), transparency, depth test and lighting.
#pragma once

#include "geometry.h"

#include <akdebugdraw.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

namespace view {
namespace geometry {

class Pack
{
public:
    // Starts item `key`; what is added until the next item belongs to it. `sphere` (centre and
    // radius, world coordinates) is its recorded bounds, or null. Returns its position.
    uint32_t item(uint32_t key, int32_t parent = -1, const double* sphere = nullptr);
    // The mesh through `matrix` (row vectors), into the batch of its state.
    void add(const Mesh& mesh, const Matrix& matrix, const DrawState& state);
    size_t items() const { return m_items.size(); }
    size_t vertices() const;
    // The block, with `header` (an object) merged into its JSON.
    std::string serialize(const nlohmann::json& header) const;

private:
    struct Key
    {
        Primitive primitive;
        uint32_t projection;
        bool transparent, depthTest, lit;
        bool operator==(const Key& o) const
        {
            return primitive == o.primitive && projection == o.projection && transparent == o.transparent &&
                depthTest == o.depthTest && lit == o.lit;
        }
    };
    struct Batch
    {
        Key key;
        std::vector<float> positions;
        std::vector<int8_t> normals;
        std::vector<uint32_t> colors, ids, indices, ranges;
    };
    struct Item
    {
        uint32_t key;
        int32_t parent;
        Box box;
        float sphere[4];
    };
    Batch& batchFor(const Key& key, size_t vertices);

    std::vector<Item> m_items;
    std::vector<Batch> m_batches;
    std::vector<Matrix> m_projections;
};

// The geometry or draw-function record with index `index` (of a draw file), as an item of the
// pack, drawn with its draw context's matrices and state. Other records are left out.
void addRecord(Pack& pack, uint32_t index, const akDebugDraw::Record& record);

// The nodes of a scene from its root object, each an item keyed by `keyOf(node)`, with every
// geometry of a geometry node (its first representation) placed by the accumulated matrices of
// the transforms and degree-of-freedom nodes above it, and each node's recorded bounds placed by
// those of its parent. Only nodes at or below `subtree` are added (the root when it is null).
void addScene(Pack& pack, const akDebugObject* root, const akDebugAttributeBase* subtree,
              const std::function<uint32_t(const akDebugObject*)>& keyOf);

}  // namespace geometry
}  // namespace view
