#include "changes.h"

#include <cstring>

namespace view {

namespace {

// The attribute when it sets something: not a null reference ("Inherited").
const akDebugAttributeBase* setting(const akDebugAttributeBase* attribute)
{
    const auto* object = dynamic_cast<const akDebugObject*>(attribute);
    return object && object->hasAddress() && object->getValue() == 0 ? nullptr : attribute;
}

// The one of `n` attributes named `name`, looked for at `hint` first (contexts of one file list
// their element kinds in one order); null when there is none.
const akDebugAttributeBase* named(const akDebugAttributeBase* const* all, unsigned int n, const char* name,
                                  unsigned int hint)
{
    if (hint < n && (all[hint]->getName() == name || std::strcmp(all[hint]->getName(), name) == 0))
        return all[hint];
    for (unsigned int i = 0; i < n; ++i)
        if (std::strcmp(all[i]->getName(), name) == 0)
            return all[i];
    return nullptr;
}

const akDebugAttributeBase* childNamed(const akDebugAttributeBase* group, const char* name, unsigned int hint)
{
    return group ? named(group->begin_child(), group->size_child(), name, hint) : nullptr;
}

class StateWalk
{
public:
    StateWalk(ValueCompare& compare, std::vector<StateChange>* changes) : m_compare(compare), m_changes(changes) {}

    // Compares one element kind (its element and preserve enable on either side); false when it
    // differs. Stops at the first difference unless it collects the changes.
    bool kind(const char* name, const akDebugAttributeBase* elementA, const akDebugAttributeBase* elementB,
              const akDebugAttributeBase* preserveA, const akDebugAttributeBase* preserveB)
    {
        elementA = setting(elementA);
        elementB = setting(elementB);
        StateChange change;
        change.element = name;
        bool differs = false;
        if (!elementA != !elementB) {
            differs = true;
            if (!m_changes)
                return false;
            change.what = elementA ? StateChange::What::Removed : StateChange::What::Added;
            eachLeaf(elementA ? elementA : elementB, "",
                     [&](const std::string& path, const akDebugAttributeBase* leaf) {
                         change.fields.push_back({path, elementA ? leaf : nullptr, elementA ? nullptr : leaf});
                     });
        } else if (elementA && !m_changes) {
            differs = !m_compare.same(elementA, elementB);
        } else if (elementA) {
            m_compare.differences(elementA, elementB, "",
                                  [&](const Difference& difference) { change.fields.push_back(difference); });
            differs = !change.fields.empty();
        }
        if ((preserveA || preserveB) && (!preserveA || !preserveB || !m_compare.same(preserveA, preserveB))) {
            differs = true;
            if (m_changes)
                change.fields.push_back({"Preserve Enable", preserveA, preserveB});
        }
        if (differs && m_changes)
            m_changes->push_back(std::move(change));
        return !differs;
    }

    // Compares the states of two contexts; false at the first difference unless it collects them.
    bool states(const StateParts& a, const StateParts& b)
    {
        bool same = kind("Inherit State", a.inherit, b.inherit, nullptr, nullptr);
        for (unsigned int i = 0; i < b.count && (same || m_changes); ++i) {
            const char* name = b.elements[i]->getName();
            same = kind(name, named(a.elements, a.count, name, i), b.elements[i], childNamed(a.preserve, name, i),
                        childNamed(b.preserve, name, i)) &&
                same;
        }
        for (unsigned int i = 0; i < a.count && (same || m_changes); ++i) {
            const char* name = a.elements[i]->getName();
            if (!named(b.elements, b.count, name, i))
                same = kind(name, a.elements[i], nullptr, childNamed(a.preserve, name, i),
                            childNamed(b.preserve, name, i)) &&
                    same;
        }
        return same;
    }

private:
    ValueCompare& m_compare;
    std::vector<StateChange>* m_changes;
};

}  // namespace

StateParts partsOf(const akDebugObject* context)
{
    StateParts parts;
    for (auto it = context->begin_child(); it != context->end_child(); ++it) {
        const char* name = (*it)->getName();
        if (std::strcmp(name, "Inherit State") == 0) {
            parts.inherit = *it;
        } else if (std::strcmp(name, "Elements") == 0) {
            parts.elements = (*it)->begin_child();
            parts.count = (*it)->size_child();
        } else if (std::strcmp(name, "Preserve Enables") == 0) {
            parts.preserve = *it;
        }
    }
    return parts;
}

const char* nameOf(StateChange::What what)
{
    switch (what) {
    case StateChange::What::Added: return "added";
    case StateChange::What::Removed: return "removed";
    default: return "changed";
    }
}

ValueCompare stateCompare() { return ValueCompare(0, true); }

bool sameState(const StateParts& before, const StateParts& after, ValueCompare& compare)
{
    return StateWalk(compare, nullptr).states(before, after);
}

std::vector<StateChange> stateChanges(const StateParts& before, const StateParts& after, ValueCompare& compare)
{
    std::vector<StateChange> changes;
    StateWalk(compare, &changes).states(before, after);
    return changes;
}

bool sameState(const akDebugObject* before, const akDebugObject* after, ValueCompare& compare)
{
    if (!before || !after)
        return false;
    return before == after || sameState(partsOf(before), partsOf(after), compare);
}

std::vector<StateChange> stateChanges(const akDebugObject* before, const akDebugObject* after, ValueCompare& compare)
{
    if (!before || !after || before == after)
        return {};
    return stateChanges(partsOf(before), partsOf(after), compare);
}

}  // namespace view
