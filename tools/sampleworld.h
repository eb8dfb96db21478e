// The sample world: a small scene on the stand-in host that holds at least one object of every
// concrete host class the module knows, so that a scene file written from its root and a draw file
// recorded from its channel together hold every registered type. Tests, fuzz seeds and the demo
// build on it.
//
// Besides one object of every class, the world holds what viewers and readers must cope with:
// named and unnamed objects (names with blanks, one with a line break and an escape character),
// objects shared by two references (repeat records), address-only back references (parents, the
// node and texture lists of a geometry container, the copy source of an object), validation
// messages, per-representation data for two channel representations, and a channel whose bins
// hold geometry draws, draw-function draws and state changes under every kind of cull record
// (those of the scene graph, the environment and the effects).
//
// The world owns every host object it creates and frees them all when it is destroyed. The
// channel representation count is global to the host: the world sets it to 2 for its lifetime
// and restores the previous count when it is destroyed.
#pragma once

#include <akapp.h>
#include <akenv.h>
#include <akfx.h>
#include <hostobjects.h>
#include <telr.h>
#include <tels.h>

#include <memory>
#include <utility>
#include <vector>

namespace sampleworld {

// Names of objects that tests look for.
namespace names {
constexpr const char* ROOT = "Sample World";
constexpr const char* SHARED_GEOMETRY = "Shared Geometry";  // a node with two parents
constexpr const char* SHARED_TEXTURE = "Shared Texture";    // used by two render states
constexpr const char* UNUSED_TEXTURE = "Unused Texture";    // listed by address only
constexpr const char* FULL_STATE = "Full State";            // sets every element kind
constexpr const char* OBJECT = "Cargo";                     // an application object
constexpr const char* OBJECT_COPY = "Cargo Copy";           // copied from OBJECT
constexpr const char* CHANNEL = "Sample Channel";
constexpr const char* DRAW_CONTEXT = "Draw Context";
constexpr const char* DRAW_FUNCTION = "Draw Sky Function";  // the draw-function draw
constexpr const char* STATE_CHANGE = "Reset State";         // a state change alone
// A name a viewer must show safely: a line break and a terminal escape sequence.
constexpr const char* ESCAPED = "Line one\nline two \x1b[1mbold\x1b[0m";
}  // namespace names

class World : private HostObjects
{
public:
    static constexpr int NUM_REPRESENTATIONS = 2;

    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The root of the scene graph (an application scene).
    kiNode* getRoot() const { return m_root; }
    // The channel, with its draw context and bins set up to draw the world. A draw recorder
    // installed on it must be destroyed (or uninstalled) before the world.
    kiChannel* getChannel() const { return m_channel; }
    // The channel representations the world's nodes have data for.
    int getNumRepresentations() const { return NUM_REPRESENTATIONS; }

    const kiGeometry* getSharedGeometry() const { return m_sharedGeometry; }
    const olTexture* getSharedTexture() const { return m_sharedTexture; }
    const olState* getFullState() const { return m_fullState; }
    const olDrawContext* getDrawContext() const { return m_drawContext; }
    const akObject* getObject() const { return m_object; }
    const kiNode* getEscapedNode() const { return m_escapedNode; }

private:
    // One builder per host library, called in this order.
    void buildUtility();
    void buildRenderStateObjects();
    void buildRenderStates();
    void buildRenderDrawables();
    void buildSceneGraph();
    void buildApplication();
    void buildChannel();
    void buildEnvironment();
    void buildEffects();
    // A drawable with the arrays of a unit quad.
    olGeometry* quad(const char* name);
    // A geometry node under `parent` drawing `geometry` with an empty state in representation 0.
    template <class T>
    T* drawing(kiNode* parent, const char* name, const olGeometryBase* geometry)
    {
        T* geometryNode = node<T>(parent, name);
        geometryNode->setGeometryBase(0, geometry);
        geometryNode->setState(0, m_emptyState);
        return geometryNode;
    }

    int m_previousRepresentations = 1;
    akScene* m_root = nullptr;  // holds the whole graph through its reference
    kiChannel* m_channel = nullptr;
    emPalette* m_palette = nullptr;

    // Render state objects.
    olTexture* m_sharedTexture = nullptr;
    olTexture* m_detailTexture = nullptr;
    olTexture* m_unusedTexture = nullptr;
    olTextureBlend* m_textureBlend = nullptr;
    olTextureCoordGen* m_coordGen = nullptr;
    olMaterial* m_material = nullptr;
    olLight* m_light = nullptr;
    olLightModel* m_lightModel = nullptr;
    olFog* m_fog = nullptr;
    olShader* m_fragmentShader = nullptr;
    olShader* m_vertexShader = nullptr;
    olLightPointAppearance* m_appearance = nullptr;
    olLightPointAnimation* m_animation = nullptr;

    // Render states and the elements the channel's cull records point at.
    olState* m_fullState = nullptr;
    olState* m_texturedState = nullptr;
    olState* m_emptyState = nullptr;
    olTransform::ElementModelView* m_modelView = nullptr;
    olTransform::ElementProjection* m_projection = nullptr;
    olTransform::ElementTexture* m_textureTransform = nullptr;
    olTexture::Element* m_textureElement = nullptr;
    olTextureBlend::Element* m_textureBlendElement = nullptr;

    // Drawables.
    olGeometry* m_mesh = nullptr;
    olGeometry* m_frameMesh = nullptr;
    olGeometry* m_highlightMesh = nullptr;
    olGeometry* m_normalsMesh = nullptr;
    olBox* m_box = nullptr;
    olFrustum* m_frustum = nullptr;
    olPlane* m_plane = nullptr;
    olSphere* m_sphere = nullptr;
    olString* m_flatText = nullptr;
    olString* m_solidText = nullptr;
    olLightPoint* m_lightPoints = nullptr;
    olDrawFunc::Data* m_drawData = nullptr;

    // Scene-graph objects referenced outside the graph.
    kiCullRecordFactory* m_cullRecordFactory = nullptr;
    kiGeometry* m_sharedGeometry = nullptr;
    kiLight* m_lightNode = nullptr;
    kiNode* m_escapedNode = nullptr;
    kiDOF* m_hinge = nullptr;

    // Application objects.
    akTransform* m_vehicle = nullptr;
    akObject* m_object = nullptr;
    akIsector* m_isector = nullptr;
    akCoordConverter* m_sceneConverter = nullptr;

    // The channel.
    olDrawContext* m_drawContext = nullptr;
    kiChannelBin* m_opaqueBin = nullptr;
    kiChannelBin* m_lightPointBin = nullptr;
    kiChannelBin* m_skyBin = nullptr;  // environment and effects draws
};

}  // namespace sampleworld
