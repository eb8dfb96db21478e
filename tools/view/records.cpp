#include "records.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <typeinfo>

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

bool sameState(const akDebugObject* a, const akDebugObject* b)
{
    if (!a || !b || a->getType() != b->getType() || a->size_child() != b->size_child())
        return false;
    // Levels of one kind only: in a damaged file they need not be.
    for (auto i = a->begin_child(), j = b->begin_child(); i != a->end_child(); ++i, ++j)
        if (typeid(**i) != typeid(**j) || !(*i)->compare(*j))
            return false;
    return true;
}

namespace {

// The view of one record, given the draw context of the record before it (null for the first).
RecordView viewOf(const akDebugDraw::Record& record, unsigned int index, const akDebugObject* before)
{
    RecordView view;
    view.index = index;
    view.record = &record;
    view.kind = kindOf(record);
    const bool channel = view.kind == RecordKind::ChannelBegin || view.kind == RecordKind::ChannelEnd;
    view.redundant = !channel && sameState(record.drawContext, before);
    return view;
}

}  // namespace

std::vector<RecordView> recordViews(const akDebugDraw& draw)
{
    std::vector<RecordView> views;
    views.reserve(draw.size_record());
    const akDebugObject* before = nullptr;
    for (auto it = draw.begin_record(); it != draw.end_record(); ++it) {
        views.push_back(viewOf(**it, static_cast<unsigned int>(views.size()), before));
        before = (*it)->drawContext;
    }
    return views;
}

int readRecords(akDebugDraw& draw, const char* fileName, const RecordFilter& filter,
                const std::function<bool(const RecordView&)>& visit, RecordsSeen* seen)
{
    RecordsSeen counted;
    if (!seen)
        seen = &counted;
    unsigned int index = 0;
    // The draw context of the record before, kept for the comparison.
    akDebugObject* before = nullptr;
    bool more = true;
    const int result = draw.read(fileName, [&](const akDebugDraw::Record& record) {
        const RecordView view = viewOf(record, index++, before);
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
        if (before)
            before->unref();
        // A damaged file can leave a record without its draw context (a repeat whose source the
        // file never held).
        before = record.drawContext;
        if (before)
            before->ref();
        return more && !(filter.byIndex && view.index >= filter.index);
    });
    if (before)
        before->unref();
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
