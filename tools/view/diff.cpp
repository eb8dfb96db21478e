// The difference of two scene files. Attributes are matched by their path of names from the root;
// a name that repeats within one group ("Child" rows) is matched by its order among the equal names,
// the second and later ones written "Child#2", "Child#3" in paths. A matched pair of leaves is
// compared with the module's own comparison; groups and objects are compared by their type, value
// and marks, then child by child. Every attribute is compared, advanced ones included.
//
// Host addresses are identities of one run, not state: two objects (or arrays) whose addresses
// differ are the same as far as the addresses go, unless one of them is null (address 0) and the
// other is not. Error marks, tool tips and the advanced mark are compared as the outputs show them.
//
// One line per difference, texts escaped, then a count line:
//
//   changed Children/2/Name [emString]: "Wheel" -> "Wheel Left"
//   added Children/5 [kiNode *]: 0x3F20
//   removed Mask 0/Child#2 [kiNode *]: 0x3E10
//   3 differences: 1 added, 1 removed, 1 changed
#include "options.h"
#include "reading.h"

#include <akdebugattributevalue.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace view {

namespace {

bool isGroup(const akDebugAttributeBase* attribute) { return dynamic_cast<const akDebugGroup*>(attribute) != nullptr; }

// The marks as the outputs show them: the advanced mark, the tool tip, the errors in order.
bool sameMarks(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
{
    const char *tipA = akDebugAttributeBase::getToolTip(a), *tipB = akDebugAttributeBase::getToolTip(b);
    if (akDebugAttributeBase::isAdvanced(a) != akDebugAttributeBase::isAdvanced(b) ||
        (tipA == nullptr) != (tipB == nullptr) || (tipA && std::strcmp(tipA, tipB) != 0))
        return false;
    auto errorsA = akDebugAttributeBase::range_error(a), errorsB = akDebugAttributeBase::range_error(b);
    for (; errorsA.first != errorsA.second && errorsB.first != errorsB.second; ++errorsA.first, ++errorsB.first)
        if (errorsA.first->second.first != errorsB.first->second.first ||
            std::strcmp(errorsA.first->second.second, errorsB.first->second.second) != 0)
            return false;
    return errorsA.first == errorsA.second && errorsB.first == errorsB.second;
}

// Numbers equal, or both NaN: a value read back equals itself, whatever it holds.
template <class T>
bool sameNumbers(const T* x, const T* y, int n)
{
    for (int i = 0; i < n; ++i)
        if (!(x[i] == y[i] || (std::isnan(x[i]) && std::isnan(y[i]))))
            return false;
    return true;
}
template <class T>
bool sameNumbers(const T& x, const T& y)
{
    if constexpr (std::is_floating_point<T>::value)
        return sameNumbers(&x, &y, 1);
    else
        return sameNumbers(x.data(), y.data(), T::size);
}

// True when both are value leaves of one of the kinds V that hold floating-point numbers, and
// their numbers are the same.
template <class... V>
bool sameFloatingValues(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
{
    const auto same = [&](auto* kind) {
        using Kind = std::remove_pointer_t<decltype(kind)>;
        const auto *x = dynamic_cast<const Kind*>(a), *y = dynamic_cast<const Kind*>(b);
        return x && y && sameNumbers(x->getValue(), y->getValue());
    };
    return (same(static_cast<akDebugAttribute<V>*>(nullptr)) || ...);
}

// Two leaves of one kind compare equal with the module's comparison, or, holding NaN where the
// module's comparison (by ==) never finds them equal, hold the same numbers under one name.
bool sameLeaf(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
{
    return a->compare(b) ||
        (std::strcmp(a->getName(), b->getName()) == 0 &&
         sameFloatingValues<float, double, emVec2<float>, emVec2<double>, emVec3<float>, emVec3<double>, emVec4<float>,
                            emVec4<double>>(a, b));
}

// The address a group stands for: an object's, or an array's.
bool addressOf(const akDebugAttributeBase* group, unsigned int& address)
{
    if (const akDebugObject* object = asObject(group); object && object->hasAddress()) {
        address = object->getValue();
        return true;
    }
    const auto* array = dynamic_cast<const akDebugArrayBase*>(group);
    if (array)
        address = array->getAddress();
    return array != nullptr;
}

// The value as the text output shows it, with its marks.
std::string shown(const Node& node)
{
    std::string text = escape(node.value.c_str());
    if (node.advanced)
        text += " {advanced}";
    if (node.toolTip)
        text += " {tip: " + escape(node.toolTip) + "}";
    for (const Error& error : node.errors)
        text += " {error " + std::to_string(error.level) + ": " + escape(error.message) + "}";
    return text;
}

// The labels of a group's children: the name, and for the second and later children of one name
// "#" and the position among them.
std::vector<std::string> labels(const akDebugAttributeBase* group)
{
    std::vector<std::string> result;
    result.reserve(group->size_child());
    std::unordered_map<std::string, unsigned int> seen;
    for (auto it = group->begin_child(); it != group->end_child(); ++it) {
        const unsigned int n = ++seen[(*it)->getName()];
        result.push_back(n == 1 ? std::string((*it)->getName()) : (*it)->getName() + ("#" + std::to_string(n)));
    }
    return result;
}

// The label of a group's child as paths show it: its name, and for the second and later children
// of one name "#" and the position among them.
std::string labelOf(const akDebugAttributeBase* group, size_t index)
{
    const char* name = group->begin_child()[index]->getName();
    unsigned int n = 1;
    for (size_t i = 0; i < index; ++i)
        n += std::strcmp(group->begin_child()[i]->getName(), name) == 0;
    return n == 1 ? std::string(name) : name + ("#" + std::to_string(n));
}

// True when the children of the two groups have the same names in the same order: then they are
// matched by position, and their labels are made only for a line that names one.
bool sameNames(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
{
    if (a->size_child() != b->size_child())
        return false;
    for (auto x = a->begin_child(), y = b->begin_child(); x != a->end_child(); ++x, ++y)
        if ((*x)->getName() != (*y)->getName() && std::strcmp((*x)->getName(), (*y)->getName()) != 0)
            return false;
    return true;
}

class Difference
{
public:
    explicit Difference(const akDebugAttributeBase* rootA) : m_rootName(rootA->getName()) {}

    // Nothing is formatted for a pair that does not differ but their type strings (and the value
    // strings of groups that stand for no address), into buffers kept for the whole comparison.
    void compare(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        const bool sameKind = typeid(*a) == typeid(*b);
        const bool groupA = isGroup(a);
        const bool groupB = sameKind ? groupA : isGroup(b);
        if (groupA != groupB) {
            report(a, b);
        } else if (!groupA) {
            // compare() holds only between attributes of one kind.
            if (!sameKind || !sameTypes(a, b) || !sameLeaf(a, b) || !sameMarks(a, b))
                report(a, b);
        } else {
            if (!sameTypes(a, b) || !sameGroupValue(a, b) || !sameMarks(a, b))
                report(a, b);
            compareChildren(a, b);
        }
    }

    void printCounts() const
    {
        const unsigned int all = m_added + m_removed + m_changed;
        std::printf("%u difference%s: %u added, %u removed, %u changed\n", all, all == 1 ? "" : "s", m_added, m_removed,
                    m_changed);
    }
    bool differ() const { return m_added + m_removed + m_changed > 0; }

private:
    bool sameTypes(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        a->getTypeString(m_textA);
        b->getTypeString(m_textB);
        return std::strcmp(m_textA, m_textB) == 0;
    }

    // Equal values of two groups: addresses count only as null or not null.
    bool sameGroupValue(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        unsigned int addressA = 0, addressB = 0;
        const bool isAddressA = addressOf(a, addressA), isAddressB = addressOf(b, addressB);
        if (isAddressA || isAddressB)
            return isAddressA == isAddressB && (addressA == 0) == (addressB == 0);
        a->getValueString(m_textA);
        b->getValueString(m_textB);
        return std::strcmp(m_textA, m_textB) == 0;
    }

    void compareChildren(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        const auto childA = [&](size_t i) { return a->begin_child()[i]; };
        const auto childB = [&](size_t i) { return b->begin_child()[i]; };
        if (sameNames(a, b)) {
            for (size_t i = 0; i < a->size_child(); ++i) {
                m_places.push_back({a, i});
                compare(childA(i), childB(i));
                m_places.pop_back();
            }
            return;
        }
        const std::vector<std::string> labelsA = labels(a), labelsB = labels(b);
        std::unordered_map<std::string, size_t> inB;
        for (size_t j = 0; j < labelsB.size(); ++j)
            inB.emplace(labelsB[j], j);
        std::vector<bool> matched(labelsB.size(), false);
        for (size_t i = 0; i < labelsA.size(); ++i) {
            auto found = inB.find(labelsA[i]);
            if (found != inB.end())
                matched[found->second] = true;
        }
        // B's children that A lacks are reported where they stand among the matched ones.
        size_t nextB = 0;
        const auto addedUpTo = [&](size_t end) {
            for (; nextB < end; ++nextB)
                if (!matched[nextB])
                    reportChild(b, nextB, nullptr, childB(nextB));
        };
        for (size_t i = 0; i < labelsA.size(); ++i) {
            auto found = inB.find(labelsA[i]);
            if (found == inB.end()) {
                reportChild(a, i, childA(i), nullptr);
                continue;
            }
            if (found->second >= nextB)
                addedUpTo(found->second + 1);
            m_places.push_back({a, i});
            compare(childA(i), childB(found->second));
            m_places.pop_back();
        }
        addedUpTo(labelsB.size());
    }

    // A child that only one side has, the child `index` of `group` on that side.
    void reportChild(const akDebugAttributeBase* group, size_t index, const akDebugAttributeBase* a,
                     const akDebugAttributeBase* b)
    {
        m_places.push_back({group, index});
        report(a, b);
        m_places.pop_back();
    }

    // One line: what happened, the path, the type, the old and the new value.
    void report(const akDebugAttributeBase* attributeA, const akDebugAttributeBase* attributeB)
    {
        std::string path;
        for (const auto& place : m_places)
            path += (path.empty() ? "" : "/") + labelOf(place.first, place.second);
        const Node nodeA = attributeA ? describe(attributeA) : Node(),
                   nodeB = attributeB ? describe(attributeB) : Node();
        const Node* a = attributeA ? &nodeA : nullptr;
        const Node* b = attributeB ? &nodeB : nullptr;
        std::string type;
        if (a && b && a->type != b->type)
            type = escape(a->type.c_str()) + " -> " + escape(b->type.c_str());
        else
            type = escape((a ? a : b)->type.c_str());
        std::string values;
        if (a && b)
            values = shown(*a) + " -> " + shown(*b);
        else
            values = shown(a ? *a : *b);
        const char* what = a && b ? "changed" : a ? "removed" : "added";
        std::printf("%s %s [%s]: %s\n", what, escape(path.empty() ? m_rootName : path.c_str()).c_str(), type.c_str(),
                    values.c_str());
        ++(a && b ? m_changed : a ? m_removed : m_added);
    }

    const char* m_rootName;
    // Where the comparison stands: each group on the way down and the position of the child taken.
    std::vector<std::pair<const akDebugAttributeBase*, size_t>> m_places;
    char m_textA[akDebugAttributeBase::s_stringBufferSize], m_textB[akDebugAttributeBase::s_stringBufferSize];
    unsigned int m_added = 0, m_removed = 0, m_changed = 0;
};

// Reads a scene file whole; false, with the reason on stderr, when it cannot be.
bool readWhole(akDebugScene& scene, const std::string& file, const Options& options)
{
    bool refused = false;
    if (readScene(scene, file, options.maxAttributes, &refused) && !scene.hasReadFailed())
        return true;
    if (!refused)
        std::fprintf(stderr, "akdebug-view: \"%s\" could not be read%s; nothing compared\n",
                     escape(file.c_str()).c_str(), scene.getRoot() ? " whole" : "");
    return false;
}

}  // namespace

int runDiff(const Options& options)
{
    for (const std::string& file : options.diff)
        if (kindOf(file.c_str()) == FileKind::Draw || options.diff.size() == 1)
            return runRecordDiff(options);
    if (!options.frames.empty() || options.tolerance != Options().tolerance) {
        std::fprintf(stderr, "akdebug-view: --frames and --tolerance apply to draw files\n");
        return 2;
    }
    akDebugScene a, b;
    if (!readWhole(a, options.diff[0], options) || !readWhole(b, options.diff[1], options))
        return 1;
    const auto difference = std::make_unique<Difference>(a.getRoot());
    difference->compare(a.getRoot(), b.getRoot());
    difference->printCounts();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        return 1;
    }
    return difference->differ() ? 3 : 0;
}

}  // namespace view
