// The terminal output: trees, draw records by frame, summaries, the type table, name searches and
// where a host object is used. Every text from a file is escaped.
#include "options.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <string>

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

bool readScene(akDebugScene& scene, const Options& options)
{
    scene.setMaxAttributes(options.maxAttributes);
    scene.read(options.file.c_str());
    return scene.getRoot() != nullptr;
}

// Counts of what the trees hold: objects per type name (records read in full or repeated,
// references by address only, null references, class levels of other records), error marks per
// level.
struct Counts
{
    struct PerType
    {
        unsigned long long records = 0, references = 0, nulls = 0, levels = 0;
    };
    std::map<std::string, PerType> types;
    std::map<int, unsigned long long> errors;

    void add(const akDebugAttributeBase* root)
    {
        walk(root, {true, -1},
             {[&](const Node& node, int) {
                  for (const Error& error : node.errors)
                      ++errors[error.level];
                  const auto* object = dynamic_cast<const akDebugObject*>(node.attribute);
                  if (!object || !object->getType())
                      return true;
                  PerType& counts = types[object->getType()->getName()];
                  if (!node.hasAddress)
                      ++counts.levels;
                  else if (node.address == 0)
                      ++counts.nulls;
                  else
                      ++(object->empty_child() ? counts.references : counts.records);
                  return true;
              },
              nullptr});
    }
    void print() const
    {
        std::printf("types: %zu (records; by address, null references and class levels in brackets)\n", types.size());
        for (const auto& entry : types) {
            const PerType& counts = entry.second;
            std::printf("  %s: %llu", entry.first.c_str(), counts.records);
            const char* separator = " (";
            for (auto part : {std::make_pair(counts.references, "by address"), std::make_pair(counts.nulls, "null"),
                              std::make_pair(counts.levels, "as level")})
                if (part.first) {
                    std::printf("%s%llu %s", separator, part.first, part.second);
                    separator = ", ";
                }
            std::printf("%s\n", *separator == ',' ? ")" : "");
        }
        std::printf("errors by level:");
        if (errors.empty())
            std::printf(" none");
        for (const auto& entry : errors)
            std::printf(" %d: %llu", entry.first, entry.second);
        std::printf("\n");
    }
};

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

void printTypes(const akDebug& stream)
{
    std::printf("type table:\n");
    for (auto it = stream.begin_type(); it != stream.end_type(); ++it) {
        const akDebugTypeDef* def = (*it)->getTypeDef();
        const unsigned int options = def->getOptions();
        std::printf("  %3d %s", (*it)->getIndex(), def->getName());
        if (def->getBaseTypeDef())
            std::printf(" : %s", def->getBaseTypeDef()->getName());
        std::printf(" [");
        const char* separator = "";
        for (auto option : {std::make_pair(akDebugTypeDef::OPTION_INDEX_ADDRESS, "index address"),
                            std::make_pair(akDebugTypeDef::OPTION_INDEX_NAME, "index name"),
                            std::make_pair(akDebugTypeDef::OPTION_SHARE_REPEATS, "share repeats")})
            if (options & option.first) {
                std::printf("%s%s", separator, option.second);
                separator = ", ";
            }
        std::printf("]\n");
    }
}

// Objects whose name holds the text, each with its path and its tree.
void printFound(const akDebug& stream, const Options& options, const akDebugAttributeBase* root,
                const std::string& prefix, int& found)
{
    forEachFound(stream, options.find, options.exact, options.caseSensitive, root, prefix,
                 [&](const akDebugObject* object, const std::string& path) {
                     std::printf("%s\n", escape(path.c_str()).c_str());
                     printTree(object, options.walk, 1);
                     ++found;
                 });
}

// Every place below `root` where the host object at the address stands: the record read in full
// (the first one, in file order), its repeats, and the references by address only.
void printUses(const akDebugAttributeBase* root, const std::string& prefix, const Options& options, int& found,
               bool& fullShown)
{
    walk(root, {true, -1},
         {[&](const Node& node, int) {
              if (!node.hasAddress || node.address != options.address || node.address == 0)
                  return true;
              const auto* object = static_cast<const akDebugObject*>(node.attribute);
              const char* kind = object->empty_child() ? "address only" : fullShown ? "repeat" : "record";
              const std::string path = prefix + pathOf(node.attribute, root);
              std::printf("%s (%s, %s)\n", escape(path.empty() ? node.name.c_str() : path.c_str()).c_str(),
                          escape(node.type.c_str()).c_str(), kind);
              if (!object->empty_child() && !fullShown) {
                  printTree(node.attribute, options.walk, 1);
                  fullShown = true;
              }
              ++found;
              return true;
          },
          nullptr});
}

int showScene(const Options& options)
{
    akDebugScene scene;
    if (!readScene(scene, options))
        return 1;
    const bool complete = !scene.hasReadFailed();
    if (options.types) {
        printHeader(scene, "scene");
        printTypes(scene);
    } else if (options.summary) {
        printHeader(scene, "scene");
        printRecordCounts(scene);
        std::printf("attributes: %llu\n", scene.getNumAttributesHeld());
        Counts counts;
        counts.add(scene.getRoot());
        counts.print();
    } else if (!options.find.empty()) {
        int found = 0;
        printFound(scene, options, scene.getRoot(), "", found);
        std::printf("%d object%s found\n", found, found == 1 ? "" : "s");
    } else if (options.byAddress) {
        int found = 0;
        bool fullShown = false;
        printUses(scene.getRoot(), "", options, found, fullShown);
        std::printf("%d place%s found\n", found, found == 1 ? "" : "s");
    } else {
        printTree(scene.getRoot(), options.walk, 0);
    }
    return complete ? 0 : 1;
}

void printRecord(const RecordView& view, const WalkOptions& walk)
{
    std::printf("  Record %u \"%s\" (%s)%s\n", view.index, escape(view.record->name.c_str()).c_str(), view.kind,
                view.redundant ? " {redundant}" : "");
    for (const akDebugObject* object : view.objects())
        printTree(object, walk, 2);
}

int showDraw(const Options& options)
{
    akDebugDraw draw;
    draw.setMaxAttributes(options.maxAttributes);
    std::map<std::string, unsigned int> kinds;
    unsigned int records = 0, frames = 0, redundant = 0, frame = 0;
    unsigned long long held = 0;
    Counts counts;
    int found = 0;
    bool fullShown = false;
    const int result = readRecords(draw, options.file.c_str(), options.records, [&](const RecordView& view) {
        const akDebugDraw::Record& record = *view.record;
        if (options.summary) {
            ++kinds[view.kind];
            frames += std::string(view.kind) == "Draw Channel Begin";
            redundant += view.redundant;
            held = std::max(held, draw.getNumAttributesHeld());
            for (const akDebugObject* object : view.objects())
                counts.add(object);
        } else if (!options.find.empty()) {
            for (const akDebugObject* object : view.objects())
                printFound(draw, options, object,
                           "Record " + std::to_string(view.index) + "/" + object->getName() + "/", found);
        } else if (options.byAddress) {
            const std::string prefix = "Record " + std::to_string(view.index) + "/";
            for (const akDebugObject* object : view.objects())
                printUses(object, prefix + object->getName() + "/", options, found, fullShown);
        } else if (!options.types) {
            if (records == 0 || record.frame != frame)
                std::printf("Frame %u\n", record.frame);
            frame = record.frame;
            printRecord(view, options.walk);
        }
        ++records;
        return !options.types;
    });
    if (result == telu::FAILURE && records == 0)
        return 1;
    if (options.types) {
        printHeader(draw, "draw");
        printTypes(draw);
    } else if (options.summary) {
        printHeader(draw, "draw");
        std::printf("records: %u (%u redundant)\n", records, redundant);
        for (const auto& kind : kinds)
            std::printf("  %s: %u\n", kind.first.c_str(), kind.second);
        std::printf("frames: %u\n", frames);
        printRecordCounts(draw);
        std::printf("attributes held at most: %llu\n", held);
        counts.print();
    } else if (!options.find.empty()) {
        std::printf("%d object%s found\n", found, found == 1 ? "" : "s");
    } else if (options.byAddress) {
        std::printf("%d place%s found\n", found, found == 1 ? "" : "s");
    }
    return result == telu::SUCCESS ? 0 : 1;
}

}  // namespace

int runText(const Options& options)
{
    return kindOf(options.file.c_str()) == FileKind::Draw ? showDraw(options) : showScene(options);
}

}  // namespace view
