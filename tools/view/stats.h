// Statistics of a file: for a draw file, what each frame cost (records by kind, draws per channel
// bin, vertices and primitives drawn, state changes and how many were redundant, the distinct
// geometries, states, textures, shaders and materials used); for a scene file, what it holds (per
// class the objects and their references, nodes by kind, vertices and primitives once per object and per
// use, the depth of the node graph, error marks by level).
//
// A draw file's statistics are gathered record by record; an object that the file stores once and
// repeats is looked into once, however often it is drawn.
#pragma once

#include "records.h"

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace view {

class JsonText;

// What a geometry (or draw-function data) holds: its vertices, and its primitives, all of one kind
// (the primitive's name as its attribute shows it; empty when it has none).
struct GeometryMeasure
{
    unsigned long long vertices = 0, primitives = 0;
    std::string primitive;
};
GeometryMeasure measureGeometry(const akDebugAttributeBase* geometry);

// The counts of one frame of a draw file (or, for the whole file, of all frames).
struct FrameStats
{
    unsigned int frame = 0;
    unsigned long long records[5] = {0, 0, 0, 0, 0};  // by RecordKind
    unsigned long long draws = 0, vertices = 0, stateChanges = 0, redundantStateChanges = 0;
    std::map<std::string, unsigned long long> primitives;  // by the primitive's name, as its attribute shows it
    // Draws by the channel bin's name; an unnamed bin by its address ("0x1A2B"), draws without one
    // under "(none)".
    std::map<std::string, unsigned long long> bins;
    // Host addresses of the objects used, by kind: geometries drawn, and the states, textures,
    // shaders and materials that the draws' objects refer to.
    enum Distinct { Geometries, States, Textures, Shaders, Materials, DistinctKinds };
    std::unordered_set<unsigned int> distinct[DistinctKinds];
};
// "geometries", "states", "textures", "shaders", "materials".
const char* nameOf(FrameStats::Distinct kind);

// Gathers a draw file's statistics from its records, in file order.
class DrawStats
{
public:
    void add(const RecordView& view);
    const std::vector<FrameStats>& frames() const { return m_frames; }
    // All frames together; `frame` is the number of frames.
    const FrameStats& total() const { return m_total; }

private:
    // What a draw's geometry holds (its primitive's name kept once for the file).
    struct Geometry
    {
        unsigned long long vertices = 0, primitives = 0;
        const std::string* primitive = nullptr;
    };
    Geometry geometryOf(const akDebugObject* geometry);
    // The objects of the kinds counted (kind and host address) at and below `attribute`, appended
    // to `into`; below a source of repeats looked into once, for all its copies.
    using Uses = std::vector<std::pair<int, unsigned int>>;
    void collectUses(const akDebugAttributeBase* attribute, Uses& into);
    void collectHere(const akDebugAttributeBase* attribute, Uses& into);
    // The kind of FrameStats::Distinct an object counts as, -1 for none, s_drawable for a geometry.
    int kindOf(const akDebugObject* object);
    static constexpr int s_drawable = -2;

    std::vector<FrameStats> m_frames;
    FrameStats m_total;
    std::set<std::string> m_primitives;
    // Per source of repeats: its geometry; the uses at and below it.
    std::unordered_map<const akDebugObject*, Geometry> m_geometries;
    std::unordered_map<const akDebugObject*, Uses> m_uses;
    Uses m_recordUses;
    std::unordered_map<const void*, int> m_kinds;
};

// The statistics of a scene file's tree.
struct SceneStats
{
    struct Uses
    {
        // Distinct host objects; the references that hold one whole (read in full or repeated: each
        // use of an object); references to them by address only.
        unsigned long long unique = 0, references = 0, byAddress = 0;
    };
    std::map<std::string, Uses> classes;
    std::map<std::string, unsigned long long> nodes;  // distinct nodes by their type
    // Per distinct geometry, and per use of one.
    struct Amount
    {
        unsigned long long unique = 0, instanced = 0;
    };
    Amount vertices;
    std::map<std::string, Amount> primitives;
    unsigned int depth = 0;  // nodes on the longest way down from the root
    std::map<int, unsigned long long> errors;
};
SceneStats sceneStats(const akDebugAttributeBase* root);

// The statistics as the text output prints them, and as one JSON object (the shape README.md
// gives): {"file":...,"kind":"draw","frames":[...],"total":{...},"complete":...} or
// {"file":...,"kind":"scene","classes":{...},...,"complete":...}. `complete` tells whether the file
// was read whole.
void printStats(const DrawStats& stats);
void printStats(const SceneStats& stats);
void writeStats(JsonText& out, const std::string& file, const DrawStats& stats, bool complete);
void writeStats(JsonText& out, const std::string& file, const SceneStats& stats, bool complete);

}  // namespace view
