#include "counts.h"

#include "compare.h"

#include <akdebugtype.h>

#include <algorithm>

namespace view {

TreeCounts::PerType& TreeCounts::Tally::of(const akDebugType* type)
{
    for (auto it = types.rbegin(); it != types.rend(); ++it)
        if (it->first == type)
            return it->second;
    types.emplace_back(type, PerType());
    return types.back().second;
}

unsigned long long& TreeCounts::Tally::ofLevel(int level)
{
    for (auto& entry : errors)
        if (entry.first == level)
            return entry.second;
    errors.emplace_back(level, 0);
    return errors.back().second;
}

void TreeCounts::Tally::add(const Tally& other)
{
    for (const auto& entry : other.types)
        of(entry.first).add(entry.second);
    for (const auto& entry : other.errors)
        ofLevel(entry.first) += entry.second;
}

std::string TreeCounts::Tally::key()
{
    std::sort(types.begin(), types.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::sort(errors.begin(), errors.end());
    std::string bytes;
    for (const auto& entry : types)
        bytes.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    for (const auto& entry : errors)
        bytes.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    return bytes;
}

void TreeCounts::add(const akDebugAttributeBase* root)
{
    if (root)
        count(root, m_all);
}

void TreeCounts::count(const akDebugAttributeBase* attribute, Tally& into)
{
    const akDebugObject* source = sourceOf(attribute);
    if (!source) {
        countHere(attribute, into);
        return;
    }
    auto known = m_sources.find(source);
    if (known == m_sources.end()) {
        Tally below;
        countHere(attribute, below);
        auto distinct = m_distinct.emplace(below.key(), static_cast<unsigned int>(m_tallies.size()));
        if (distinct.second)
            m_tallies.push_back(std::move(below));
        known = m_sources.emplace(source, distinct.first->second).first;
    }
    into.add(m_tallies[known->second]);
}

void TreeCounts::countHere(const akDebugAttributeBase* attribute, Tally& into)
{
    auto errors = akDebugAttributeBase::range_error(attribute);
    for (auto it = errors.first; it != errors.second; ++it)
        ++into.ofLevel(static_cast<int>(it->second.first));
    if (const akDebugObject* object = typedObject(attribute)) {
        PerType& counts = into.of(object->getType());
        if (!object->hasAddress())
            ++counts.levels;
        else if (object->getValue() == 0)
            ++counts.nulls;
        else
            ++(object->empty_child() ? counts.references : counts.records);
    }
    for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
        count(*it, into);
}

std::map<std::string, TreeCounts::PerType> TreeCounts::types() const
{
    std::map<std::string, PerType> byName;
    for (const auto& entry : m_all.types)
        byName[entry.first->getName()].add(entry.second);
    return byName;
}

std::map<int, unsigned long long> TreeCounts::errors() const { return {m_all.errors.begin(), m_all.errors.end()}; }

}  // namespace view
