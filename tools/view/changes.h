// The state that a draw context holds, and what changes in it from one record to another: what makes
// a state change redundant (it sets the state already in effect) and what a draw shows as changed
// since the draw before it.
//
// The state of a draw context is its inherit state, its elements (one per element kind, identified
// by the kind's type; a null one, "Inherited", sets nothing) and its preserve enables. Elements are
// compared by value; two elements that are the same host object (one type, one address) are equal
// without a walk, and so is every copy of a state object that the file stores once and repeats.
#pragma once

#include "compare.h"

#include <vector>

namespace view {

// One element of the state that differs between two draw contexts: named by its type
// ("olMaterial::Element"; "Inherit State" for the inherit state), added (set by the second context
// only), removed (set by the first only) or changed, with its values that differ: each with its
// path below the element ("Material/Color, Diffuse"; "Preserve Enable" for the element kind's
// preserve enable) and its value before and after. An element added or removed lists all its
// values, on the one side that has them.
struct StateChange
{
    enum class What { Added, Removed, Changed };
    What what = What::Changed;
    std::string element;
    std::vector<Difference> fields;
};
// "added", "removed" or "changed".
const char* nameOf(StateChange::What what);

// The parts of a draw context that hold its state: the inherit state, the elements (one per element
// kind, null references included) and the group of preserve enables. A part the context lacks is
// null (no elements: none).
struct StateParts
{
    const akDebugAttributeBase* inherit = nullptr;
    const akDebugAttributeBase* const* elements = nullptr;
    unsigned int count = 0;
    const akDebugAttributeBase* preserve = nullptr;
};
StateParts partsOf(const akDebugObject* context);

// A comparison as the state's is made: exact, within one file, the same object equal to itself.
ValueCompare stateCompare();

// True when both draw contexts hold the same state. A missing context holds no state to compare:
// false.
bool sameState(const akDebugObject* before, const akDebugObject* after, ValueCompare& compare);

// What differs from the state of `before` to that of `after`: the inherit state first, then the
// element kinds in the order of `after`'s, then kinds only `before` has.
std::vector<StateChange> stateChanges(const akDebugObject* before, const akDebugObject* after, ValueCompare& compare);
// The same, of the parts of two states (for states kept apart from their draw contexts).
bool sameState(const StateParts& before, const StateParts& after, ValueCompare& compare);
std::vector<StateChange> stateChanges(const StateParts& before, const StateParts& after, ValueCompare& compare);

}  // namespace view
