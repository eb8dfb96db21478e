// The statistics output (--stats, and with --json one JSON document): a draw file's read record by
// record, a scene file's from its tree.
#include "jsonshape.h"
#include "options.h"
#include "reading.h"
#include "stats.h"

#include <cstdio>

namespace view {

namespace {

// "name count, name count, ..." of a map; "none" when it is empty.
template <class Map>
std::string listed(const Map& counts)
{
    std::string text;
    for (const auto& entry : counts)
        text += (text.empty() ? "" : ", ") + escape(entry.first.c_str()) + " " + std::to_string(entry.second);
    return text.empty() ? "none" : text;
}

std::string keyOf(const std::string& key) { return key; }
std::string keyOf(int key) { return std::to_string(key); }

// A map as one JSON object, {"KEY":VALUE,...}, each value written by `value`, or a count.
template <class Map, class Value>
void writeMap(JsonText& out, const Map& map, const Value& value)
{
    out.raw("{");
    bool first = true;
    for (const auto& entry : map) {
        out.raw(first ? "" : ",").text(keyOf(entry.first)).raw(":");
        value(entry.second);
        first = false;
    }
    out.raw("}");
}
template <class Map>
void writeMap(JsonText& out, const Map& counts)
{
    writeMap(out, counts, [&](unsigned long long count) { out.number(count); });
}

void printFrame(const FrameStats& frame)
{
    std::string kinds;
    unsigned long long records = 0, primitives = 0;
    for (int kind = 0; kind < 5; ++kind) {
        records += frame.records[kind];
        if (frame.records[kind])
            kinds += (kinds.empty() ? "" : ", ") + std::to_string(frame.records[kind]) + " " +
                nameOf(static_cast<RecordKind>(kind));
    }
    for (const auto& entry : frame.primitives)
        primitives += entry.second;
    std::printf("  records: %llu (%s)\n", records, kinds.c_str());
    std::printf("  draws: %llu; by channel bin: %s\n", frame.draws, listed(frame.bins).c_str());
    std::printf("  vertices: %llu; primitives: %llu (%s)\n", frame.vertices, primitives,
                listed(frame.primitives).c_str());
    std::printf("  state changes: %llu (%llu redundant)\n", frame.stateChanges, frame.redundantStateChanges);
    std::printf("  distinct:");
    for (int kind = 0; kind < FrameStats::DistinctKinds; ++kind)
        std::printf("%s %zu %s", kind ? "," : "", frame.distinct[kind].size(),
                    nameOf(static_cast<FrameStats::Distinct>(kind)));
    std::printf("\n");
}

void writeFrame(JsonText& out, const FrameStats& frame, bool total)
{
    out.raw(total ? "{\"frames\":" : "{\"frame\":").number(frame.frame).raw(",\"records\":{");
    for (int kind = 0; kind < 5; ++kind)
        out.raw(kind ? "," : "").text(nameOf(static_cast<RecordKind>(kind))).raw(":").number(frame.records[kind]);
    out.raw("},\"draws\":").number(frame.draws).raw(",\"vertices\":").number(frame.vertices).raw(",\"primitives\":");
    writeMap(out, frame.primitives);
    out.raw(",\"bins\":");
    writeMap(out, frame.bins);
    out.raw(",\"stateChanges\":")
        .number(frame.stateChanges)
        .raw(",\"redundantStateChanges\":")
        .number(frame.redundantStateChanges)
        .raw(",\"distinct\":{");
    for (int kind = 0; kind < FrameStats::DistinctKinds; ++kind)
        out.raw(kind ? "," : "")
            .text(nameOf(static_cast<FrameStats::Distinct>(kind)))
            .raw(":")
            .number(frame.distinct[kind].size());
    out.raw("}}");
}

}  // namespace

void printStats(const DrawStats& stats)
{
    for (const FrameStats& frame : stats.frames()) {
        std::printf("frame %u\n", frame.frame);
        printFrame(frame);
    }
    std::printf("all %u frame%s\n", stats.total().frame, stats.total().frame == 1 ? "" : "s");
    printFrame(stats.total());
}

void writeStats(JsonText& out, const std::string& file, const DrawStats& stats, bool complete)
{
    out.raw("{\"file\":").text(file).raw(",\"kind\":\"draw\",\"frames\":[");
    for (size_t i = 0; i < stats.frames().size(); ++i) {
        out.raw(i ? ",\n" : "\n");
        writeFrame(out, stats.frames()[i], false);
    }
    out.raw("],\n\"total\":");
    writeFrame(out, stats.total(), true);
    out.raw(",\"complete\":").boolean(complete).raw("}");
}

void printStats(const SceneStats& stats)
{
    std::printf("classes: %zu (distinct objects; references, each a use read in full or repeated; references by "
                "address only)\n",
                stats.classes.size());
    for (const auto& entry : stats.classes)
        std::printf("  %s: %llu unique, %llu references, %llu by address\n", escape(entry.first.c_str()).c_str(),
                    entry.second.unique, entry.second.references, entry.second.byAddress);
    std::printf("nodes by kind: %s\n", listed(stats.nodes).c_str());
    std::printf("depth of the node graph: %u\n", stats.depth);
    std::printf("vertices: %llu unique, %llu instanced\n", stats.vertices.unique, stats.vertices.instanced);
    std::printf("primitives:");
    if (stats.primitives.empty())
        std::printf(" none");
    for (const auto& entry : stats.primitives)
        std::printf(" %s %llu unique, %llu instanced;", escape(entry.first.c_str()).c_str(), entry.second.unique,
                    entry.second.instanced);
    std::printf("\nerrors by level:");
    if (stats.errors.empty())
        std::printf(" none");
    for (const auto& entry : stats.errors)
        std::printf(" %d: %llu", entry.first, entry.second);
    std::printf("\n");
}

void writeStats(JsonText& out, const std::string& file, const SceneStats& stats, bool complete)
{
    out.raw("{\"file\":").text(file).raw(",\"kind\":\"scene\",\n\"classes\":");
    writeMap(out, stats.classes, [&](const SceneStats::Uses& uses) {
        out.raw("{\"unique\":")
            .number(uses.unique)
            .raw(",\"references\":")
            .number(uses.references)
            .raw(",\"byAddress\":")
            .number(uses.byAddress)
            .raw("}");
    });
    const auto amount = [&](const SceneStats::Amount& amount) {
        out.raw("{\"unique\":").number(amount.unique).raw(",\"instanced\":").number(amount.instanced).raw("}");
    };
    out.raw(",\n\"nodes\":");
    writeMap(out, stats.nodes);
    out.raw(",\"depth\":").number(stats.depth).raw(",\"vertices\":");
    amount(stats.vertices);
    out.raw(",\"primitives\":");
    writeMap(out, stats.primitives, amount);
    out.raw(",\"errors\":");
    writeMap(out, stats.errors);
    out.raw(",\"complete\":").boolean(complete).raw("}");
}

int runStats(const Options& options)
{
    JsonText out(true);
    bool complete = false;
    if (kindOf(options.file.c_str()) == FileKind::Draw) {
        akDebugDraw draw;
        draw.setMaxAttributes(options.maxAttributes);
        DrawStats stats;
        const int result = readRecords(draw, options.file.c_str(), options.records, [&](const RecordView& view) {
            stats.add(view);
            return true;
        });
        if ((result == telu::FAILURE && stats.frames().empty()) || draw.hasPassedAttributeLimit())
            return 1;
        complete = result == telu::SUCCESS;
        if (options.format == Format::Json)
            writeStats(out, options.file, stats, complete);
        else
            printStats(stats);
    } else {
        akDebugScene scene;
        if (!readScene(scene, options.file, options.maxAttributes))
            return 1;
        complete = !scene.hasReadFailed();
        const SceneStats stats = sceneStats(scene.getRoot());
        if (options.format == Format::Json)
            writeStats(out, options.file, stats, complete);
        else
            printStats(stats);
    }
    if (options.format == Format::Json) {
        out.raw("\n");
        std::fwrite(out.out.data(), 1, out.out.size(), stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        return 1;
    }
    return complete ? 0 : 1;
}

}  // namespace view
