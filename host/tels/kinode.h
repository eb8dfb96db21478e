// kiNode: the scene-graph node with its parent and child links, masks, update counters and bounds.
#pragma once

#include <embase.h>
#include <emvalues.h>

#include <vector>

// Ownership of nodes
// ------------------
// A parent holds one reference (emMemBase::ref) on each of its children. Children must be made
// with `new`. When a node is destroyed it leaves the child lists of its parents and releases its
// children: a child whose reference count drops to 0 is deleted, so deleting a root frees its whole
// graph. A child shared by two parents has a count of 2 and lives until its last parent releases it.
// Deleting a node that still has parents is also safe: it is taken out of their child lists first.
// Whoever wants a node to outlive its parents takes a reference of its own (ref) and later gives it
// back with kiNode::release.
class kiNode : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    using const_iterator_parent = std::vector<kiNode*>::const_iterator;
    using const_iterator_child = std::vector<kiNode*>::const_iterator;

    explicit kiNode(const char* name = nullptr);
    ~kiNode() override;
    kiNode(const kiNode&) = delete;
    kiNode& operator=(const kiNode&) = delete;

    // Drops one reference; deletes the node when none is left. Returns the remaining count.
    static int release(kiNode* node);

    // Appends `child` (which takes a reference) and enters this node in the child's parent list.
    // A null child, this node itself or one of its ancestors (a cycle) is refused with a level 6
    // message; result 1 or -32767. A child may be added twice; it is then listed twice.
    int addChild(kiNode* child);
    // Removes the first occurrence of `child` and releases it (deleting it when no reference is
    // left). Result 1, or -32767 when `child` is not a child of this node.
    int removeChild(kiNode* child);

    const_iterator_parent begin_parent() const { return m_parents.begin(); }
    const_iterator_parent end_parent() const { return m_parents.end(); }
    unsigned int size_parent() const { return static_cast<unsigned int>(m_parents.size()); }
    const_iterator_child begin_child() const { return m_children.begin(); }
    const_iterator_child end_child() const { return m_children.end(); }
    unsigned int size_child() const { return static_cast<unsigned int>(m_children.size()); }
    kiNode* getChild(unsigned int i) const { return i < m_children.size() ? m_children[i] : nullptr; }
    kiNode* getParent(unsigned int i) const { return i < m_parents.size() ? m_parents[i] : nullptr; }

    unsigned int getCullMask() const { return m_cullMask; }
    unsigned int getRenderMask() const { return m_renderMask; }
    unsigned int getIsectMask() const { return m_isectMask; }
    bool getBranchUpdateEnable() const { return m_branchUpdateEnable; }
    short getNumUpdateRequests() const { return m_numUpdateRequests; }
    short getNumGraphChangedRequests() const { return m_numGraphChangedRequests; }
    bool getStaticBoundsEnable() const { return m_staticBoundsEnable; }
    // Centre and radius; a negative radius is an empty sphere.
    emSphere<double> getBounds() const { return m_bounds; }
    short getTotalNumUpdateRequests() const { return m_totalNumUpdateRequests; }
    short getTotalNumGraphChangedRequests() const { return m_totalNumGraphChangedRequests; }

    void setCullMask(unsigned int mask) { m_cullMask = mask; }
    void setRenderMask(unsigned int mask) { m_renderMask = mask; }
    void setIsectMask(unsigned int mask) { m_isectMask = mask; }
    void setBranchUpdateEnable(bool enable) { m_branchUpdateEnable = enable; }
    void setNumUpdateRequests(short n) { m_numUpdateRequests = n; }
    void setNumGraphChangedRequests(short n) { m_numGraphChangedRequests = n; }
    void setStaticBoundsEnable(bool enable) { m_staticBoundsEnable = enable; }
    void setBounds(const emSphere<double>& bounds) { m_bounds = bounds; }
    void setTotalNumUpdateRequests(short n) { m_totalNumUpdateRequests = n; }
    void setTotalNumGraphChangedRequests(short n) { m_totalNumGraphChangedRequests = n; }

private:
    bool isAncestor(const kiNode* node) const;

    std::vector<kiNode*> m_parents;
    std::vector<kiNode*> m_children;
    unsigned int m_cullMask = 0xFFFFFFFFu;
    unsigned int m_renderMask = 0xFFFFFFFFu;
    unsigned int m_isectMask = 0xFFFFFFFFu;
    bool m_branchUpdateEnable = true;
    short m_numUpdateRequests = 0;
    short m_numGraphChangedRequests = 0;
    bool m_staticBoundsEnable = false;
    emSphere<double> m_bounds{0.0, 0.0, 0.0, -1.0};
    short m_totalNumUpdateRequests = 0;
    short m_totalNumGraphChangedRequests = 0;
};

// Per-representation values of a node (channel bin ids, geometry, lights...). Grows on demand up to
// kMaxRepresentations; reading a representation that was never set gives the value-initialised T.
template <class T>
class kiRepresentationList
{
public:
    static constexpr int kMaxRepresentations = 8;

    const T& get(int i) const
    {
        static const T none{};
        return i >= 0 && i < static_cast<int>(m_values.size()) ? m_values[i] : none;
    }
    // The slot of representation i, made on demand; null for an index outside 0..kMax-1.
    T* edit(int i)
    {
        if (i < 0 || i >= kMaxRepresentations)
            return nullptr;
        if (i >= static_cast<int>(m_values.size()))
            m_values.resize(i + 1);
        return &m_values[i];
    }

private:
    std::vector<T> m_values;
};

// Options of the host's node loader, as the application's pageable geometry keeps them.
class kiNodeLoader
{
public:
    struct Data
    {
        enum BuilderNormalMode : int {
            BUILDER_NORMAL_MODE_GENERATE_PER_VERTEX = 0,
            BUILDER_NORMAL_MODE_GENERATE_PER_PRIMITIVE = 1,
            BUILDER_NORMAL_MODE_ORIENT_TO_VERTICES = 2,
            BUILDER_NORMAL_MODE_PRESERVE = 3
        };
        enum LoaderUnits : int {
            LOADER_UNITS_METERS = 0,
            LOADER_UNITS_KILOMETERS = 1,
            LOADER_UNITS_FEET = 2,
            LOADER_UNITS_INCHES = 3,
            LOADER_UNITS_NAUTICAL_MILES = 4
        };
        enum LoaderOption : int {
            LOADER_OPTION_COMBINE_LIGHT_POINTS = 0,
            LOADER_OPTION_RESERVED_1 = 1,
            LOADER_OPTION_RESERVED_2 = 2,
            LOADER_OPTION_SHARE_LIGHT_POINT_CONTROLS = 3,
            LOADER_OPTION_COMBINE_LODS = 4,
            LOADER_OPTION_CREATE_ANIMATIONS = 5,
            LOADER_OPTION_IGNORE_DOF_CONSTRAINTS = 6,
            LOADER_OPTION_PRESERVE_EXTERNAL_REFERENCE_FLAGS = 7,
            LOADER_OPTION_PRESERVE_GENERIC_NAMES = 8,
            LOADER_OPTION_PRESERVE_GENERIC_NODES = 9,
            LOADER_OPTION_PRESERVE_QUADS = 10,
            LOADER_OPTION_ALL_GEOMETRIES_LIT = 11,
            LOADER_OPTION_USE_MATERIAL_DIFFUSE_COLOR = 12,
            LOADER_OPTION_MONOCHROME = 13,
            LOADER_OPTION_COUNT = 14
        };
        enum BuilderOption : int {
            BUILDER_OPTION_OPTIMIZE_GEOMETRIES = 0,
            BUILDER_OPTION_COLLAPSE_BINDINGS = 1,
            BUILDER_OPTION_COLLAPSE_TRIANGLE_STRIPS = 2,
            BUILDER_OPTION_COUNT = 3
        };
        enum GeometryOption : int { GEOMETRY_OPTION_GENERATE_DISPLAY_LISTS = 0, GEOMETRY_OPTION_COUNT = 1 };
    };
};
