// The terminal output: trees, draw records by frame, summaries, the type table, name searches and
// where a host object is used. Every text from a file is escaped.
#include "changes.h"
#include "counts.h"
#include "options.h"
#include "reading.h"
#include "search.h"

#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>

namespace view {

namespace {

void printNode(const Node& node, int indent)
{
    std::printf("%*s%s [%s] = %s", indent * 2, "", escape(node.name.c_str()).c_str(), escape(node.type.c_str()).c_str(),
                escape(node.value.c_str()).c_str());
    if (node.advanced)
        std::printf(" {advanced}");
    if (node.toolTip)
        std::printf(" {tip: %s}", escape(node.toolTip).c_str());
    for (const Error& error : node.errors)
        std::printf(" {error %d: %s}", error.level, escape(error.message).c_str());
    std::printf("\n");
}

void printTree(const akDebugAttributeBase* root, const WalkOptions& options, int indent)
{
    walk(root, options,
         {[&](const Node& node, int depth) {
              printNode(node, indent + depth);
              return true;
          },
          nullptr});
}

// Counts of what the trees hold: objects per type name (records read in full or repeated,
// references by address only, null references, class levels of other records), error marks per
// level.
void printCounts(const TreeCounts& counts)
{
    const std::map<std::string, TreeCounts::PerType> types = counts.types();
    std::printf("types: %zu (records; by address, null references and class levels in brackets)\n", types.size());
    for (const auto& entry : types) {
        const TreeCounts::PerType& type = entry.second;
        std::printf("  %s: %llu", entry.first.c_str(), type.records);
        const char* separator = " (";
        for (auto part : {std::make_pair(type.references, "by address"), std::make_pair(type.nulls, "null"),
                          std::make_pair(type.levels, "as level")})
            if (part.first) {
                std::printf("%s%llu %s", separator, part.first, part.second);
                separator = ", ";
            }
        std::printf("%s\n", *separator == ',' ? ")" : "");
    }
    std::printf("errors by level:");
    const std::map<int, unsigned long long> errors = counts.errors();
    if (errors.empty())
        std::printf(" none");
    for (const auto& entry : errors)
        std::printf(" %d: %llu", entry.first, entry.second);
    std::printf("\n");
}

void printRecordCounts(const akDebug& stream)
{
    std::printf("object records: %u null, %u address only, %u repeat, %u full\n",
                stream.getNumRecords(akDebug::OBJECT_NULL), stream.getNumRecords(akDebug::OBJECT_ADDRESS_ONLY),
                stream.getNumRecords(akDebug::OBJECT_REPEAT), stream.getNumRecords(akDebug::OBJECT_FULL));
}

void printHeader(const akDebug& stream, const char* kind)
{
    const int* version = stream.getFileVersion();
    std::printf("%s file, host library %d.%d.%d, %d representation%s\n", kind, version[0], version[1], version[2],
                stream.getNumRepresentations(), stream.getNumRepresentations() == 1 ? "" : "s");
}

// Objects whose name holds the text, each with its path and its tree.
void printFound(const akDebug& stream, const Options& options, const Tops& tops, int& found)
{
    findByName(stream, options.query, tops, [&](const Found& each) {
        std::printf("%s\n", escape(pathOf(tops, each).c_str()).c_str());
        printTree(each.object, options.walk, 1);
        ++found;
        return true;
    });
}

// Every place below the tops where the host object at the address stands: the record read in
// full (the first one, in file order), its repeats, and the references by address only. A search
// over the records of a draw file is given, one for all of them.
void printUses(const Tops& tops, const Options& options, int& found, bool& fullShown, AddressSearch* records = nullptr)
{
    AddressSearch once(options.address);
    (records ? *records : once).find(tops, [&](const Found& each) {
        char type[akDebugAttributeBase::s_stringBufferSize];
        each.object->getTypeString(type);
        const char* kind = each.object->empty_child() ? "address only" : fullShown ? "repeat" : "record";
        std::printf("%s (%s, %s)\n", escape(pathOf(tops, each).c_str()).c_str(), escape(type).c_str(), kind);
        if (!each.object->empty_child() && !fullShown) {
            printTree(each.object, options.walk, 1);
            fullShown = true;
        }
        ++found;
        return true;
    });
}

// The tops of a scene's tree, or of a record's.
Tops topsOf(const akDebugAttributeBase* root)
{
    Tops tops;
    tops.add(root);
    return tops;
}
Tops topsOf(const RecordView& view)
{
    Tops tops;
    for (const akDebugObject* object : view.objects())
        tops.add(object, static_cast<int>(view.index));
    return tops;
}

void printFoundCount(Mode mode, int found)
{
    const bool objects = mode == Mode::Find;
    std::printf("%d %s%s found\n", found, objects ? "object" : "place", found == 1 ? "" : "s");
}

int showScene(const Options& options)
{
    akDebugScene scene;
    if (!readScene(scene, options.file, options.maxAttributes))
        return 1;
    const bool complete = !scene.hasReadFailed();
    int found = 0;
    bool fullShown = false;
    switch (options.mode) {
    case Mode::Summary: {
        printHeader(scene, "scene");
        printRecordCounts(scene);
        std::printf("attributes: %llu\n", scene.getNumAttributesHeld());
        TreeCounts counts;
        counts.add(scene.getRoot());
        printCounts(counts);
        break;
    }
    case Mode::Find:
        printFound(scene, options, topsOf(scene.getRoot()), found);
        printFoundCount(options.mode, found);
        break;
    case Mode::Address:
        printUses(topsOf(scene.getRoot()), options, found, fullShown);
        printFoundCount(options.mode, found);
        break;
    default: printTree(scene.getRoot(), options.walk, 0);
    }
    return complete ? 0 : 1;
}

// What changed in the state of a draw since its baseline, one element and one value a line.
void printChanges(const RecordView& view, ValueCompare& compare)
{
    if (!view.baseline)
        return;
    const std::vector<StateChange> changes = stateChanges(view.baseline, view.record->drawContext, compare);
    std::printf("    Changed since record %u:%s\n", view.baselineIndex, changes.empty() ? " nothing" : "");
    for (const StateChange& change : changes) {
        std::printf("      %s %s\n", nameOf(change.what), escape(change.element.c_str()).c_str());
        for (const Difference& field : change.fields)
            std::printf("        %s\n", shownDifference(field).c_str());
    }
}

void printRecord(const RecordView& view, const Options& options, ValueCompare& compare)
{
    std::printf("  Record %u \"%s\" (%s)%s\n", view.index, escape(view.record->name.c_str()).c_str(), view.kindName(),
                view.redundant ? " {redundant}" : "");
    if (options.changes)
        printChanges(view, compare);
    for (const akDebugObject* object : view.objects())
        printTree(object, options.walk, 2);
}

int showDraw(const Options& options)
{
    akDebugDraw draw;
    draw.setMaxAttributes(options.maxAttributes);
    std::map<std::string, unsigned int> kinds;
    const Mode mode = options.mode;
    unsigned int records = 0, frames = 0, redundant = 0, frame = 0;
    unsigned long long held = 0;
    TreeCounts counts;
    int found = 0;
    bool fullShown = false;
    AddressSearch uses(options.address);
    ValueCompare compare = stateCompare();
    RecordsSeen seen;
    const int result = readRecords(
        draw, options.file.c_str(), options.records,
        [&](const RecordView& view) {
            const akDebugDraw::Record& record = *view.record;
            if (mode == Mode::Summary) {
                ++kinds[view.kindName()];
                frames += view.kind == RecordKind::ChannelBegin;
                redundant += view.redundant;
                held = std::max(held, draw.getNumAttributesHeld());
                for (const akDebugObject* object : view.objects())
                    counts.add(object);
            } else if (mode == Mode::Find) {
                printFound(draw, options, topsOf(view), found);
            } else if (mode == Mode::Address) {
                printUses(topsOf(view), options, found, fullShown, &uses);
            } else {
                if (records == 0 || record.frame != frame)
                    std::printf("Frame %u\n", record.frame);
                frame = record.frame;
                printRecord(view, options, compare);
            }
            ++records;
            return true;
        },
        &seen);
    // A refused file's counts would be of a part of it.
    if (reportMissing(options.records, seen, options.file, result == telu::SUCCESS) ||
        (result == telu::FAILURE && records == 0) || draw.hasPassedAttributeLimit())
        return 1;
    if (mode == Mode::Summary) {
        printHeader(draw, "draw");
        std::printf("records: %u (%u redundant)\n", records, redundant);
        for (const auto& kind : kinds)
            std::printf("  %s: %u\n", kind.first.c_str(), kind.second);
        std::printf("frames: %u\n", frames);
        printRecordCounts(draw);
        std::printf("attributes held at most: %llu\n", held);
        printCounts(counts);
    } else if (mode == Mode::Find || mode == Mode::Address) {
        printFoundCount(mode, found);
    }
    return result == telu::SUCCESS ? 0 : 1;
}

}  // namespace

int runText(const Options& options)
{
    return kindOf(options.file.c_str()) == FileKind::Draw ? showDraw(options) : showScene(options);
}

}  // namespace view
