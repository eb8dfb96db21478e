#include "align.h"

#include <algorithm>

namespace view {

namespace {

// How far matching in order looks ahead for the next equal key.
constexpr size_t s_window = 64;
// The steps the edit script's search may take, and the bounds of its edits.
constexpr size_t s_maxSteps = 200000000;
constexpr size_t s_minEdits = 64, s_maxEdits = 1000;

// The sequences between the common prefix and suffix, and where they start.
struct Middle
{
    const uint64_t* a;
    const uint64_t* b;
    long n, m;
    size_t fromA, fromB;
};

// Myers' greedy shortest edit script of the middle, appended to `out` in order; false (nothing
// appended) when it needs more than `limit` edits.
bool shortestScript(const Middle& s, long limit, std::vector<Aligned>& out)
{
    const long max = std::min(s.n + s.m, limit);
    std::vector<long> v(static_cast<size_t>(2 * max + 3), 0);
    const auto at = [max](long k) { return static_cast<size_t>(k + max + 1); };
    // The furthest x on each diagonal k after each number of edits d, for k from -d to d.
    std::vector<std::vector<long>> trace;
    long edits = -1;
    for (long d = 0; d <= max && edits < 0; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x = (k == -d || (k != d && v[at(k - 1)] < v[at(k + 1)])) ? v[at(k + 1)] : v[at(k - 1)] + 1;
            long y = x - k;
            while (x < s.n && y < s.m && s.a[x] == s.b[y]) {
                ++x;
                ++y;
            }
            v[at(k)] = x;
            if (x >= s.n && y >= s.m)
                edits = d;
        }
        trace.emplace_back(v.begin() + static_cast<long>(at(-d)), v.begin() + static_cast<long>(at(d)) + 1);
    }
    if (edits < 0)
        return false;
    // Back from the end: each edit, and the diagonal run of matches after it.
    std::vector<Aligned> steps;
    long x = s.n, y = s.m;
    for (long d = edits; d > 0; --d) {
        const std::vector<long>& before = trace[static_cast<size_t>(d - 1)];
        const auto previous = [&](long k) { return before[static_cast<size_t>(k + d - 1)]; };
        const long k = x - y;
        const bool down = k == -d || (k != d && previous(k - 1) < previous(k + 1));
        const long fromK = down ? k + 1 : k - 1;
        const long fromX = previous(fromK), fromY = fromX - fromK;
        const long runX = down ? fromX : fromX + 1;
        for (; x > runX; --x, --y)
            steps.push_back({s.fromA + static_cast<size_t>(x - 1), s.fromB + static_cast<size_t>(y - 1)});
        if (down)
            steps.push_back({Aligned::none, s.fromB + static_cast<size_t>(fromY)});
        else
            steps.push_back({s.fromA + static_cast<size_t>(fromX), Aligned::none});
        x = fromX;
        y = fromY;
    }
    for (; x > 0; --x, --y)
        steps.push_back({s.fromA + static_cast<size_t>(x - 1), s.fromB + static_cast<size_t>(y - 1)});
    out.insert(out.end(), steps.rbegin(), steps.rend());
    return true;
}

// Matching in order: equal keys are matched; at a mismatch, the nearer of the next key of either
// side within the window ahead on the other is taken, and what lies before it has no counterpart.
void inOrder(const Middle& s, std::vector<Aligned>& out)
{
    const auto ahead = [](const uint64_t* seq, long from, long end, uint64_t key) {
        for (long i = from; i < end && i < from + static_cast<long>(s_window); ++i)
            if (seq[i] == key)
                return i - from;
        return -1L;
    };
    long i = 0, j = 0;
    while (i < s.n && j < s.m) {
        if (s.a[i] == s.b[j]) {
            out.push_back({s.fromA + static_cast<size_t>(i++), s.fromB + static_cast<size_t>(j++)});
            continue;
        }
        const long inB = ahead(s.b, j + 1, s.m, s.a[i]), inA = ahead(s.a, i + 1, s.n, s.b[j]);
        if (inB >= 0 && (inA < 0 || inB <= inA)) {
            for (long end = j + 1 + inB; j < end; ++j)
                out.push_back({Aligned::none, s.fromB + static_cast<size_t>(j)});
        } else if (inA >= 0) {
            for (long end = i + 1 + inA; i < end; ++i)
                out.push_back({s.fromA + static_cast<size_t>(i), Aligned::none});
        } else {
            out.push_back({s.fromA + static_cast<size_t>(i++), Aligned::none});
            out.push_back({Aligned::none, s.fromB + static_cast<size_t>(j++)});
        }
    }
    for (; i < s.n; ++i)
        out.push_back({s.fromA + static_cast<size_t>(i), Aligned::none});
    for (; j < s.m; ++j)
        out.push_back({Aligned::none, s.fromB + static_cast<size_t>(j)});
}

}  // namespace

std::vector<Aligned> align(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b, size_t maxEdits)
{
    std::vector<Aligned> out;
    out.reserve(std::max(a.size(), b.size()));
    size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) {
        out.push_back({prefix, prefix});
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const Middle middle{a.data() + prefix,
                        b.data() + prefix,
                        static_cast<long>(a.size() - prefix - suffix),
                        static_cast<long>(b.size() - prefix - suffix),
                        prefix,
                        prefix};
    if (maxEdits == 0) {
        const size_t length = static_cast<size_t>(middle.n + middle.m) + 1;
        maxEdits = std::max(s_minEdits, std::min(s_maxEdits, s_maxSteps / length));
    }
    if (!shortestScript(middle, static_cast<long>(maxEdits), out))
        inOrder(middle, out);
    for (size_t i = suffix; i > 0; --i)
        out.push_back({a.size() - i, b.size() - i});
    return out;
}

}  // namespace view
