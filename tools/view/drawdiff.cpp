#include "drawdiff.h"

#include "align.h"
#include "jsonshape.h"
#include "options.h"
#include "stats.h"

#include <akdebugattributevalue.h>
#include <akdebugtype.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace view {

namespace {

const char* const s_objectNames[3] = {"Channel Bin", "Cull Record", "Geometry"};

std::string textOf(const akDebugAttributeBase* attribute)
{
    const auto* text = dynamic_cast<const akDebugAttribute<emString>*>(attribute);
    return text ? text->getValue().c_str() : "";
}

// Compares two aligned records: what they draw, then their states.
void compareRecords(RecordDifference found, ValueCompare& compare,
                    const std::function<void(const RecordDifference&)>& visit)
{
    found.what = RecordDifference::What::Changed;
    const KeptRecord& a = *found.a;
    const KeptRecord& b = *found.b;
    const auto each = [&](const Difference& difference) {
        found.difference = difference;
        visit(found);
    };
    for (int i = 0; i < 3; ++i) {
        if (!a.objects[i] != !b.objects[i])
            each({s_objectNames[i], a.objects[i], b.objects[i]});
        else if (a.objects[i])
            compare.differences(a.objects[i], b.objects[i], s_objectNames[i], each);
    }
    for (const StateChange& change : stateChanges(a.state(), b.state(), compare))
        for (const Difference& field : change.fields)
            each({"Draw Context/" + change.element + (field.path.empty() ? "" : "/" + field.path), field.before,
                  field.after});
}

}  // namespace

Recording::Recording() : m_exact(0, false) {}

Recording::~Recording()
{
    // Before the stream goes: the objects held belong to its types.
    for (const akDebugAttributeBase* attribute : m_held)
        const_cast<akDebugAttributeBase*>(attribute)->unref();
}

const Recording::Frame* Recording::frame(unsigned int number) const
{
    for (const Frame& frame : m_frames)
        if (frame.number == number)
            return &frame;
    return nullptr;
}

const akDebugAttributeBase* Recording::hold(const akDebugAttributeBase* attribute)
{
    if (!attribute)
        return nullptr;
    // The stream keeps the sources of repeats as long as it lives.
    if (const akDebugObject* source = sourceOf(attribute))
        return source;
    if (m_held.insert(attribute).second)
        const_cast<akDebugAttributeBase*>(attribute)->ref();
    return attribute;
}

void Recording::keep(const RecordView& view)
{
    const akDebugDraw::Record& record = *view.record;
    if (m_frames.empty() || m_frames.back().number != record.frame)
        m_frames.push_back({record.frame, m_records.size(), 0});
    ++m_frames.back().count;
    KeptRecord kept;
    kept.index = view.index;
    kept.frame = record.frame;
    kept.kind = view.kind;
    const akDebugObject* objects[3] = {record.channelBin, record.cullRecord, record.geometry};
    for (int i = 0; i < 3; ++i)
        kept.objects[i] = static_cast<const akDebugObject*>(hold(objects[i]));
    kept.label = view.kindName();
    std::string key = kept.label + '\x1f' + record.name.c_str();
    if (view.kind == RecordKind::StateChange || view.kind == RecordKind::DrawFunction)
        kept.label += " \"" + std::string(record.name.c_str()) + "\"";
    if (view.isDraw() && record.geometry) {
        const std::string type = record.geometry->getType() ? record.geometry->getType()->getName() : "";
        const std::string name = textOf(fieldOf(record.geometry, "Name"));
        const GeometryMeasure measure = measureGeometry(record.geometry);
        key += '\x1f' + type + '\x1f' + name + '\x1f' + std::to_string(measure.vertices) + '\x1f' + measure.primitive;
        kept.label += " " + type + (name.empty() ? "" : " \"" + name + "\"");
    }
    kept.key = std::hash<std::string>()(key);
    if (record.drawContext) {
        // Each element (and the preserve enables) shared with the record before when it holds the same.
        const KeptRecord* before = m_records.empty() ? nullptr : &m_records.back();
        const StateParts parts = partsOf(record.drawContext);
        kept.context = true;
        kept.inherit = hold(parts.inherit);
        kept.elements.reserve(parts.count);
        for (unsigned int i = 0; i < parts.count; ++i) {
            const akDebugAttributeBase* same = before && i < before->elements.size() ? before->elements[i] : nullptr;
            kept.elements.push_back(same && m_exact.same(same, parts.elements[i]) ? same : hold(parts.elements[i]));
        }
        const bool samePreserve =
            before && before->preserve && parts.preserve && m_exact.same(before->preserve, parts.preserve);
        kept.preserve = samePreserve ? before->preserve : hold(parts.preserve);
    }
    m_records.push_back(std::move(kept));
}

bool Recording::read(const std::string& file, unsigned long long maxAttributes, const std::vector<unsigned int>* only)
{
    m_file = file;
    m_draw.setMaxAttributes(maxAttributes);
    const int result = readRecords(m_draw, file.c_str(), {}, [&](const RecordView& view) {
        if (!only || std::find(only->begin(), only->end(), view.record->frame) != only->end())
            keep(view);
        return true;
    });
    m_complete = result == telu::SUCCESS && !m_draw.hasReadFailed();
    if (m_draw.hasPassedAttributeLimit())
        return false;  // said by the reading
    if (result == telu::SUCCESS || !m_records.empty())
        return true;
    std::fprintf(stderr, "akdebug-view: \"%s\" could not be read; nothing compared\n", escape(file.c_str()).c_str());
    return false;
}

std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>> framePairs(const Recording& a,
                                                                                    const Recording& b)
{
    std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>> pairs;
    for (size_t i = 0; i < std::max(a.frames().size(), b.frames().size()); ++i)
        pairs.emplace_back(i < a.frames().size() ? &a.frames()[i] : nullptr,
                           i < b.frames().size() ? &b.frames()[i] : nullptr);
    return pairs;
}

void diffRecordings(const Recording& a, const Recording& b,
                    const std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>>& frames,
                    double tolerance, const std::function<void(const RecordDifference&)>& visit)
{
    ValueCompare compare(tolerance, false);
    for (const auto& pair : frames) {
        RecordDifference found;
        found.frameA = pair.first;
        found.frameB = pair.second;
        if (!pair.first || !pair.second) {
            found.what = pair.first ? RecordDifference::What::Removed : RecordDifference::What::Added;
            visit(found);
            continue;
        }
        const KeptRecord* recordsA = &a.records()[pair.first->first];
        const KeptRecord* recordsB = &b.records()[pair.second->first];
        std::vector<uint64_t> keysA, keysB;
        for (size_t i = 0; i < pair.first->count; ++i)
            keysA.push_back(recordsA[i].key);
        for (size_t j = 0; j < pair.second->count; ++j)
            keysB.push_back(recordsB[j].key);
        for (const Aligned& step : align(keysA, keysB)) {
            found.a = step.a == Aligned::none ? nullptr : &recordsA[step.a];
            found.b = step.b == Aligned::none ? nullptr : &recordsB[step.b];
            if (found.a && found.b) {
                compareRecords(found, compare, visit);
            } else {
                found.what = found.a ? RecordDifference::What::Removed : RecordDifference::What::Added;
                visit(found);
            }
        }
    }
}

namespace {

struct Counts
{
    unsigned long long added = 0, removed = 0, changed = 0;
    void add(const RecordDifference& found)
    {
        ++(found.what == RecordDifference::What::Added         ? added
               : found.what == RecordDifference::What::Removed ? removed
                                                               : changed);
    }
    unsigned long long all() const { return added + removed + changed; }
};

// Tells when the differences handed on reach the next pair of frames.
struct FramePair
{
    const Recording::Frame* a = nullptr;
    const Recording::Frame* b = nullptr;
    bool started = false;
    bool next(const RecordDifference& found)
    {
        if (started && found.frameA == a && found.frameB == b)
            return false;
        started = true;
        a = found.frameA;
        b = found.frameB;
        return true;
    }
};

std::string frameName(const Recording::Frame* frame)
{
    return frame ? "frame " + std::to_string(frame->number) : "(none)";
}

void printDifference(const RecordDifference& found)
{
    if (!found.a && !found.b) {
        const Recording::Frame* frame = found.frameA ? found.frameA : found.frameB;
        std::printf("  %s %s: %zu record%s\n", found.frameA ? "removed" : "added", frameName(frame).c_str(),
                    frame->count, frame->count == 1 ? "" : "s");
    } else if (!found.a || !found.b) {
        const KeptRecord& record = found.a ? *found.a : *found.b;
        std::printf("  %s record %u: %s\n", found.a ? "removed" : "added", record.index,
                    escape(record.label.c_str()).c_str());
    } else {
        std::printf("  changed record %u -> %u (%s) %s\n", found.a->index, found.b->index,
                    escape(found.a->label.c_str()).c_str(), shownDifference(found.difference).c_str());
    }
}

void writeRecord(JsonText& out, const KeptRecord* record)
{
    if (!record) {
        out.raw("null");
        return;
    }
    out.raw("{\"index\":").number(record->index).raw(",\"label\":").text(record->label).raw("}");
}

}  // namespace

void writeRecordDiff(JsonText& out, const Recording& a, const Recording& b, double tolerance, size_t limit)
{
    out.raw("{\"a\":").text(a.file()).raw(",\"b\":").text(b.file()).raw(",\"frames\":[");
    Counts counts;
    FramePair pair;
    diffRecordings(a, b, framePairs(a, b), tolerance, [&](const RecordDifference& found) {
        counts.add(found);
        if (counts.all() > limit)
            return;
        if (pair.next(found)) {
            out.raw(counts.all() > 1 ? "]},\n{\"a\":" : "\n{\"a\":");
            found.frameA ? out.number(found.frameA->number) : out.raw("null");
            out.raw(",\"b\":");
            found.frameB ? out.number(found.frameB->number) : out.raw("null");
            out.raw(",\"differences\":[");
        } else {
            out.raw(",");
        }
        out.raw("{\"change\":")
            .text(found.what == RecordDifference::What::Added         ? "added"
                      : found.what == RecordDifference::What::Removed ? "removed"
                                                                      : "changed")
            .raw(",\"a\":");
        writeRecord(out, found.a);
        out.raw(",\"b\":");
        writeRecord(out, found.b);
        if (!found.a && !found.b)
            out.raw(",\"records\":").number((found.frameA ? found.frameA : found.frameB)->count);
        if (found.a && found.b)
            out.raw(",").differenceMembers(found.difference);
        out.raw("}");
    });
    out.raw(counts.all() ? "]}],\n" : "],\n")
        .raw("\"added\":")
        .number(counts.added)
        .raw(",\"removed\":")
        .number(counts.removed)
        .raw(",\"changed\":")
        .number(counts.changed)
        .raw(",\"shown\":")
        .number(std::min<unsigned long long>(counts.all(), limit))
        .raw(",\"complete\":")
        .boolean(a.complete() && b.complete())
        .raw("}");
}

int runRecordDiff(const Options& options)
{
    // A scene file and a draw file: named as a draw file among scene files would be.
    const auto draw = std::find_if(options.diff.begin(), options.diff.end(),
                                   [](const std::string& file) { return kindOf(file.c_str()) == FileKind::Draw; });
    if (draw == options.diff.end()) {
        // No draw file (one scene file with --frames): the command line refuses it before it comes
        // here, but the difference may be asked for directly.
        std::fprintf(stderr, "akdebug-view: --frames applies to draw files; \"%s\" is a scene file\n",
                     escape(options.diff.front().c_str()).c_str());
        return 2;
    }
    for (const std::string& file : options.diff)
        if (kindOf(file.c_str()) == FileKind::Scene) {
            std::fprintf(stderr,
                         "akdebug-view: --diff compares two scene files or two draw files; \"%s\" is a draw "
                         "file, \"%s\" a scene file\n",
                         escape(draw->c_str()).c_str(), escape(file.c_str()).c_str());
            return 2;
        }
    const bool oneFile = options.diff.size() == 1;
    const bool byFrames = options.frames.size() == 2;
    if (oneFile && !byFrames)
        return 2;
    // With frames given, only those are kept.
    std::vector<unsigned int> onlyA, onlyB;
    if (byFrames) {
        onlyA = oneFile ? options.frames : std::vector<unsigned int>(1, options.frames[0]);
        onlyB.push_back(options.frames[1]);
    }
    Recording first, second;
    if (!first.read(options.diff[0], options.maxAttributes, byFrames ? &onlyA : nullptr))
        return 1;
    if (!oneFile && !second.read(options.diff[1], options.maxAttributes, byFrames ? &onlyB : nullptr))
        return 1;
    const Recording& a = first;
    const Recording& b = oneFile ? first : second;
    std::vector<std::pair<const Recording::Frame*, const Recording::Frame*>> pairs;
    if (byFrames) {
        pairs.emplace_back(a.frame(options.frames[0]), b.frame(options.frames[1]));
        for (int side = 0; side < 2; ++side)
            if (!(side ? pairs[0].second : pairs[0].first)) {
                std::fprintf(stderr, "akdebug-view: \"%s\" has no frame %u\n",
                             escape((side ? b : a).file().c_str()).c_str(), options.frames[side]);
                return 1;
            }
    } else {
        pairs = framePairs(a, b);
    }
    Counts counts;
    FramePair pair;
    diffRecordings(a, b, pairs, options.tolerance, [&](const RecordDifference& found) {
        if (pair.next(found))
            std::printf("%s -> %s\n", frameName(found.frameA).c_str(), frameName(found.frameB).c_str());
        printDifference(found);
        counts.add(found);
    });
    std::printf("%llu difference%s: %llu added, %llu removed, %llu changed\n", counts.all(),
                counts.all() == 1 ? "" : "s", counts.added, counts.removed, counts.changed);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        return 1;
    }
    return counts.all() ? 3 : 0;
}

}  // namespace view
