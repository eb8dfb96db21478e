// The difference of two recordings (or of two frames of one): their records aligned frame by frame
// (align.h) by what each record is, its kind, name and what it draws; records only one side has
// are added or removed, and aligned records are compared by value (compare.h) in what they draw
// (channel bin, cull record, geometry) and in the state of their draw context (changes.h), numbers
// within a relative tolerance being equal.
//
// A recording is read record by record and kept small: the objects a file stores once and repeats
// are kept as the file's one source of their copies, and a draw context as its state's parts, each
// element shared with the record before when it holds the same.
#pragma once

#include "changes.h"
#include "records.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace view {

class JsonText;

// One record as a recording keeps it.
struct KeptRecord
{
    unsigned int index = 0, frame = 0;
    RecordKind kind = RecordKind::StateChange;
    // What the record is, as the difference shows it: its kind, name and what it draws
    // ("Geometry olBox \"Crate\"").
    std::string label;
    uint64_t key = 0;  // what aligns it: a hash of its kind, name and what it draws
    // "Channel Bin", "Cull Record", "Geometry"; null where the record holds none.
    const akDebugObject* objects[3] = {nullptr, nullptr, nullptr};
    // The state of its draw context (no context: no state, `context` false).
    bool context = false;
    const akDebugAttributeBase* inherit = nullptr;
    std::vector<const akDebugAttributeBase*> elements;
    const akDebugAttributeBase* preserve = nullptr;
    StateParts state() const
    {
        return {inherit, elements.data(), static_cast<unsigned int>(elements.size()), preserve};
    }
};

class Recording
{
public:
    struct Frame
    {
        unsigned int number = 0;
        size_t first = 0, count = 0;  // in records()
    };

    Recording();
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // Reads a draw file, keeping every frame, or only those numbered in `only` when it is given.
    // False, with the reason on stderr, when it is no draw file or nothing could be read.
    bool read(const std::string& file, unsigned long long maxAttributes, const std::vector<unsigned int>* only);
    bool complete() const { return m_complete; }
    const std::string& file() const { return m_file; }
    const std::vector<Frame>& frames() const { return m_frames; }
    const std::vector<KeptRecord>& records() const { return m_records; }
    // The frame numbered `number`, or null.
    const Frame* frame(unsigned int number) const;

private:
    void keep(const RecordView& view);
    const akDebugAttributeBase* hold(const akDebugAttributeBase* attribute);

    akDebugDraw m_draw;  // keeps the sources of repeats that kept records point to
    std::string m_file;
    bool m_complete = false;
    std::vector<Frame> m_frames;
    std::vector<KeptRecord> m_records;
    std::unordered_set<const akDebugAttributeBase*> m_held;  // each holds one reference of ours
    ValueCompare m_exact;
};

// One difference: a record (or a whole frame) only one side has, or one value that differs
// between two aligned records. In the frames `frameA` and `frameB` (null: that side has no frame
// there).
struct RecordDifference
{
    enum class What { Added, Removed, Changed };
    What what = What::Changed;
    const Recording::Frame* frameA = nullptr;
    const Recording::Frame* frameB = nullptr;
    const KeptRecord* a = nullptr;  // both null for a whole frame added or removed
    const KeptRecord* b = nullptr;
    Difference difference;  // what differs, for a change: paths start with the object's name
};

// Compares the frame pairs in order (frame N of A with frame M of B, or every frame of A with the
// frame of B at the same place, with `frames` empty), handing each difference to `visit`.
void diffRecordings(const Recording& a, const Recording& b,
                    const std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>>& frames,
                    double tolerance, const std::function<void(const RecordDifference&)>& visit);
// The frame pairs of two recordings: the first frames of each, the second, ...; frames only one
// of them has paired with null.
std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>> framePairs(const Recording& a,
                                                                                    const Recording& b);

// The differences of two recordings as one JSON object, as the web page shows them:
//   {"a":FILE,"b":FILE,"frames":[{"a":1,"b":1,"differences":[
//     {"change":"removed","a":{"index":5,"label":"Geometry olBox"},"b":null},
//     {"change":"changed","a":{...},"b":{...},"path":...,"type":...,"before":...,"after":...}]}],
//    "added":0,"removed":1,"changed":1,"shown":2,"complete":true}
// A frame only one side has is a difference with "records" (its count) and null records. At
// most `limit` differences are listed ("shown"); the counts are of all of them.
void writeRecordDiff(JsonText& out, const Recording& a, const Recording& b, double tolerance, size_t limit);

}  // namespace view
