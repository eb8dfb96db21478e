#include "records.h"

#include "changes.h"
#include "reading.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace view {

std::vector<const akDebugObject*> RecordView::objects() const
{
    std::vector<const akDebugObject*> found;
    if (record)
        for (const akDebugObject* object :
             {record->channelBin, record->cullRecord, record->geometry, record->drawContext})
            if (object)
                found.push_back(object);
    return found;
}

bool RecordFilter::accepts(const RecordView& view) const
{
    return (!byFrame || view.record->frame == frame) && (!byIndex || view.index == index);
}

namespace {

// By RecordKind. The reader names channel records by their kind.
const char* const s_kindNames[] = {"Draw Channel Begin", "Draw Channel End", "Geometry", "Draw Function",
                                   "State Change"};

}  // namespace

const char* nameOf(RecordKind kind) { return s_kindNames[static_cast<int>(kind)]; }

RecordKind kindOf(const akDebugDraw::Record& record)
{
    if (record.channelBin)
        return record.name.empty() ? RecordKind::Geometry : RecordKind::DrawFunction;
    for (RecordKind kind : {RecordKind::ChannelBegin, RecordKind::ChannelEnd})
        if (std::strcmp(record.name.c_str(), nameOf(kind)) == 0)
            return kind;
    return RecordKind::StateChange;
}

namespace {

// Follows the records of a file in order, keeping the draw context of the record before the next
// one and the baseline of the next draw. It holds a reference on each, as a reading one record at
// a time releases the records it has handed on.
class Sequence
{
public:
    Sequence() = default;
    ~Sequence()
    {
        hold(m_before, nullptr);
        hold(m_baseline, nullptr);
    }
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) = delete;

    // The view of the next record.
    RecordView next(const akDebugDraw::Record& record)
    {
        RecordView view;
        view.index = m_index++;
        view.record = &record;
        view.kind = kindOf(record);
        view.redundant = view.kind == RecordKind::StateChange && sameState(m_before, record.drawContext, m_compare);
        if (m_baseline && m_baselineFrame != record.frame)
            hold(m_baseline, nullptr);
        if (view.isDraw() && m_baseline) {
            view.baseline = m_baseline;
            view.baselineIndex = m_baselineIndex;
        }
        return view;
    }
    // Once the view was used: its record is the one before the next.
    void passed(const RecordView& view)
    {
        hold(m_before, view.record->drawContext);
        if (view.isDraw() || view.kind == RecordKind::ChannelBegin) {
            hold(m_baseline, view.record->drawContext);
            m_baselineIndex = view.index;
            m_baselineFrame = view.record->frame;
        }
    }

private:
    static void hold(akDebugObject*& slot, akDebugObject* object)
    {
        if (object)
            object->ref();
        if (slot)
            slot->unref();
        slot = object;
    }

    ValueCompare m_compare = stateCompare();
    unsigned int m_index = 0;
    // A damaged file can leave a record without its draw context (a repeat whose source the file
    // never held): then there is none to compare with.
    akDebugObject* m_before = nullptr;
    akDebugObject* m_baseline = nullptr;
    unsigned int m_baselineIndex = 0, m_baselineFrame = 0;
};

}  // namespace

std::vector<RecordView> recordViews(const akDebugDraw& draw)
{
    std::vector<RecordView> views;
    views.reserve(draw.size_record());
    Sequence sequence;
    for (auto it = draw.begin_record(); it != draw.end_record(); ++it) {
        views.push_back(sequence.next(**it));
        sequence.passed(views.back());
    }
    return views;
}

int readRecords(akDebugDraw& draw, const char* fileName, const RecordFilter& filter,
                const std::function<bool(const RecordView&)>& visit, RecordsSeen* seen, bool sayRefusal)
{
    RecordsSeen counted;
    if (!seen)
        seen = &counted;
    Sequence sequence;
    bool more = true;
    ReadProgress progress(draw, fileName, true);
    const int result = draw.read(fileName, [&](const akDebugDraw::Record& record) {
        const RecordView view = sequence.next(record);
        seen->firstFrame = seen->records == 0 ? record.frame : std::min(seen->firstFrame, record.frame);
        seen->lastFrame = seen->records++ == 0 ? record.frame : std::max(seen->lastFrame, record.frame);
        if (filter.byIndex && view.index == filter.index) {
            seen->indexSeen = true;
            seen->indexFrame = record.frame;
        }
        if (filter.accepts(view)) {
            ++seen->accepted;
            more = visit(view);
        }
        sequence.passed(view);
        return more && !(filter.byIndex && view.index >= filter.index);
    });
    ReadProgress::clearLine();  // before the refusal is said
    const std::string refusal = sayRefusal ? refusalOf(draw, fileName) : std::string();
    if (!refusal.empty())
        std::fprintf(stderr, "akdebug-view: %s\n", refusal.c_str());
    return result;
}

bool reportMissing(const RecordFilter& filter, const RecordsSeen& seen, const std::string& fileName, bool complete)
{
    if ((!filter.byFrame && !filter.byIndex) || seen.accepted > 0)
        return false;
    std::string holds;
    if (seen.records == 0)
        holds = complete ? "it holds no record" : "no record of it could be read";
    else if (filter.byIndex && !seen.indexSeen)
        holds = std::string(complete ? "it holds " : "the records that could be read are ") +
            (seen.records == 1 ? "record 0 alone" : "records 0 to " + std::to_string(seen.records - 1));
    else if (filter.byIndex)
        holds = "record " + std::to_string(filter.index) + " is of frame " + std::to_string(seen.indexFrame);
    else
        holds = std::string(complete ? "its records are of " : "the records that could be read are of ") +
            (seen.firstFrame == seen.lastFrame
                 ? "frame " + std::to_string(seen.firstFrame)
                 : "frames " + std::to_string(seen.firstFrame) + " to " + std::to_string(seen.lastFrame));
    std::string asked = filter.byIndex ? "record " + std::to_string(filter.index) : "";
    if (filter.byFrame)
        asked += (asked.empty() ? "frame " : " of frame ") + std::to_string(filter.frame);
    std::fprintf(stderr, "akdebug-view: %s is not in \"%s\": %s\n", asked.c_str(), escape(fileName.c_str()).c_str(),
                 holds.c_str());
    return true;
}

}  // namespace view
