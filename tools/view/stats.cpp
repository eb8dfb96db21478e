#include "stats.h"

#include "compare.h"

#include <akdebugattributevalue.h>
#include <akdebugtype.h>

#include <cstdio>
#include <cstring>

namespace view {

namespace {

std::string valueOf(const akDebugAttributeBase* attribute)
{
    char text[akDebugAttributeBase::s_stringBufferSize];
    attribute->getValueString(text);
    return text;
}

// True when the type definition is `name` or derives from it.
bool derivesFrom(const akDebugType* type, const char* name)
{
    for (const akDebugTypeDef* def = type ? type->getTypeDef() : nullptr; def; def = def->getBaseTypeDef())
        if (std::strcmp(def->getName(), name) == 0)
            return true;
    return false;
}

// The name a channel bin is counted under.
std::string binName(const akDebugObject* bin)
{
    if (!bin || bin->getValue() == 0)
        return "(none)";
    const auto* name = dynamic_cast<const akDebugAttribute<emString>*>(fieldOf(bin, "Name"));
    if (name && name->getValue().c_str()[0])
        return name->getValue().c_str();
    return valueOf(bin);
}

}  // namespace

GeometryMeasure measureGeometry(const akDebugAttributeBase* geometry)
{
    GeometryMeasure measure;
    const akDebugAttributeBase* array = fieldOf(geometry, "Vertices");
    measure.vertices = array ? array->size_child() : 0;
    const auto* count = dynamic_cast<const akDebugAttribute<int>*>(fieldOf(geometry, "Number of Primitives"));
    measure.primitives = count && count->getValue() > 0 ? static_cast<unsigned long long>(count->getValue()) : 0;
    const akDebugAttributeBase* kind = fieldOf(geometry, "Primitive");
    if (kind)
        measure.primitive = valueOf(kind);
    return measure;
}

const char* nameOf(FrameStats::Distinct kind)
{
    static const char* const names[] = {"geometries", "states", "textures", "shaders", "materials"};
    return names[kind];
}

int DrawStats::kindOf(const akDebugObject* object)
{
    const akDebugType* type = object->getType();
    auto known = m_kinds.find(type);
    if (known != m_kinds.end())
        return known->second;
    static const std::pair<const char*, FrameStats::Distinct> kinds[] = {{"olState", FrameStats::States},
                                                                         {"olTexture", FrameStats::Textures},
                                                                         {"olShader", FrameStats::Shaders},
                                                                         {"olMaterial", FrameStats::Materials}};
    int kind = -1;
    for (const auto& each : kinds)
        if (type && std::strcmp(type->getName(), each.first) == 0)
            kind = each.second;
    // What is drawn holds no state, texture, shader or material: not looked into.
    if (derivesFrom(type, "olGeometryBase") || derivesFrom(type, "olDrawFunc::Data"))
        kind = s_drawable;
    m_kinds.emplace(type, kind);
    return kind;
}

DrawStats::Geometry DrawStats::geometryOf(const akDebugObject* geometry)
{
    const akDebugObject* source = sourceOf(geometry);
    if (source) {
        auto known = m_geometries.find(source);
        if (known != m_geometries.end())
            return known->second;
    }
    const GeometryMeasure measure = measureGeometry(geometry);
    const Geometry measured{measure.vertices, measure.primitives,
                            measure.primitive.empty() ? nullptr : &*m_primitives.insert(measure.primitive).first};
    if (source)
        m_geometries.emplace(source, measured);
    return measured;
}

void DrawStats::collectUses(const akDebugAttributeBase* attribute, Uses& into)
{
    const akDebugObject* source = sourceOf(attribute);
    if (!source) {
        collectHere(attribute, into);
        return;
    }
    // Every copy holds what its source holds.
    auto known = m_uses.find(source);
    if (known == m_uses.end()) {
        Uses below;
        collectHere(attribute, below);
        known = m_uses.emplace(source, std::move(below)).first;
    }
    into.insert(into.end(), known->second.begin(), known->second.end());
}

void DrawStats::collectHere(const akDebugAttributeBase* attribute, Uses& into)
{
    if (attribute->empty_child())
        return;
    const akDebugObject* object = typedObject(attribute);
    if (object && object->hasAddress() && object->getValue() != 0) {
        const int kind = kindOf(object);
        if (kind == s_drawable)
            return;
        if (kind >= 0)
            into.emplace_back(kind, object->getValue());
    }
    for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
        collectUses(*it, into);
}

void DrawStats::add(const RecordView& view)
{
    const akDebugDraw::Record& record = *view.record;
    if (m_frames.empty() || m_frames.back().frame != record.frame) {
        m_frames.emplace_back();
        m_frames.back().frame = record.frame;
        m_total.frame = static_cast<unsigned int>(m_frames.size());
    }
    FrameStats& frame = m_frames.back();
    const Geometry geometry = view.isDraw() && record.geometry ? geometryOf(record.geometry) : Geometry();
    for (FrameStats* counts : {&frame, &m_total}) {
        ++counts->records[static_cast<int>(view.kind)];
        if (view.kind == RecordKind::StateChange) {
            ++counts->stateChanges;
            counts->redundantStateChanges += view.redundant;
        }
        if (!view.isDraw())
            continue;
        ++counts->draws;
        ++counts->bins[binName(record.channelBin)];
        counts->vertices += geometry.vertices;
        if (geometry.primitive)
            counts->primitives[*geometry.primitive] += geometry.primitives;
        if (record.geometry && record.geometry->getValue() != 0)
            counts->distinct[FrameStats::Geometries].insert(record.geometry->getValue());
    }
    m_recordUses.clear();
    for (const akDebugObject* object : view.objects())
        collectUses(object, m_recordUses);
    for (const auto& use : m_recordUses) {
        frame.distinct[use.first].insert(use.second);
        m_total.distinct[use.first].insert(use.second);
    }
}

namespace {

class SceneWalk
{
public:
    SceneStats stats;

    void visit(const akDebugAttributeBase* attribute, unsigned int depth)
    {
        auto errors = akDebugAttributeBase::range_error(attribute);
        for (auto it = errors.first; it != errors.second; ++it)
            ++stats.errors[static_cast<int>(it->second.first)];
        const auto* object = dynamic_cast<const akDebugObject*>(attribute);
        if (object && object->hasAddress() && object->getValue() != 0 && object->getType())
            depth = use(object, depth);
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            visit(*it, depth);
    }

private:
    struct Kind
    {
        std::string name;
        bool node = false, geometry = false;
    };

    // Counts one place where a host object stands; the node depth below it.
    unsigned int use(const akDebugObject* object, unsigned int depth)
    {
        auto known = m_kinds.find(object->getType());
        if (known == m_kinds.end())
            known = m_kinds
                        .emplace(object->getType(),
                                 Kind{object->getType()->getName(), derivesFrom(object->getType(), "kiNode"),
                                      derivesFrom(object->getType(), "olGeometryBase")})
                        .first;
        const Kind& kind = known->second;
        SceneStats::Uses& uses = stats.classes[kind.name];
        if (object->empty_child()) {
            ++uses.byAddress;
            return depth;
        }
        ++uses.references;
        const bool first = m_seen.emplace(object->getType(), object->getValue()).second;
        uses.unique += first;
        if (kind.node) {
            stats.nodes[kind.name] += first;
            ++depth;
            stats.depth = std::max(stats.depth, depth);
        }
        if (kind.geometry) {
            const GeometryMeasure measure = measureGeometry(object);
            stats.vertices.instanced += measure.vertices;
            stats.vertices.unique += first ? measure.vertices : 0;
            if (!measure.primitive.empty()) {
                SceneStats::Amount& primitives = stats.primitives[measure.primitive];
                primitives.instanced += measure.primitives;
                primitives.unique += first ? measure.primitives : 0;
            }
        }
        return depth;
    }

    struct SeenHash
    {
        size_t operator()(const std::pair<const void*, unsigned int>& p) const
        {
            return std::hash<const void*>()(p.first) ^ (std::hash<unsigned int>()(p.second) * 0x9E3779B97F4A7C15ull);
        }
    };
    std::unordered_map<const void*, Kind> m_kinds;
    std::unordered_set<std::pair<const void*, unsigned int>, SeenHash> m_seen;
};

}  // namespace

SceneStats sceneStats(const akDebugAttributeBase* root)
{
    SceneWalk walk;
    if (root)
        walk.visit(root, 0);
    return walk.stats;
}

}  // namespace view
