#include "heldrecords.h"

#include "reading.h"

#include "compare.h"

#include <akdebugtype.h>

#include <algorithm>
#include <cstring>

namespace view {

namespace {

// The attributes that a copy of the source builds: its whole subtree.
unsigned long long copySize(const akDebugObject* source)
{
    return source->getType()->getSourceSize(source->getValue());
}

// Gives the group these children, in this order.
void replaceChildren(akDebugAttributeBase* attribute, const std::vector<akDebugAttributeBase*>& children)
{
    auto* group = dynamic_cast<akDebugGroup*>(attribute);
    if (!group)
        return;
    for (akDebugAttributeBase* child : children)
        child->ref();
    // From the last: each child leaves the group from the end of its list of parents.
    while (!group->empty_child())
        group->erase_child(group->end_child() - 1);
    for (akDebugAttributeBase* child : children) {
        group->insert_child(child);
        child->unref();
    }
}

}  // namespace

HeldRecords::~HeldRecords()
{
    // The last records first: a subtree that many records share leaves their groups from the end of
    // its list of parents.
    for (auto it = m_held.rbegin(); it != m_held.rend(); ++it)
        delete *it;
}

bool HeldRecords::read(const std::string& fileName, unsigned long long maxAttributes,
                       const std::function<void(const RecordView& view)>& kept)
{
    m_draw.setMaxAttributes(maxAttributes);
    bool passed = false;
    const int result = readRecords(
        m_draw, fileName.c_str(), {},
        [&](const RecordView& view) {
            passed = !keep(view, maxAttributes);
            if (!passed && kept)
                kept(m_views.back());
            return !passed;
        },
        nullptr, false);
    m_refusal = passed ? refusalFor(maxAttributes, fileName) : refusalOf(m_draw, fileName);
    // Told to the stream's listeners; the viewer says the refusal itself.
    if (passed)
        emNotify::print(emNotify::LEVEL_INFO, nullptr,
                        "view::HeldRecords::read - too many attributes: the records would build more than %llu "
                        "together",
                        maxAttributes);
    m_complete = result == telu::SUCCESS && !m_draw.hasReadFailed() && !passed;
    // A draw's baseline is the draw context of a record held here.
    for (RecordView& view : m_views)
        if (view.baseline)
            view.baseline = m_held[view.baselineIndex]->drawContext;
    return result == telu::SUCCESS || !m_views.empty();
}

bool HeldRecords::keep(const RecordView& view, unsigned long long maxAttributes)
{
    const akDebugDraw::Record& record = *view.record;
    akDebugObject* const read[4] = {record.channelBin, record.cullRecord, record.geometry, record.drawContext};
    std::vector<const akDebugObject*> tops;
    for (const akDebugObject* object : read)
        if (object)
            tops.push_back(object);
    // While first parents lead to the record's objects, before anything is shared.
    const size_t named = m_named.size(), positions = m_positions.size();
    noteNames(tops, m_tops.size());

    auto* held = new akDebugDraw::Record;
    held->frame = record.frame;
    held->name.assign(record.name.c_str());
    akDebugObject** const slots[4] = {&held->channelBin, &held->cullRecord, &held->geometry, &held->drawContext};
    unsigned long long attributes = 0;
    for (int i = 0; i < 4; ++i) {
        akDebugObject* object = read[i];
        if (!object)
            continue;
        const akDebugObject* source = sourceOf(object);
        if (source && source != object) {
            object = const_cast<akDebugObject*>(source);
            attributes += copySize(source);
        } else {
            attributes += share(object);
        }
        object->ref();
        *slots[i] = object;
    }
    if (m_attributes + attributes > maxAttributes) {
        delete held;
        m_named.resize(named);
        m_positions.resize(positions);
        return false;
    }
    m_attributes += attributes;
    m_held.push_back(held);
    RecordView kept = view;
    kept.record = held;
    m_views.push_back(kept);
    for (const akDebugObject* object : kept.objects())
        m_tops.add(object, static_cast<int>(view.index));
    return true;
}

unsigned long long HeldRecords::share(akDebugAttributeBase* attribute)
{
    unsigned long long attributes = 1;
    std::vector<akDebugAttributeBase*> children;  // made when a copy is among them
    for (unsigned int i = 0; i < attribute->size_child(); ++i) {
        akDebugAttributeBase* child = attribute->begin_child()[i];
        const akDebugObject* source = sourceOf(child);
        if (!source || source == child) {
            attributes += share(child);
            continue;
        }
        attributes += copySize(source);
        if (children.empty())
            children.assign(attribute->begin_child(), attribute->end_child());
        // A group holds a child once: a second copy of one source in it stays a copy.
        if (std::find(children.begin(), children.end(), source) == children.end())
            children[i] = const_cast<akDebugObject*>(source);
    }
    if (!children.empty())
        replaceChildren(attribute, children);
    return attributes;
}

void HeldRecords::noteNames(const std::vector<const akDebugObject*>& tops, size_t firstTop)
{
    std::vector<unsigned int> up;
    for (auto type = m_draw.begin_type(); type != m_draw.end_type(); ++type) {
        const std::vector<akDebugType::NameEntry>* entries = (*type)->getRecordNames();
        for (size_t i = 0; entries && i < entries->size(); ++i) {
            const akDebugType::NameEntry& entry = (*entries)[i];
            // Up the first parents to the record's object it stands below.
            up.clear();
            const akDebugAttributeBase* at = entry.object;
            while (!at->empty_parent()) {
                const akDebugAttributeBase* parent = *at->begin_parent();
                up.push_back(positionIn(parent, at));
                at = parent;
            }
            const auto top = std::find(tops.begin(), tops.end(), at);
            if (top == tops.end())
                continue;
            const std::pair<const char*, const char*> names = texts(entry.name, entry.lowerCaseName);
            m_named.push_back({static_cast<unsigned int>(firstTop + static_cast<size_t>(top - tops.begin())),
                               static_cast<unsigned int>((*type)->getIndex()), static_cast<unsigned int>(i),
                               names.first, names.second, static_cast<unsigned int>(m_positions.size()),
                               static_cast<unsigned int>(up.size())});
            m_positions.insert(m_positions.end(), up.rbegin(), up.rend());
        }
    }
}

std::pair<const char*, const char*> HeldRecords::texts(const char* name, const char* lowerCaseName)
{
    auto known = m_names.find(name);
    if (known == m_names.end()) {
        m_texts.emplace_back(name);
        const std::string& kept = m_texts.back();
        m_texts.emplace_back(lowerCaseName);
        known = m_names.emplace(kept, std::make_pair(kept.c_str(), m_texts.back().c_str())).first;
    }
    return known->second;
}

void HeldRecords::findByName(const NameQuery& query, const std::function<bool(const Found&)>& visit) const
{
    const NameMatch match(query);
    std::vector<const Named*> found;
    for (const Named& named : m_named)
        if (match(named.name, named.lowerCaseName))
            found.push_back(&named);
    std::sort(found.begin(), found.end(), [&](const Named* a, const Named* b) {
        if (a->top != b->top || a->type != b->type)
            return a->top != b->top ? a->top < b->top : a->type < b->type;
        const int byName = std::strcmp(match.keyOf(a->name, a->lowerCaseName), match.keyOf(b->name, b->lowerCaseName));
        return byName != 0 ? byName < 0 : a->entered < b->entered;
    });
    std::vector<const akDebugAttributeBase*> way;
    for (const Named* named : found) {
        way.assign(1, m_tops.top(named->top));
        for (unsigned int i = 0; i < named->depth && m_positions[named->way + i] < way.back()->size_child(); ++i)
            way.push_back(way.back()->begin_child()[m_positions[named->way + i]]);
        const akDebugObject* object = typedObject(way.back());
        if (way.size() == named->depth + 1 && object && !visit({object, named->top, &way}))
            return;
    }
}

}  // namespace view
