#include "compare.h"

#include <akdebugattributevalue.h>
#include <akdebugtype.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>
#include <vector>

namespace view {

namespace {

template <class T>
int scalar(const akDebugAttributeBase* attribute, double* out)
{
    const auto* leaf = dynamic_cast<const akDebugAttribute<T>*>(attribute);
    if (leaf)
        out[0] = static_cast<double>(leaf->getValue());
    return leaf ? 1 : 0;
}

template <class V>
int vector(const akDebugAttributeBase* attribute, double* out)
{
    const auto* leaf = dynamic_cast<const akDebugAttribute<V>*>(attribute);
    if (!leaf)
        return 0;
    for (int i = 0; i < V::size; ++i)
        out[i] = static_cast<double>(leaf->getValue()[i]);
    return V::size;
}

// The floating-point numbers a leaf holds (at most four), or 0 when it holds none.
int numbersOf(const akDebugAttributeBase* leaf, double* out)
{
    for (int (*kind)(const akDebugAttributeBase*, double*) :
         {scalar<float>, scalar<double>, vector<emVec2<float>>, vector<emVec3<float>>, vector<emVec4<float>>,
          vector<emVec2<double>>, vector<emVec3<double>>, vector<emVec4<double>>})
        if (const int n = kind(leaf, out))
            return n;
    return 0;
}

bool isGroup(const akDebugAttributeBase* attribute) { return dynamic_cast<const akDebugGroup*>(attribute) != nullptr; }

bool isArray(const akDebugAttributeBase* attribute)
{
    return dynamic_cast<const akDebugArrayBase*>(attribute) != nullptr;
}

bool sameName(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
{
    return a->getName() == b->getName() || std::strcmp(a->getName(), b->getName()) == 0;
}

// The label of a group's child in paths: its name, and "#N" for the N-th child of one name.
std::string labelOf(const akDebugAttributeBase* group, unsigned int index)
{
    const akDebugAttributeBase* const* children = group->begin_child();
    std::string label = children[index]->getName();
    if (isArray(group))
        return label;
    unsigned int before = 0;
    for (unsigned int i = 0; i < index; ++i)
        before += sameName(children[i], children[index]);
    return before ? label + "#" + std::to_string(before + 1) : label;
}

const char* typeNameOf(const akDebugObject* object) { return object->getType() ? object->getType()->getName() : ""; }

}  // namespace

const akDebugAttributeBase* fieldOf(const akDebugAttributeBase* object, const char* name)
{
    for (auto it = object->begin_child(); it != object->end_child(); ++it)
        if (std::strcmp((*it)->getName(), name) == 0)
            return *it;
    for (auto it = object->begin_child(); it != object->end_child(); ++it) {
        const auto* level = dynamic_cast<const akDebugObject*>(*it);
        if (level && !level->hasAddress())
            if (const akDebugAttributeBase* found = fieldOf(level, name))
                return found;
    }
    return nullptr;
}

const akDebugObject* sourceOf(const akDebugAttributeBase* attribute)
{
    const akDebugObject* object = typedObject(attribute);
    if (!object || !object->hasAddress() || object->getValue() == 0 || object->empty_child())
        return nullptr;
    return object->getType()->getSourceObject(object->getValue());
}

void eachLeaf(const akDebugAttributeBase* root, const std::string& path,
              const std::function<void(const std::string& path, const akDebugAttributeBase* leaf)>& visit)
{
    if (root->empty_child()) {
        const auto* object = dynamic_cast<const akDebugObject*>(root);
        if (!isGroup(root) || isArray(root) || (object && object->hasAddress()))
            visit(path, root);
        return;
    }
    for (unsigned int i = 0; i < root->size_child(); ++i)
        eachLeaf(root->begin_child()[i], path + (path.empty() ? "" : "/") + labelOf(root, i), visit);
}

std::string shownValue(const akDebugAttributeBase* attribute)
{
    if (isArray(attribute)) {
        const unsigned int n = attribute->size_child();
        return std::to_string(n) + (n == 1 ? " element" : " elements");
    }
    char text[akDebugAttributeBase::s_stringBufferSize];
    attribute->getValueString(text);
    return text;
}

std::string shownDifference(const Difference& difference)
{
    char typeA[akDebugAttributeBase::s_stringBufferSize] = "", typeB[akDebugAttributeBase::s_stringBufferSize] = "";
    if (difference.before)
        difference.before->getTypeString(typeA);
    if (difference.after)
        difference.after->getTypeString(typeB);
    std::string type = escape(difference.before ? typeA : typeB);
    if (difference.before && difference.after && std::strcmp(typeA, typeB) != 0)
        type += " -> " + escape(typeB);
    std::string line = escape(difference.path.c_str()) + " [" + type + "]: ";
    if (difference.before)
        line += escape(shownValue(difference.before).c_str());
    if (difference.before && difference.after)
        line += " -> ";
    if (difference.after)
        line += escape(shownValue(difference.after).c_str());
    return line;
}

ValueCompare::ValueCompare(double tolerance, bool sameAddressIsEqual)
    : m_tolerance(tolerance), m_sameAddressIsEqual(sameAddressIsEqual)
{}

bool ValueCompare::same(const akDebugAttributeBase* a, const akDebugAttributeBase* b) { return compare(a, b, nullptr); }

void ValueCompare::differences(const akDebugAttributeBase* a, const akDebugAttributeBase* b, const std::string& path,
                               const std::function<void(const Difference&)>& visit)
{
    m_root = path;
    m_places.clear();
    compare(a, b, &visit);
}

bool ValueCompare::sameLeaf(const akDebugAttributeBase* a, const akDebugAttributeBase* b) const
{
    if (typeid(*a) != typeid(*b))
        return false;
    if (a->compare(b))
        return true;
    double x[4], y[4];
    const int n = numbersOf(a, x);
    if (n > 0) {
        numbersOf(b, y);
        for (int i = 0; i < n; ++i) {
            const double larger = std::max(std::fabs(x[i]), std::fabs(y[i]));
            if (!(x[i] == y[i] || (std::isnan(x[i]) && std::isnan(y[i])) ||
                  std::fabs(x[i] - y[i]) <= m_tolerance * larger))
                return false;
        }
        return true;
    }
    // Equal values under names that are equal texts kept apart.
    char textA[akDebugAttributeBase::s_stringBufferSize], textB[akDebugAttributeBase::s_stringBufferSize];
    a->getValueString(textA);
    b->getValueString(textB);
    return std::strcmp(textA, textB) == 0;
}

void ValueCompare::report(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                          const std::function<void(const Difference&)>& visit) const
{
    Difference difference;
    difference.path = m_root;
    for (const Place& place : m_places)
        difference.path += (difference.path.empty() ? "" : "/") + labelOf(place.first, place.second);
    difference.before = a;
    difference.after = b;
    visit(difference);
}

bool ValueCompare::compare(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                           const std::function<void(const Difference&)>* visit)
{
    if (a == b)
        return true;
    const bool groupA = isGroup(a), groupB = isGroup(b);
    bool equal = true;
    if (!groupA || !groupB) {
        equal = !groupA && !groupB && sameLeaf(a, b);
    } else if (typeid(*a) != typeid(*b)) {
        equal = false;
    } else if (const auto* objectA = dynamic_cast<const akDebugObject*>(a)) {
        const auto* objectB = static_cast<const akDebugObject*>(b);
        if (std::strcmp(typeNameOf(objectA), typeNameOf(objectB)) != 0 ||
            objectA->hasAddress() != objectB->hasAddress())
            equal = false;
        else if (objectA->hasAddress() && (objectA->getValue() == 0 || objectB->getValue() == 0))
            equal = objectA->getValue() == objectB->getValue();
        else if (m_sameAddressIsEqual && objectA->hasAddress() && objectA->getValue() == objectB->getValue())
            return true;
        else
            return compareObjects(a, b, visit);
    } else {
        return compareChildren(a, b, visit);
    }
    if (!equal && visit)
        report(a, b, *visit);
    return equal;
}

bool ValueCompare::compareObjects(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                                  const std::function<void(const Difference&)>* visit)
{
    const akDebugObject* sourceA = sourceOf(a);
    const akDebugObject* sourceB = sourceOf(b);
    if (!sourceA || !sourceB)
        return compareChildren(a, b, visit);
    if (sourceA == sourceB)
        return true;
    const auto key = std::make_pair(static_cast<const void*>(sourceA), static_cast<const void*>(sourceB));
    auto known = m_known.find(key);
    if (known != m_known.end() && (known->second || !visit))
        return known->second;
    const bool equal = compareChildren(a, b, visit);
    m_known.emplace(key, equal);
    return equal;
}

bool ValueCompare::compareChildren(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                                   const std::function<void(const Difference&)>* visit)
{
    const unsigned int n = a->size_child(), m = b->size_child();
    const akDebugAttributeBase* const* childA = a->begin_child();
    const akDebugAttributeBase* const* childB = b->begin_child();
    const bool array = isArray(a);
    bool aligned = n == m || array;
    for (unsigned int i = 0; aligned && i < std::min(n, m); ++i)
        aligned = array || sameName(childA[i], childB[i]);
    bool equal = n == m;
    if (!equal && array && visit)
        report(a, b, *visit);  // an array of another length; its common elements follow
    if (!aligned && !visit)
        return false;
    if (aligned) {
        for (unsigned int i = 0; i < std::min(n, m) && (equal || visit); ++i) {
            m_places.emplace_back(a, i);
            equal = compare(childA[i], childB[i], visit) && equal;
            m_places.pop_back();
        }
        return equal;
    }
    // Children matched by their labels: those only one side has are added or removed.
    std::unordered_map<std::string, unsigned int> inB;
    for (unsigned int j = 0; j < m; ++j)
        inB.emplace(labelOf(b, j), j);
    std::vector<bool> matched(m, false);
    bool reported = false;
    const std::function<void(const Difference&)> note = [&](const Difference& difference) {
        reported = true;
        (*visit)(difference);
    };
    for (unsigned int i = 0; i < n; ++i) {
        auto found = inB.find(labelOf(a, i));
        m_places.emplace_back(a, i);
        if (found == inB.end()) {
            report(childA[i], nullptr, note);
        } else {
            matched[found->second] = true;
            compare(childA[i], childB[found->second], &note);
        }
        m_places.pop_back();
    }
    for (unsigned int j = 0; j < m; ++j)
        if (!matched[j]) {
            m_places.emplace_back(b, j);
            report(nullptr, childB[j], note);
            m_places.pop_back();
        }
    if (!reported)
        report(a, b, *visit);  // the same children in another order
    return false;
}

}  // namespace view
