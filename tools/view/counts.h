// Counts of what attribute trees hold, as a summary shows them: objects per type (records read in
// full or repeated, references by address only, null references, class levels of other records)
// and error marks per level. Nothing is formatted. A copy that a file repeats holds what its source
// holds, so the counts below a source are taken once and added again for each copy: counting the
// records of a draw file one by one costs what their new parts cost, however often they repeat.
#pragma once

#include "core.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace view {

class TreeCounts
{
public:
    struct PerType
    {
        unsigned long long records = 0, references = 0, nulls = 0, levels = 0;
        void add(const PerType& other)
        {
            records += other.records;
            references += other.references;
            nulls += other.nulls;
            levels += other.levels;
        }
    };

    // Counts `root` and every attribute below it.
    void add(const akDebugAttributeBase* root);
    // By type name (asked while the streams that read the trees counted live), and by level.
    std::map<std::string, PerType> types() const;
    std::map<int, unsigned long long> errors() const;

private:
    // Counts by type and by level, each list short (the types of one tree).
    struct Tally
    {
        std::vector<std::pair<const akDebugType*, PerType>> types;
        std::vector<std::pair<int, unsigned long long>> errors;
        PerType& of(const akDebugType* type);
        unsigned long long& ofLevel(int level);
        void add(const Tally& other);
        // The tally as bytes, equal for equal tallies.
        std::string key();
    };
    // Counts the attribute and its subtree into `into`; a copy by what its source holds.
    void count(const akDebugAttributeBase* attribute, Tally& into);
    void countHere(const akDebugAttributeBase* attribute, Tally& into);

    Tally m_all;
    // Per source of repeats (which lives as long as its stream): what it and its subtree hold, as
    // the position of that tally among the distinct ones (sources of one kind mostly hold alike).
    std::unordered_map<const akDebugObject*, unsigned int> m_sources;
    std::vector<Tally> m_tallies;
    std::unordered_map<std::string, unsigned int> m_distinct;
};

}  // namespace view
