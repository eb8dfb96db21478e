// A reusable scene for benchmarks and demos: under a root node, groups of ten transformed geometry
// nodes, each with a small textured, lit cube and a render state pointing at shared materials and
// textures. The scene owns every host object it creates.
#pragma once

#include <telr.h>
#include <tels.h>

#include <memory>
#include <vector>

namespace benchscene {

class Scene
{
public:
    static constexpr int NODES_PER_GROUP = 10;
    static constexpr int NUM_SHARED = 16;  // shared materials and textures each

    // Builds a scene of `geometryNodes` geometry nodes, rounded down to whole groups of ten: the
    // groups alternate between level-of-detail and switch nodes, each group holds ten named,
    // non-identity transforms, and each transform holds one named geometry node.
    explicit Scene(int geometryNodes);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    const kiNode* getRoot() const { return m_root; }
    int getNumGeometryNodes() const { return static_cast<int>(m_geometries.size()); }
    // The drawable and the render state of geometry node i.
    const olGeometry* getGeometry(int i) const { return m_geometries[static_cast<size_t>(i)].get(); }
    const olState* getState(int i) const { return m_states[static_cast<size_t>(i)].get(); }
    // The transform above geometry node i (its groups carry none).
    const kiTransform* getTransform(int i) const { return m_transforms[static_cast<size_t>(i)]; }
    // Host objects reachable from the root: nodes, drawables, states, elements, materials and
    // textures (each counted once).
    int getNumObjects() const;

private:
    kiNode* m_root = nullptr;  // holds the graph through its reference
    std::vector<std::unique_ptr<olMaterial>> m_materials;
    std::vector<std::unique_ptr<olTexture>> m_textures;
    std::vector<std::unique_ptr<olGeometry>> m_geometries;
    std::vector<std::unique_ptr<olState>> m_states;
    std::vector<const kiTransform*> m_transforms;  // held by the graph
    std::vector<std::unique_ptr<olMaterial::Element>> m_materialElements;
    std::vector<std::unique_ptr<olTexture::Element>> m_textureElements;
    int m_numNodes = 0;
};

// The state a channel starts every frame from: every element kind set, as a host sets it.
struct InheritState
{
    InheritState();
    InheritState(const InheritState&) = delete;
    InheritState& operator=(const InheritState&) = delete;
    olMaterial defaultMaterial{"default material"};
    olLightModel defaultLightModel{"default light model"};
    olAlphaBlend::Element alphaBlend;
    olAlphaTest::Element alphaTest;
    olColorTrack::Element colorTrack;
    olDecal::Element decal;
    olDepthTest::Element depthTest;
    olDepthWrite::Element depthWrite;
    olFog::Element fog;
    olLight::Element light;
    olLightModel::Element lightModel;
    olLine::Element line;
    olMaterial::Element material;
    olMultiSample::Element multiSample;
    olNormalize::Element normalize;
    olPoint::Element point;
    olPolygon::Element polygon;
    olShadeModel::Element shadeModel;
    olShader::ElementFragment fragment;
    olShader::ElementVertex vertex;
    olStencilTest::Element stencilTest;
    olTexture::Element texture;
    olTextureBlend::Element textureBlend;
    olTextureCoordGen::Element textureCoordGen;
    olTransform::ElementModelView modelView;
    olTransform::ElementProjection projection;
    olTransform::ElementTexture textureMatrix;
    olState state{"inherit state"};
};


// A root node over host objects that the graph owns.
class Graph
{
public:
    Graph();
    ~Graph();
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;

    const kiNode* getRoot() const { return m_root; }

private:
    friend std::unique_ptr<Graph> buildInstanced(int instances);
    friend std::unique_ptr<Graph> buildExpanding(int depth);
    kiNode* m_root = nullptr;  // holds the graph through its reference
    std::unique_ptr<olGeometry> m_drawable;
    std::unique_ptr<olMaterial> m_material;
    std::unique_ptr<olMaterial::Element> m_materialElement;
    std::unique_ptr<olState> m_state;
};

// Instancing: `instances` geometry nodes under one root, all drawing one textured cube (about 200
// attributes) with one render state. Each node is read from its own record; the cube and the state
// are copies of their first record.
std::unique_ptr<Graph> buildInstanced(int instances);

// Repeats that expand: a chain of `depth` nodes, each holding the next one as its child twice. The
// file takes a few kilobytes, and reading it whole would build about 2^depth nodes.
std::unique_ptr<Graph> buildExpanding(int depth);

// A channel that draws every geometry node of a scene: one bin with a geometry cull record and a
// geometry draw per node (the first preceded by a state change), over a draw context whose inherit
// state sets every element kind, as a host sets it. A camera above the first groups looks along
// the rows: each cull record hands the draw its node's model-view matrix (the node's transform,
// then the camera's view), and the context holds the camera's perspective projection. The scene
// must outlive it.
class Drawing
{
public:
    explicit Drawing(const Scene& scene);
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    kiChannel* getChannel() { return &m_channel; }
    // The bin with the scene's draws, for adding to another channel.
    kiChannelBin* getBin() { return &m_opaque; }

private:
    std::unique_ptr<InheritState> m_inherit;
    olDrawContext m_context{"Benchmark Draw Context"};
    kiChannel m_channel{"Benchmark Channel"};
    kiChannelBin m_opaque{"Opaque"};
    std::vector<std::unique_ptr<kiGeometryBase::CullRecord>> m_cullRecords;
    std::vector<std::unique_ptr<olTransform::ElementModelView>> m_modelViews;
    olTransform::ElementModelView m_view;
    olTransform::ElementProjection m_projection;
};

}  // namespace benchscene
