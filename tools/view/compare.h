// Comparing attribute trees by value, as the analyses of draw files do: whether a state change sets
// the state already in effect, what changed between two draws, what differs between two
// recordings. Values are compared, not identities: a reference to another host object is equal to
// one to an object that holds the same values, and only a null reference differs from a non-null
// one as such. Error marks, tool tips and advanced marks are not values and are not compared.
//
// Within one file, every copy of an object whose type shares repeats holds what its first record
// held, so such copies are equal without a walk; across two files, a pair of such objects is
// walked once and remembered. Costs stay linear in what is compared.
#pragma once

#include "core.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace view {

// The object that a file's repeats of this object's address copy, when its type shares repeats
// and it is a record (full or repeated; not a reference by address only); null otherwise. Every
// copy of one host object in one file has the same source.
const akDebugObject* sourceOf(const akDebugAttributeBase* attribute);

// A field of an object: the first attribute of this name among its own fields and those of its
// class levels (not in the other host objects it refers to); null when there is none.
const akDebugAttributeBase* fieldOf(const akDebugAttributeBase* object, const char* name);

// One place where two trees differ: the path of names below the roots ("#2" after the second of
// two children of one name), and the attribute on either side, null where that side has none.
// Arrays of different lengths differ as arrays (their common elements are compared one by one),
// and so do an object and a null reference, or objects of two types.
struct Difference
{
    std::string path;
    const akDebugAttributeBase* before = nullptr;
    const akDebugAttributeBase* after = nullptr;
};

// Hands `visit` every attribute at the end of a branch below `root` (a value, a null reference,
// an empty array), `root` itself when it is one, each with its path (starting with `path`).
void eachLeaf(const akDebugAttributeBase* root, const std::string& path,
              const std::function<void(const std::string& path, const akDebugAttributeBase* leaf)>& visit);

// What a side of a difference shows: the value string, or the length of an array ("24 elements").
std::string shownValue(const akDebugAttributeBase* attribute);

// A difference as a line of text, escaped: "PATH [TYPE]: BEFORE -> AFTER", or only the value
// of the side that has one ("PATH [TYPE]: VALUE"). Types that differ show as "A -> B".
std::string shownDifference(const Difference& difference);

class ValueCompare
{
public:
    // Numbers are equal when they differ by at most `tolerance` times the larger magnitude (two
    // NaNs are equal). With `sameAddressIsEqual`, the trees come from one file and two objects of
    // one type at one host address are equal without a walk, whatever their type shares.
    explicit ValueCompare(double tolerance = 0, bool sameAddressIsEqual = false);

    bool same(const akDebugAttributeBase* a, const akDebugAttributeBase* b);
    // Hands each difference to `visit`, in the order of `a`'s children (then those only `b` has);
    // paths start with `path` (the names below it joined with "/").
    void differences(const akDebugAttributeBase* a, const akDebugAttributeBase* b, const std::string& path,
                     const std::function<void(const Difference&)>& visit);

private:
    struct PairHash
    {
        size_t operator()(const std::pair<const void*, const void*>& p) const
        {
            return std::hash<const void*>()(p.first) * 31 + std::hash<const void*>()(p.second);
        }
    };
    // Compares two attributes; with `visit`, reports every difference below `m_path`, else stops at
    // the first. True when they are equal.
    bool compare(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                 const std::function<void(const Difference&)>* visit);
    bool compareObjects(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                        const std::function<void(const Difference&)>* visit);
    bool compareChildren(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                         const std::function<void(const Difference&)>* visit);
    bool sameLeaf(const akDebugAttributeBase* a, const akDebugAttributeBase* b) const;
    void report(const akDebugAttributeBase* a, const akDebugAttributeBase* b,
                const std::function<void(const Difference&)>& visit) const;

    double m_tolerance;
    bool m_sameAddressIsEqual;
    // Where a comparison that reports stands: the root's path, then each group and the position of
    // the child taken in it.
    using Place = std::pair<const akDebugAttributeBase*, unsigned int>;
    std::string m_root;
    std::vector<Place> m_places;
    // Pairs of sources of repeats already compared, and whether they were equal: sources live as
    // long as their file's stream.
    std::unordered_map<std::pair<const void*, const void*>, bool, PairHash> m_known;
};

}  // namespace view
