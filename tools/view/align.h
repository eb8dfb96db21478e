// Aligning two sequences by their keys: a longest common subsequence, kept bounded on long ones.
// The common prefix and suffix are matched first; what lies between is aligned by the shortest
// edit script (Myers' greedy algorithm) when it takes at most a bounded number of edits, and else
// by matching in order, looking a short way ahead on either side for the next equal key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace view {

// One step of an alignment: a position in each sequence, or `none` on the side that has no
// counterpart (a key only the other sequence has).
struct Aligned
{
    static constexpr size_t none = SIZE_MAX;
    size_t a = none, b = none;
};

// The alignment of `a` and `b`, in order: every position of each sequence once. `maxEdits` bounds
// the shortest edit script looked for (0: a bound from the sequences' lengths, so that the search
// costs a few hundred million steps at most).
std::vector<Aligned> align(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b, size_t maxEdits = 0);

}  // namespace view
