// akdebug-view: shows a scene or draw file as the module reads it. It is also the tool the module
// starts after writing a file: the build places it in the tool directory as "DebugScene.exe" and
// "DebugDraw.exe".
#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>

namespace {

const char* const s_usage =
    "usage: akdebug-view [options] FILE\n"
    "Shows a scene file or a draw file: every attribute with its name, type and value, its error\n"
    "marks, tool tip and advanced mark; draw files as their records by frame.\n"
    "\n"
    "options:\n"
    "  --find TEXT     objects whose name contains TEXT (case-insensitive)\n"
    "  --exact         with --find: the whole name must equal TEXT\n"
    "  --case          with --find: compare case-sensitively\n"
    "  --address HEX   objects with this address\n"
    "  --summary       counts only: object records by tag, attributes, errors; for draw files\n"
    "                  records by kind and frames\n"
    "  --max-attributes N\n"
    "                  refuse a file that would build more than N attributes at once\n"
    "                  (default 100000000)\n"
    "  --version       the host library version this viewer runs with\n"
    "  --help          this text\n"
    "\n"
    "exit status: 0 the file was read, 1 it could not be read, 2 bad usage\n";

struct Options
{
    const char* file = nullptr;
    const char* find = nullptr;
    bool exact = false;
    bool caseSensitive = false;
    bool byAddress = false;
    unsigned int address = 0;
    bool summary = false;
    unsigned long long maxAttributes = akDebug::s_defaultMaxAttributes;
};

// Text with line breaks shown as "\n", so that every attribute stays on one line.
std::string oneLine(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p)
        out += *p == '\n' ? std::string("\\n") : std::string(1, *p);
    return out;
}

void printAttribute(const akDebugAttributeBase* attribute, int depth)
{
    char type[akDebugAttributeBase::s_stringBufferSize];
    char value[akDebugAttributeBase::s_stringBufferSize];
    attribute->getTypeString(type);
    attribute->getValueString(value);
    std::printf("%*s%s [%s] = %s", depth * 2, "", attribute->getName(), type, value);
    if (akDebugAttributeBase::isAdvanced(attribute))
        std::printf(" {advanced}");
    if (const char* tip = akDebugAttributeBase::getToolTip(attribute))
        std::printf(" {tip: %s}", oneLine(tip).c_str());
    auto errors = akDebugAttributeBase::range_error(attribute);
    for (auto it = errors.first; it != errors.second; ++it)
        std::printf(" {error %d: %s}", static_cast<int>(it->second.first), oneLine(it->second.second).c_str());
    std::printf("\n");
}

void printTree(const akDebugAttributeBase* attribute, int depth)
{
    printAttribute(attribute, depth);
    for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
        printTree(*it, depth + 1);
}

// The objects of every type of the file that the name or address index holds.
int search(const akDebug& stream, const Options& options)
{
    std::string query = options.find ? options.find : "";
    if (!options.caseSensitive)
        for (char& c : query)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    unsigned int flags = (options.caseSensitive ? akDebugType::FIND_CASE_SENSITIVE : 0u) |
                         (options.exact ? akDebugType::FIND_EXACT : 0u);
    int found = 0;
    for (auto it = stream.begin_type(); it != stream.end_type(); ++it) {
        const akDebugType* type = *it;
        akDebugObject* object = nullptr;
        for (;;) {
            object = options.byAddress ? type->findObject(options.address, object)
                                       : type->findObject(query.c_str(), flags, object);
            if (!object)
                break;
            printTree(object, 0);
            ++found;
        }
    }
    std::printf("%d object%s found\n", found, found == 1 ? "" : "s");
    return 0;
}

void printRecordCounts(const akDebug& stream)
{
    std::printf("object records: %u null, %u address only, %u repeat, %u full\n",
                stream.getNumRecords(akDebug::OBJECT_NULL), stream.getNumRecords(akDebug::OBJECT_ADDRESS_ONLY),
                stream.getNumRecords(akDebug::OBJECT_REPEAT), stream.getNumRecords(akDebug::OBJECT_FULL));
}

void printCounts(const akDebug& stream, unsigned long long attributes)
{
    printRecordCounts(stream);
    std::printf("attributes: %llu\n", attributes);
    std::printf("errors: %u\n", akDebugAttributeBase::size_error());
}

int showScene(const Options& options)
{
    akDebugScene scene;
    scene.setMaxAttributes(options.maxAttributes);
    int result = scene.read(options.file);
    if (!scene.getRoot())
        return 1;
    if (options.find || options.byAddress)
        search(scene, options);
    else if (options.summary)
        printCounts(scene, scene.getNumAttributesHeld());
    else
        printTree(scene.getRoot(), 0);
    return result == telu::SUCCESS ? 0 : 1;
}

// Summaries and listings read the records one at a time, so that the viewer's memory follows the
// distinct objects of a recording, not its length.
int showDraw(const Options& options)
{
    akDebugDraw draw;
    draw.setMaxAttributes(options.maxAttributes);
    if (options.find || options.byAddress) {
        int result = draw.read(options.file);
        if (result == telu::FAILURE && draw.empty_record())
            return 1;
        search(draw, options);
        return result == telu::SUCCESS ? 0 : 1;
    }
    std::map<std::string, unsigned int> kinds;
    unsigned int records = 0, frames = 0, frame = 0;
    unsigned long long attributes = 0;
    int result = draw.read(options.file, [&](const akDebugDraw::Record& record) {
        if (options.summary) {
            std::string kind = record.name.c_str();
            if (record.channelBin)
                kind = record.name.empty() ? "Geometry" : "Draw Function";
            else if (kind != "Draw Channel Begin" && kind != "Draw Channel End")
                kind = "State Change";
            ++kinds[kind];
            frames += kind == "Draw Channel Begin";
            attributes = std::max(attributes, draw.getNumAttributesHeld());
        } else {
            if (records == 0 || record.frame != frame)
                std::printf("Frame %u\n", record.frame);
            frame = record.frame;
            std::printf("  Record \"%s\"\n", record.name.c_str());
            for (const akDebugObject* object : {record.channelBin, record.cullRecord, record.geometry, record.drawContext})
                if (object)
                    printTree(object, 2);
        }
        ++records;
        return true;
    });
    if (result == telu::FAILURE && records == 0)
        return 1;
    if (options.summary) {
        std::printf("records: %u\n", records);
        for (const auto& kind : kinds)
            std::printf("  %s: %u\n", kind.first.c_str(), kind.second);
        std::printf("frames: %u\n", frames);
        printRecordCounts(draw);
        std::printf("attributes held at most: %llu\n", attributes);
        std::printf("errors: %u\n", akDebugAttributeBase::size_error());
    }
    return result == telu::SUCCESS ? 0 : 1;
}

// The magic number tells a scene file from a draw file.
unsigned int magicOf(const char* fileName)
{
    emFile file;
    unsigned int magic = 0;
    if (file.open(fileName, "rb") == telu::SUCCESS)
        file.readTyped(&magic);
    return magic;
}

bool parse(int argc, char** argv, Options& options, int& exitStatus)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(s_usage, stdout);
            exitStatus = 0;
            return false;
        }
        if (arg == "--version") {
            std::printf("%d.%d.%d\n", telu::getVersionMajor(), telu::getVersionMinor(), telu::getVersionPatch());
            exitStatus = 0;
            return false;
        }
        if (arg == "--find" && i + 1 < argc) {
            options.find = argv[++i];
        } else if (arg == "--address" && i + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            unsigned long value = std::strtoul(argv[++i], &end, 16);
            if (errno || !end || *end || value > 0xFFFFFFFFul) {
                std::fprintf(stderr, "akdebug-view: bad address \"%s\"\n", argv[i]);
                return false;
            }
            options.byAddress = true;
            options.address = static_cast<unsigned int>(value);
        } else if (arg == "--max-attributes" && i + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            unsigned long long value = std::strtoull(argv[++i], &end, 10);
            if (errno || !end || *end || argv[i][0] == '-' || value == 0) {
                std::fprintf(stderr, "akdebug-view: bad attribute limit \"%s\"\n", argv[i]);
                return false;
            }
            options.maxAttributes = value;
        } else if (arg == "--exact") {
            options.exact = true;
        } else if (arg == "--case") {
            options.caseSensitive = true;
        } else if (arg == "--summary") {
            options.summary = true;
        } else if (!arg.empty() && arg[0] != '-' && !options.file) {
            options.file = argv[i];
        } else {
            std::fprintf(stderr, "akdebug-view: unexpected argument \"%s\"\n", argv[i]);
            return false;
        }
    }
    if (!options.file || (options.find && options.byAddress)) {
        std::fputs(s_usage, stderr);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    int exitStatus = 2;
    if (!parse(argc, argv, options, exitStatus))
        return exitStatus;

    // The module's failures go to stderr; its information messages are not the viewer's output.
    emNotify::setHandler([](int level, const char* text) {
        if (level >= emNotify::LEVEL_WARN)
            std::fprintf(stderr, "akdebug-view: %s\n", text);
        if (std::strstr(text, "too many attributes"))
            std::fprintf(stderr, "akdebug-view: a larger limit is set with --max-attributes N\n");
    });
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
    unsigned int magic = magicOf(options.file);
    int status;
    if (magic == akDebugDraw::MAGIC_NUMBER) {
        status = showDraw(options);
    } else if (magic == akDebugScene::MAGIC_NUMBER) {
        status = showScene(options);
    } else {
        // Neither kind: the scene reader reports why (missing file, bad magic number).
        status = showScene(options);
    }
    module->shutdown();
    delete module;
    return status;
}
