// The records of a draw file as the viewer shows them: their kinds, their redundancy, the record a
// draw's changes are counted from, and reading them one at a time or all at once.
#pragma once

#include "core.h"

namespace view {

// What a record is, told from its name and the objects it holds.
enum class RecordKind { ChannelBegin, ChannelEnd, Geometry, DrawFunction, StateChange };
// "Draw Channel Begin", "Draw Channel End", "Geometry", "Draw Function" or "State Change".
const char* nameOf(RecordKind kind);
RecordKind kindOf(const akDebugDraw::Record& record);

// One record of a draw file as the viewer shows it.
struct RecordView
{
    unsigned int index = 0;  // in file order, from 0
    const akDebugDraw::Record* record = nullptr;
    RecordKind kind = RecordKind::StateChange;
    // A state change that sets the state already in effect: its draw context holds the state of the
    // record before it (changes.h). Other records are never redundant.
    bool redundant = false;
    // A draw's baseline, what its changes are counted from: the draw context of the draw before it
    // in its frame, or else of its frame's channel begin, and that record's index. Null for other
    // records and for a draw with neither before it.
    const akDebugObject* baseline = nullptr;
    unsigned int baselineIndex = 0;
    const char* kindName() const { return nameOf(kind); }
    bool isDraw() const { return kind == RecordKind::Geometry || kind == RecordKind::DrawFunction; }
    // The four objects that a record may hold, null where it holds none.
    std::vector<const akDebugObject*> objects() const;
};

// Which records a reading hands on: all, those of one frame, or one by index.
struct RecordFilter
{
    bool byFrame = false;
    unsigned int frame = 0;
    bool byIndex = false;
    unsigned int index = 0;
    bool accepts(const RecordView& view) const;
};

// What a reading of records saw, whatever the filter: the records read, the frames they are of, the
// records the filter accepted, and the frame of the record that the filter asks for by index.
struct RecordsSeen
{
    unsigned int records = 0, accepted = 0;
    unsigned int firstFrame = 0, lastFrame = 0;
    bool indexSeen = false;
    unsigned int indexFrame = 0;
};

// Reads a draw file one record at a time and hands on the records the filter accepts; returns the
// reader's result (1 or -32767). `visit` returns false to stop. `seen`, when given, counts. The
// read's progress is shown on a terminal (reading.h); a file refused for passing the attribute
// limit is said so on stderr (the records handed on before the refused one are whole) unless
// `sayRefusal` is false.
int readRecords(akDebugDraw& draw, const char* fileName, const RecordFilter& filter,
                const std::function<bool(const RecordView&)>& visit, RecordsSeen* seen = nullptr,
                bool sayRefusal = true);

// When the filter asks for a record or a frame that a reading did not find: says so on stderr,
// with what the file holds instead (`complete`: the file was read whole), and returns true.
bool reportMissing(const RecordFilter& filter, const RecordsSeen& seen, const std::string& fileName, bool complete);

// The records that a whole reading (akDebugDraw::read) kept, in file order, with the same kinds,
// redundancy and baselines as readRecords gives them. The views point into `draw`'s records.
std::vector<RecordView> recordViews(const akDebugDraw& draw);

}  // namespace view
