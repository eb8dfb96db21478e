// A small place to look at, for the demo: a green ground, a road with a dashed centre line, houses
// and towers (boxes, one with a pyramid roof), trees (a trunk and a crown under a level-of-detail
// node), a barrier whose arm hangs on a degree-of-freedom node, a string of street lights (light
// points) and a sign with the text "AKDEBUG" drawn with a 3D font, all under transforms.
//
// It has a channel of its own whose camera looks at the place: one bin with a cull record per
// geometry node that a cull pass reaches (the near child of each level of detail), carrying the
// node's render state and the model-view matrix that places it in front of the camera (the
// place's accumulated transforms, then the camera's view), and a draw context with a perspective
// projection and an inherit state that sets every element kind. Nodes carry bounds (in their
// parent's coordinates) computed from what they hold.
//
// Coordinates: metres, Z up, the road along X; matrices as the host keeps them (row vectors).
#pragma once

#include <benchscene.h>
#include <hostobjects.h>
#include <telr.h>
#include <tels.h>

#include <memory>
#include <utility>
#include <vector>

namespace demoplace {

namespace names {
constexpr const char* ROOT = "Demo Place";
constexpr const char* CHANNEL = "Place Channel";
constexpr const char* SIGN = "Sign Text";
}  // namespace names

class Place : private HostObjects
{
public:
    Place();
    ~Place();
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;

    // The place's root; a parent that adds it takes a reference of its own.
    kiNode* getRoot() const { return m_root; }
    // The channel whose camera looks at the place. A recorder installed on it must be destroyed
    // (or uninstalled) before the place.
    kiChannel* getChannel() { return &m_channel; }
    // Geometry nodes the channel draws in each frame.
    int getNumDraws() const { return static_cast<int>(m_cullRecords.size()); }

private:
    // A render state whose material has this diffuse colour.
    olState* colored(const char* name, float r, float g, float b);
    // A geometry node under `parent` drawing `geometry` with `state`.
    kiGeometry* drawing(kiNode* parent, const char* name, const olGeometryBase* geometry, const olState* state);
    kiTransform* placed(kiNode* parent, const char* name, double x, double y, double z, double heading = 0);

    void buildGround();
    void buildHouses();
    void buildTrees();
    void buildBarrier();
    void buildLights();
    void buildSign();
    void buildChannel();

    std::unique_ptr<benchscene::InheritState> m_inherit;
    kiNode* m_root = nullptr;  // holds the graph through its reference
    olDrawContext m_context{"Place Draw Context"};
    olTransform::ElementModelView m_cameraView;
    olTransform::ElementProjection m_projection;
    kiChannel m_channel{names::CHANNEL};
    kiChannelBin m_bin{"Place Bin"};
    std::vector<std::unique_ptr<kiGeometryBase::CullRecord>> m_cullRecords;
    olBox* m_unitBox = nullptr;
    olSphere* m_crown = nullptr;
};

}  // namespace demoplace
