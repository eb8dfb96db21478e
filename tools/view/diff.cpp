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

#include <akdebugattributevalue.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace view {

namespace {

bool sameMarks(const Node& a, const Node& b)
{
    if (a.advanced != b.advanced || (a.toolTip == nullptr) != (b.toolTip == nullptr) ||
        (a.toolTip && std::strcmp(a.toolTip, b.toolTip) != 0) || a.errors.size() != b.errors.size())
        return false;
    for (size_t i = 0; i < a.errors.size(); ++i)
        if (a.errors[i].level != b.errors[i].level || std::strcmp(a.errors[i].message, b.errors[i].message) != 0)
            return false;
    return true;
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

// The address a value stands for: an object's, or an array's.
bool addressOf(const Node& node, unsigned int& address)
{
    if (node.hasAddress) {
        address = node.address;
        return true;
    }
    const auto* array = dynamic_cast<const akDebugArrayBase*>(node.attribute);
    if (array)
        address = array->getAddress();
    return array != nullptr;
}

// Equal values of two groups: addresses count only as null or not null.
bool sameGroupValue(const Node& a, const Node& b)
{
    unsigned int addressA = 0, addressB = 0;
    const bool isAddressA = addressOf(a, addressA), isAddressB = addressOf(b, addressB);
    if (isAddressA && isAddressB)
        return (addressA == 0) == (addressB == 0);
    return isAddressA == isAddressB && a.value == b.value;
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

class Difference
{
public:
    explicit Difference(const akDebugAttributeBase* rootA) : m_rootName(rootA->getName()) {}

    void compare(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        const Node nodeA = describe(a), nodeB = describe(b);
        const bool groupA = dynamic_cast<const akDebugGroup*>(a) != nullptr;
        const bool groupB = dynamic_cast<const akDebugGroup*>(b) != nullptr;
        if (groupA != groupB) {
            report("changed", &nodeA, &nodeB);
        } else if (!groupA) {
            // compare() holds only between attributes of one kind.
            if (typeid(*a) != typeid(*b) || nodeA.type != nodeB.type || !sameLeaf(a, b) || !sameMarks(nodeA, nodeB))
                report("changed", &nodeA, &nodeB);
        } else {
            if (nodeA.type != nodeB.type || !sameGroupValue(nodeA, nodeB) || !sameMarks(nodeA, nodeB))
                report("changed", &nodeA, &nodeB);
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
    void compareChildren(const akDebugAttributeBase* a, const akDebugAttributeBase* b)
    {
        const std::vector<std::string> labelsA = labels(a), labelsB = labels(b);
        const auto childA = [&](size_t i) { return *(a->begin_child() + i); };
        const auto childB = [&](size_t i) { return *(b->begin_child() + i); };
        if (labelsA == labelsB) {
            for (size_t i = 0; i < labelsA.size(); ++i) {
                m_path.push_back(labelsA[i]);
                compare(childA(i), childB(i));
                m_path.pop_back();
            }
            return;
        }
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
                    reportChild("added", labelsB[nextB], nullptr, childB(nextB));
        };
        for (size_t i = 0; i < labelsA.size(); ++i) {
            auto found = inB.find(labelsA[i]);
            if (found == inB.end()) {
                reportChild("removed", labelsA[i], childA(i), nullptr);
                continue;
            }
            if (found->second >= nextB)
                addedUpTo(found->second + 1);
            m_path.push_back(labelsA[i]);
            compare(childA(i), childB(found->second));
            m_path.pop_back();
        }
        addedUpTo(labelsB.size());
    }

    void reportChild(const char* what, const std::string& label, const akDebugAttributeBase* a,
                     const akDebugAttributeBase* b)
    {
        m_path.push_back(label);
        if (a) {
            const Node node = describe(a);
            report(what, &node, nullptr);
        } else {
            const Node node = describe(b);
            report(what, nullptr, &node);
        }
        m_path.pop_back();
    }

    // One line: what happened, the path, the type, the old and the new value.
    void report(const char* what, const Node* a, const Node* b)
    {
        std::string path;
        for (const std::string& label : m_path)
            path += (path.empty() ? "" : "/") + label;
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
        std::printf("%s %s [%s]: %s\n", what, escape(path.empty() ? m_rootName : path.c_str()).c_str(), type.c_str(),
                    values.c_str());
        ++(a && b ? m_changed : a ? m_removed : m_added);
    }

    const char* m_rootName;
    std::vector<std::string> m_path;
    unsigned int m_added = 0, m_removed = 0, m_changed = 0;
};

// Reads a scene file whole; false, with the reason on stderr, when it cannot be.
bool readWhole(akDebugScene& scene, const std::string& file, const Options& options)
{
    scene.setMaxAttributes(options.maxAttributes);
    scene.read(file.c_str());
    if (scene.getRoot() && !scene.hasReadFailed())
        return true;
    std::fprintf(stderr, "akdebug-view: \"%s\" could not be read%s; nothing compared\n", escape(file.c_str()).c_str(),
                 scene.getRoot() ? " whole" : "");
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
    Difference difference(a.getRoot());
    difference.compare(a.getRoot(), b.getRoot());
    difference.printCounts();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        return 1;
    }
    return difference.differ() ? 3 : 0;
}

}  // namespace view
