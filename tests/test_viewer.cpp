// The viewer program run on scene and draw files written by the module.
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <benchscene.h>
#include <telr.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using viewsupport::view;
using viewsupport::ViewRun;

class ViewerTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        scene = dir + "/scene.bin";
        draw = dir + "/draw.bin";
        kiNode* root = new kiNode;
        root->setName("Root Node");
        kiNode* child = new kiNode;
        child->setName("Wheel Left");
        root->addChild(child);
        akDebugScene writer;
        ASSERT_EQ(writer.write(scene.c_str(), root, false), telu::SUCCESS);
        delete root;

        olDrawContext context;
        kiChannel channel;
        kiChannelBin bin;
        olGeometry geometry;
        channel.setDrawContext(&context);
        channel.addBin(&bin);
        bin.addGeometry(nullptr, &geometry, "Opaque");
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(draw.c_str(), &channel, false), telu::SUCCESS);
        recorder.start(2);
        channel.drawFrame();
        channel.drawFrame();
    }
    std::string dir, scene, draw;
};

// What a scene's summary must count, from the tree the module read: every attribute once; object
// records by tag. An object that stands for a host object is a null reference (address 0), or
// stands for one at an address: read in full or by address only (those whose type writes no
// field look alike in the tree, so the module's count of each is taken, and their sum checked
// here), or a repeat (an object at an address already read, of a type that shares repeats), whose
// contents are a copy and no records of the file.
struct TreeCounts
{
    unsigned int nulls = 0, placed = 0, repeats = 0, full = 0, addressOnly = 0;
    std::set<unsigned int> addresses;
    std::set<const akDebugAttributeBase*> attributes;

    explicit TreeCounts(const akDebugScene& scene)
        : full(scene.getNumRecords(akDebug::OBJECT_FULL)),
          addressOnly(scene.getNumRecords(akDebug::OBJECT_ADDRESS_ONLY))
    {
        add(scene.getRoot(), false);
    }
    void add(const akDebugAttributeBase* attribute, bool copied)
    {
        if (!attributes.insert(attribute).second)
            return;
        const auto* object = dynamic_cast<const akDebugObject*>(attribute);
        if (object && object->hasAddress() && !copied) {
            const bool shares = object->getType()->getTypeDef()->getOptions() & akDebugTypeDef::OPTION_SHARE_REPEATS;
            if (object->getValue() == 0)
                ++nulls;
            else if (object->empty_child())
                ++placed;
            else if (shares && !addresses.insert(object->getValue()).second)
                copied = ++repeats;
            else
                ++placed;
        }
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            add(*it, copied);
    }
    std::string recordsLine() const
    {
        return "object records: " + std::to_string(nulls) + " null, " + std::to_string(addressOnly) +
            " address only, " + std::to_string(repeats) + " repeat, " + std::to_string(full) + " full\n";
    }
};

TEST_F(ViewerTest, ShowsSceneTreesAndFindsObjects)
{
    ViewRun tree = view(scene);
    EXPECT_EQ(tree.status, 0) << tree.out;
    EXPECT_TRUE(tree.has("Root [kiNode *] = 0x")) << tree.out;
    EXPECT_TRUE(tree.has("Name [emString] = \"Wheel Left\"")) << tree.out;
    EXPECT_FALSE(tree.has("Size Requested")) << tree.out;
    EXPECT_TRUE(view("--advanced " + scene).has("Size Requested [unsigned int] = 0 {advanced}"));

    ViewRun found = view("--find wheel " + scene);
    EXPECT_EQ(found.status, 0);
    EXPECT_TRUE(found.has("1 object found")) << found.out;
    EXPECT_TRUE(found.has("\"Wheel Left\"")) << found.out;
    EXPECT_TRUE(view("--find wheel --case " + scene).has("0 objects found"));
    EXPECT_TRUE(view("--find Wheel --case " + scene).has("1 object found"));
    EXPECT_TRUE(view("--find wheel --exact " + scene).has("0 objects found"));
    EXPECT_TRUE(view("--find \"wheel left\" --exact " + scene).has("1 object found"));

    // The address of the child as the tree shows it finds the child.
    size_t at = found.out.find("[kiNode *] = 0x");
    ASSERT_NE(at, std::string::npos) << found.out;
    std::string address = found.out.substr(at + 15, found.out.find_first_of(" \n", at + 15) - at - 15);
    ViewRun byAddress = view("--address " + address + " " + scene);
    EXPECT_TRUE(byAddress.has("Children/0 (kiNode *, record)")) << byAddress.out;
    EXPECT_TRUE(byAddress.has("\"Wheel Left\"")) << byAddress.out;
    EXPECT_TRUE(byAddress.has("1 place found")) << byAddress.out;
    // The root stands in its own record and, by address, in its child's parent list.
    at = tree.out.find("Root [kiNode *] = 0x");
    ASSERT_NE(at, std::string::npos);
    const std::string root = tree.out.substr(at + 20, tree.out.find_first_of(" \n", at + 20) - at - 20);
    ViewRun uses = view("--address " + root + " " + scene);
    EXPECT_TRUE(uses.has("Children/0/Parents/0 (kiNode *, address only)")) << uses.out;
    EXPECT_TRUE(uses.has("2 places found")) << uses.out;

    ViewRun summary = view("--summary " + scene);
    akDebugScene read;
    ASSERT_EQ(read.read(scene.c_str()), telu::SUCCESS);
    const TreeCounts counts(read);
    // Two nodes in full, the root again by address only in its child's parents, no repeat.
    EXPECT_EQ(counts.full, 2u);
    EXPECT_EQ(counts.addressOnly, 1u);
    EXPECT_EQ(counts.placed, 3u);
    EXPECT_EQ(counts.repeats, 0u);
    EXPECT_TRUE(summary.has(counts.recordsLine())) << summary.out;
    EXPECT_TRUE(summary.has("\nattributes: " + std::to_string(counts.attributes.size()) + "\n")) << summary.out;
    EXPECT_TRUE(summary.has("errors by level: none")) << summary.out;
    EXPECT_TRUE(summary.has("kiNode: 2")) << summary.out;
}

TEST_F(ViewerTest, ShowsDrawRecordsByFrame)
{
    akDebugDraw read;
    ASSERT_EQ(read.read(draw.c_str()), telu::SUCCESS);
    ASSERT_EQ(read.size_record(), 8u);
    const akDebugDraw::Record& first = **read.begin_record();
    const unsigned int lastFrame = (*(read.end_record() - 1))->frame;
    ASSERT_EQ(lastFrame, first.frame + 1) << "two frames drawn one after the other";
    char context[64];
    std::snprintf(context, sizeof context, "Draw Context [olDrawContext *] = 0x%X\n", first.drawContext->getValue());

    ViewRun records = view(draw);
    EXPECT_EQ(records.status, 0) << records.out;
    EXPECT_EQ(records.out.rfind("Frame " + std::to_string(first.frame) + "\n", 0), 0u) << records.out;
    EXPECT_TRUE(records.has("\nFrame " + std::to_string(lastFrame) + "\n")) << records.out;
    EXPECT_TRUE(records.has("Record 0 \"Draw Channel Begin\" (Draw Channel Begin)")) << records.out;
    EXPECT_TRUE(records.has("\"Opaque\" (State Change)")) << records.out;
    EXPECT_TRUE(records.has(context)) << records.out;
    ViewRun summary = view("--summary " + draw);
    EXPECT_TRUE(summary.has("records: 8")) << summary.out;
    EXPECT_TRUE(summary.has("Geometry: 2")) << summary.out;
    EXPECT_TRUE(summary.has("State Change: 2")) << summary.out;
    EXPECT_TRUE(summary.has("frames: 2")) << summary.out;
}

TEST_F(ViewerTest, ExitStatusAndUsage)
{
    ViewRun version = view("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              std::to_string(telu::getVersionMajor()) + "." + std::to_string(telu::getVersionMinor()) + "." +
                  std::to_string(telu::getVersionPatch()) + "\n");
    EXPECT_EQ(view("--help").status, 0);
    EXPECT_EQ(view("").status, 2);
    EXPECT_EQ(view("--bogus " + scene).status, 2);
    EXPECT_EQ(view("--address zz " + scene).status, 2);
    ViewRun missing = view(dir + "/missing.bin");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.has("missing.bin\" cannot be opened: No such file or directory")) << missing.err;
    std::ofstream(dir + "/junk.bin") << "not a debug file at all";
    ViewRun junk = view(dir + "/junk.bin");
    EXPECT_EQ(junk.status, 1);
    EXPECT_TRUE(junk.has("junk.bin\" is neither a scene file nor a draw file")) << junk.err;

    // A file that needs more attributes than the limit is refused with the way to raise it.
    EXPECT_EQ(view("--max-attributes 0 " + scene).status, 2);
    EXPECT_EQ(view("--max-attributes -5 " + scene).status, 2);
    for (const std::string& file : {scene, draw}) {
        ViewRun limited = view("--summary --max-attributes 3 " + file);
        EXPECT_EQ(limited.status, 1) << limited.out;
        EXPECT_TRUE(limited.has("too many attributes: the file would build more than 3")) << limited.out;
        EXPECT_TRUE(limited.has("--max-attributes N")) << limited.out;
        EXPECT_EQ(view("--summary --max-attributes 1000000 " + file).status, 0);
    }
}

TEST_F(ViewerTest, OutputModesGoOneAtATimeAndJsonOnlyWhereItApplies)
{
    const std::pair<std::string, std::string> modes[] = {{"--summary", "--summary"},
                                                         {"--types", "--types"},
                                                         {"--find", "--find wheel"},
                                                         {"--address", "--address 1A2B"},
                                                         {"--diff", "--diff " + scene + " " + scene},
                                                         {"--serve", "--serve --port 0"},
                                                         {"--html", "--html " + dir + "/page.html"},
                                                         {"--stats", "--stats"}};
    for (const auto& a : modes)
        for (const auto& b : modes) {
            if (&a == &b)
                continue;
            const ViewRun run = view(scene + " " + a.second + " " + b.second);
            EXPECT_EQ(run.status, 2) << a.first << " " << b.first;
            EXPECT_EQ(run.out, "");
            const size_t first = std::min(run.err.find(a.first + " and "), run.err.find(b.first + " and "));
            EXPECT_NE(first, std::string::npos) << run.err;
            EXPECT_TRUE(run.has(" are two outputs; give one of ")) << run.err;
        }
    EXPECT_EQ(access((dir + "/page.html").c_str(), F_OK), -1) << "nothing was written";

    // --json: the tree, its records (--frame, --record), --find and --stats; nothing else.
    for (const auto& mode : modes) {
        if (mode.first == "--find" || mode.first == "--stats")
            continue;
        const ViewRun run = view(scene + " --json " + mode.second);
        EXPECT_EQ(run.status, 2) << mode.first;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.has("--json applies to the tree, --find and --stats, not to " + mode.first + "\n")) << run.err;
    }
    for (const std::string& arguments :
         {"--json " + scene, "--json --find wheel " + scene, "--json --frame 1 " + draw, "--json --record 2 " + draw}) {
        const ViewRun run = view(arguments);
        EXPECT_EQ(run.status, 0) << arguments << run.err;
        EXPECT_EQ(run.out.rfind("{\"file\":", 0), 0u) << arguments;
    }
    // Filters and switches of one mode narrow it, and are no mode of their own.
    EXPECT_EQ(view("--summary --frame 1 " + draw).status, 0);
    EXPECT_EQ(view("--find wheel --exact --case --advanced --depth 1 " + scene).status, 0);
}

}  // namespace

namespace {

// The type names a summary lists.
std::set<std::string> summaryTypes(const std::string& out)
{
    std::set<std::string> names;
    std::istringstream lines(out.substr(out.find("types: ")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0)
        names.insert(line.substr(2, line.find(": ") - 2));
    return names;
}

}  // namespace

// The demo, run as a user would (a directory name with blanks), writes both files; their
// summaries list every registered type between them.
TEST_F(ViewerTest, DemoFilesShowEveryTypeInTheirSummaries)
{
    const char* binDir = std::getenv("TELU_BIN_DIR");
    const std::string out = dir + "/demo with blanks";
    const std::string command =
        std::string(binDir ? binDir : ".") + "/akdebug-demo --no-view --nodes 20 --frames 2 \"" + out + "\" 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string printed;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        printed.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << printed;
    EXPECT_NE(printed.find("scene.akdebug: "), std::string::npos) << printed;
    EXPECT_NE(printed.find("2 frames"), std::string::npos) << printed;

    std::set<std::string> listed;
    for (const char* file : {"/scene.akdebug", "/draw.akdebug"}) {
        ViewRun summary = view("--summary \"" + out + file + "\"");
        ASSERT_EQ(summary.status, 0) << summary.out;
        const std::set<std::string> names = summaryTypes(summary.out);
        listed.insert(names.begin(), names.end());
    }
    std::set<std::string> registered;
    for (auto it = akDebugTypeDef::begin(); it != akDebugTypeDef::end(); ++it)
        registered.insert((*it)->getName());
    EXPECT_EQ(registered.size(), 143u);
    EXPECT_EQ(listed, registered);
}

namespace {

// The attributes a tree output shows at and below `attribute`: advanced ones and what they hold
// are left out.
size_t shownAttributes(const akDebugAttributeBase* attribute)
{
    if (!attribute || akDebugAttributeBase::isAdvanced(attribute))
        return 0;
    size_t n = 1;
    for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
        n += shownAttributes(*it);
    return n;
}

// The file with the first `name` of its bytes (a type name in its header) replaced.
std::string withTypeRenamed(const std::string& file, const std::string& name, const std::string& to)
{
    std::vector<uint8_t> bytes = schemasupport::readFile(file);
    auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    EXPECT_NE(at, bytes.end());
    std::copy(to.begin(), to.end(), at);
    const std::string renamed = file + ".renamed";
    schemasupport::writeFile(renamed, bytes);
    return renamed;
}

// The records of a draw file: how many, and the frames of the first and the last.
struct DrawRecords
{
    explicit DrawRecords(const std::string& draw)
    {
        akDebugDraw reader;
        EXPECT_EQ(reader.read(draw.c_str()), telu::SUCCESS);
        count = reader.size_record();
        if (count) {
            firstFrame = (*reader.begin_record())->frame;
            lastFrame = (*(reader.end_record() - 1))->frame;
        }
    }
    size_t count = 0;
    unsigned int firstFrame = 0, lastFrame = 0;
};

// Options given where they do not apply, numbers out of range, files that cannot be read,
// records and frames that are not there, texts and arguments that would reorder or take over a
// terminal's line.
TEST_F(ViewerTest, OptionsWhereTheyDoNotApplyAreUsageErrors)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--frame 0 " + scene, "--frame applies to draw files; \"" + scene + "\" is a scene file"},
        {"--record 0 --json " + scene, "--record applies to draw files; \"" + scene + "\" is a scene file"},
        {"--summary --record 0 " + scene, "--record applies to draw files; \"" + scene + "\" is a scene file"},
        {"--types --frame 0 " + draw,
         "--frame applies to the tree, --summary, --find, --address and --stats, not to --types"},
        {"--port 8080 " + scene, "--port applies to --serve, not to the tree"},
        {"--depth 1 --diff " + scene + " " + scene, "--depth applies to the tree, --find and --address, not to --diff"},
        {"--exact " + scene, "--exact applies to --find, not to the tree"},
        {"--jsonl --find Root " + scene, "--jsonl applies to the tree, not to --find"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first);
        EXPECT_EQ(run.status, 2) << entry.first;
        EXPECT_TRUE(run.has("akdebug-view: " + entry.second + "\n")) << entry.first << "\n" << run.err;
        EXPECT_EQ(run.out, "") << entry.first;
    }
    EXPECT_EQ(view("--frame " + std::to_string(DrawRecords(draw).lastFrame) + " " + draw).status, 0);
    EXPECT_EQ(view("--depth 1 --find wheel " + scene).status, 0);
}

TEST_F(ViewerTest, NumbersAreWholeAndInRangeAsSaidInPlainWords)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--max-attributes 18446744073709551616",
         "--max-attributes: \"18446744073709551616\" is not a whole number "
         "from 1 to 18446744073709551615"},
        {"--max-attributes 0", "--max-attributes: \"0\" is not a whole number from 1 to 18446744073709551615"},
        {"--max-attributes 1e3", "--max-attributes: \"1e3\" is not a whole number from 1 to 18446744073709551615"},
        {"--depth -1", "--depth: \"-1\" is not a whole number from 0 to 2147483647"},
        {"--depth 2147483648", "--depth: \"2147483648\" is not a whole number from 0 to 2147483647"},
        {"--serve --port 65536", "--port: \"65536\" is not a whole number from 0 to 65535"},
        {"--frame 4294967296", "--frame: \"4294967296\" is not a whole number from 0 to 4294967295"},
        {"--record +1", "--record: \"+1\" is not a whole number from 0 to 4294967295"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first + " " + draw);
        EXPECT_EQ(run.status, 2) << entry.first;
        EXPECT_TRUE(run.has("akdebug-view: " + entry.second)) << run.err;
        EXPECT_FALSE(run.has("1797693")) << run.err;
    }
    EXPECT_EQ(view("--summary --max-attributes 18446744073709551615 " + scene).status, 0);
}

TEST_F(ViewerTest, ARecordOrFrameThatIsNotInTheFileIsSaid)
{
    const DrawRecords drawn(draw);
    const size_t records = drawn.count;
    const unsigned int firstFrame = drawn.firstFrame, lastFrame = drawn.lastFrame;
    ASSERT_GT(records, 2u);
    ASSERT_NE(firstFrame, lastFrame);
    const std::string last = std::to_string(records - 1),
                      frames = std::to_string(firstFrame) + " to " + std::to_string(lastFrame);
    const std::pair<std::string, std::string> cases[] = {
        {"--record " + std::to_string(records),
         "record " + std::to_string(records) + " is not in \"" + draw + "\": it holds records 0 to " + last},
        {"--frame 4294967295", "frame 4294967295 is not in \"" + draw + "\": its records are of frames " + frames},
        {"--record 0 --frame " + std::to_string(lastFrame),
         "record 0 of frame " + std::to_string(lastFrame) + " is not in \"" + draw + "\": record 0 is of frame " +
             std::to_string(firstFrame)},
    };
    for (const auto& entry : cases)
        for (const char* output : {"", "--summary ", "--find geometry ", "--json ", "--jsonl "}) {
            const ViewRun run = view(output + entry.first + " " + draw);
            EXPECT_EQ(run.status, 1) << output << entry.first;
            EXPECT_TRUE(run.has("akdebug-view: " + entry.second + "\n")) << output << entry.first << "\n" << run.err;
        }
    const ViewRun lastRecord = view("--record " + last + " " + draw);
    EXPECT_EQ(lastRecord.status, 0) << lastRecord.err;
    EXPECT_TRUE(lastRecord.has("Record " + last + " ")) << lastRecord.out;
}

TEST_F(ViewerTest, FilesThatCannotBeReadAreNamedForWhatTheyAre)
{
    std::ofstream(dir + "/empty.bin");
    std::ofstream(dir + "/short.bin") << "abc";
    std::ofstream(dir + "/other.bin") << "not a debug file";
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/empty.bin", "is empty: neither a scene file nor a draw file"},
        {dir + "/short.bin", "holds 3 bytes: neither a scene file nor a draw file"},
        {dir + "/other.bin", "is neither a scene file nor a draw file (it starts with 0x20746F6E)"},
        {dir + "/missing.bin", "cannot be opened: No such file or directory"},
        {dir, "cannot be read: Is a directory"},
        // A type that this viewer does not know is named (as the file holds it, escaped).
        {withTypeRenamed(scene, "kiSwitch", "kiSwitcX"),
         "cannot be read: its type table names kiSwitcX, which this viewer does not know"},
        {withTypeRenamed(draw, "kiSwitch", "kiSw\x1B[1m"),
         "cannot be read: its type table names kiSw\\x1B[1m, which this viewer does not know"},
    };
    for (const auto& entry : cases)
        for (const std::string& output : {std::string(), std::string("--summary "), "--diff " + scene + " "}) {
            const ViewRun run = view(output + "\"" + entry.first + "\"");
            EXPECT_EQ(run.status, 1) << output << entry.first;
            EXPECT_TRUE(run.has("akdebug-view: \"" + entry.first + "\" " + entry.second)) << run.err;
            EXPECT_FALSE(run.has("akDebugScene::read")) << "read as a scene: " << run.err;
            EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
        }
    // JSON still gives a whole document, which says the file was not read.
    const ViewRun json = view("--json " + dir + "/empty.bin");
    EXPECT_EQ(json.out, "{\"file\":\"" + dir + "/empty.bin\",\"kind\":null,\"root\":null,\"complete\":false}\n");
    const ViewRun lines = view("--jsonl " + dir + "/empty.bin");
    EXPECT_EQ(lines.out, "{\"file\":\"" + dir + "/empty.bin\",\"kind\":null}\n{\"complete\":false}\n");
}

TEST_F(ViewerTest, CharactersThatReorderOrBreakALineAndArgumentsAreEscaped)
{
    // Bidirectional controls, the line and paragraph separators and U+FEFF, each between letters;
    // other characters beyond ASCII print as they are.
    const std::string name = "a\u202Eb\u202Ac\u2066d\u2069e\u200Ff\u061Cg\u2028h\u2029i\uFEFFj caf\u00E9 \u65E5";
    kiNode root(name.c_str());
    const std::string file = dir + "/bidi.bin";
    akDebugScene writer;
    ASSERT_EQ(writer.write(file.c_str(), &root, false), telu::SUCCESS);
    const ViewRun tree = view(file);
    EXPECT_EQ(tree.status, 0);
    EXPECT_TRUE(
        tree.has("Name [emString] = \"a\\u202Eb\\u202Ac\\u2066d\\u2069e\\u200Ff\\u061Cg\\u2028h\\u2029i\\uFEFFj "
                 "caf\u00E9 \u65E5\""))
        << tree.out;
    for (const char* raw : {"\u202E", "\u202A", "\u2066", "\u2069", "\u200F", "\u061C", "\u2028", "\u2029", "\uFEFF"})
        EXPECT_EQ(tree.out.find(raw), std::string::npos) << "raw in the output";
    const ViewRun found = view("--find j " + file);
    EXPECT_TRUE(found.has("\\u2029i\\uFEFFj")) << found.out;

    // Arguments echoed in messages: an address, an option, a file name.
    const std::pair<std::string, std::string> cases[] = {
        {"--address \"$(printf 'zz\\033[31m')\" " + scene, "bad address \"zz\\x1B[31m\""},
        {"\"$(printf -- '--bo\\033gus')\" " + scene, "--bo\\x1Bgus"},
        {"\"$(printf '" + dir + "/no\\033such')\"", "no\\x1Bsuch\" cannot be opened"},
        {"--depth \"$(printf '\\033[2J')\" " + scene, "\"\\x1B[2J\" is not a whole number"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first);
        EXPECT_NE(run.status, 0) << entry.first;
        EXPECT_TRUE(run.has(entry.second)) << entry.first << "\n" << run.err;
        EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
    }
}

}  // namespace

// The sample world's files, as the demo writes them, hold names with line breaks, terminal escape
// sequences and bytes that are not UTF-8 (font character names). Every form shows each attribute
// on a line of its own, and nothing of the files reaches stdout or stderr raw: the world's texts
// are ASCII once escaped.
TEST_F(ViewerTest, WorldFilesKeepOneAttributePerLineAndNoRawControlCharacters)
{
    const std::string out = dir + "/world", worldScene = out + "/scene.akdebug", worldDraw = out + "/draw.akdebug";
    const std::string demo = std::string(std::getenv("TELU_BIN_DIR")) + "/akdebug-demo --no-view --nodes 0 --frames 2";
    ASSERT_EQ(std::system((demo + " \"" + out + "\" >/dev/null 2>&1").c_str()), 0);
    akDebugScene sceneRead;
    akDebugDraw drawRead;
    ASSERT_EQ(sceneRead.read(worldScene.c_str()) + drawRead.read(worldDraw.c_str()), 2 * telu::SUCCESS);
    const akDebugObject* escaped = sceneRead.getType(akDebugTypeDef::find("kiNode"))
                                       ->findObject("line one\nline two \x1b[1mbold\x1b[0m", 0, nullptr);
    ASSERT_NE(escaped, nullptr);
    size_t drawLines = 0;
    std::set<unsigned int> frames;
    for (auto it = drawRead.begin_record(); it != drawRead.end_record(); ++it) {
        frames.insert((*it)->frame);
        drawLines += 1;  // the record's line
        for (const akDebugObject* object : {(*it)->channelBin, (*it)->cullRecord, (*it)->geometry, (*it)->drawContext})
            drawLines += shownAttributes(object);
    }
    char address[2][16];
    std::snprintf(address[0], 16, "%X", escaped->getValue());
    std::snprintf(address[1], 16, "%X", (*drawRead.begin_record())->drawContext->getValue());
    const size_t sceneLines = shownAttributes(sceneRead.getRoot());

    // Each form with the lines it shows (0: not counted here).
    const std::pair<std::string, size_t> forms[] = {
        {worldScene, sceneLines},
        {"--json " + worldScene, 1 + sceneLines},
        {"--find \"line one\" " + worldScene, 1 + shownAttributes(escaped) + 1},
        {"--address " + std::string(address[0]) + " " + worldScene, 0},
        {"--summary " + worldScene, 0},
        {worldDraw, frames.size() + drawLines},
        {"--json " + worldDraw, 1 + drawLines},
        {"--find sky " + worldDraw, 0},
        {"--address " + std::string(address[1]) + " " + worldDraw, 0},
        {"--summary " + worldDraw, 0},
    };
    for (const auto& form : forms) {
        ViewRun run = view(form.first);
        EXPECT_EQ(run.status, 0) << form.first;
        const auto raw = std::find_if(run.out.begin(), run.out.end(),
                                      [](unsigned char c) { return c != '\n' && (c < 0x20 || c > 0x7E); });
        EXPECT_EQ(raw, run.out.end()) << form.first << ": byte " << static_cast<int>(static_cast<unsigned char>(*raw))
                                      << " at " << raw - run.out.begin();
        if (form.second) {
            EXPECT_EQ(static_cast<size_t>(std::count(run.out.begin(), run.out.end(), '\n')), form.second) << form.first;
        }
    }
    EXPECT_TRUE(view(worldScene).has("Name [emString] = \"Line one\\nline two \\x1B[1mbold\\x1B[0m\"\n"));

    // The world's summary counts what its tree holds.
    const TreeCounts counts(sceneRead);
    EXPECT_GT(counts.repeats, 0u);
    EXPECT_GT(counts.addressOnly, 0u);
    EXPECT_EQ(counts.full + counts.addressOnly, counts.placed);
    const ViewRun summary = view("--summary " + worldScene);
    EXPECT_TRUE(summary.has(counts.recordsLine())) << counts.recordsLine() << summary.out;
    EXPECT_TRUE(summary.has("\nattributes: " + std::to_string(counts.attributes.size()) + "\n")) << summary.out;
    EXPECT_TRUE(view(worldScene).has(" '\\x9B' [] = \n"));
}

namespace {

// The bytes of the file up to the end of its type table (the header, whose last type name is that
// of the last type definition registered, a string record: its length, then its bytes) and the
// first bytes of its first record.
std::vector<uint8_t> headerOf(const std::string& file)
{
    std::vector<uint8_t> bytes = schemasupport::readFile(file);
    const std::string last = (*(akDebugTypeDef::end() - 1))->getName();
    const auto at = std::search(bytes.begin(), bytes.end(), last.begin(), last.end());
    EXPECT_NE(at, bytes.end());
    uint32_t length = 0;
    std::memcpy(&length, &*(at - 4), sizeof length);
    bytes.resize(static_cast<size_t>(at - bytes.begin()) + length + 6);
    return bytes;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

// --types reads the header and the type table alone: a file that ends right after its table shows
// the same table as the whole file. A type that this viewer does not know is shown and marked, while
// every other output refuses the file naming it.
TEST_F(ViewerTest, TypesComeFromTheHeaderAloneAndMarkTypesNotKnown)
{
    for (const std::string& file : {scene, draw}) {
        const ViewRun whole = view("--types " + file);
        ASSERT_EQ(whole.status, 0) << whole.err;
        const std::vector<std::string> table = linesOf(whole.out);
        EXPECT_EQ(table.size(), 2 + akDebugTypeDef::size()) << whole.out;
        const std::string header = file + ".header";
        schemasupport::writeFile(header, headerOf(file));
        const ViewRun cut = view("--types " + header);
        EXPECT_EQ(cut.status, 0) << cut.err;
        EXPECT_EQ(cut.out, whole.out);
        EXPECT_EQ(view("--summary " + header).status, 1) << "the other outputs read the records";

        const ViewRun renamed = view("--types " + withTypeRenamed(file, "kiSwitch", "kiSwitcX"));
        EXPECT_EQ(renamed.status, 0) << renamed.err;
        const std::vector<std::string> marked = linesOf(renamed.out);
        ASSERT_EQ(marked.size(), table.size() + 1) << renamed.out;
        size_t differ = 0;
        for (size_t i = 0; i < table.size(); ++i)
            if (marked[i] != table[i]) {
                ++differ;
                EXPECT_NE(marked[i].find(" kiSwitcX [not known to this viewer]"), std::string::npos) << marked[i];
            }
        EXPECT_EQ(differ, 1u);
        EXPECT_EQ(marked.back(),
                  "1 type is not known to this viewer: the file cannot be read by it (written with "
                  "other host libraries?)");
    }
}

// A file refused for passing the attribute limit shows the message, with the bound met and the way
// to raise it, and nothing of what was built, in every output; a few kilobytes built to expand
// past the default limit meet the bound for their size.
TEST_F(ViewerTest, AFileRefusedForItsLimitShowsNothingOfWhatWasBuilt)
{
    const std::string page = dir + "/refused.html";
    for (const std::string& file : {scene, draw}) {
        const std::string message = "akdebug-view: \"" + file +
            "\" is refused: too many attributes: the file would build more than 20, the limit given with "
            "--max-attributes; a larger limit is set with --max-attributes N\n";
        for (const std::string& output :
             {std::string(), std::string("--summary "), std::string("--stats "), std::string("--find Wheel "),
              std::string("--address 1A2B "), "--diff " + file + " ", std::string("--serve --port 0 "),
              "--html " + page + " "}) {
            const ViewRun run = view("--max-attributes 20 " + output + file);
            EXPECT_EQ(run.status, 1) << output << file;
            EXPECT_EQ(run.err, message) << output << file;
            EXPECT_EQ(run.out, "") << output << file;
        }
        const ViewRun json = view("--json --max-attributes 20 " + file);
        EXPECT_EQ(json.status, 1);
        EXPECT_EQ(json.err, message);
        const std::string kind = file == scene ? "scene" : "draw";
        EXPECT_EQ(json.out,
                  "{\"file\":\"" + file + "\",\"kind\":\"" + kind + "\"," +
                      (file == scene ? "\"root\":null" : "\"records\":[]") + ",\"complete\":false}\n");
        const ViewRun lines = view("--jsonl --max-attributes 20 " + file);
        EXPECT_EQ(lines.out, "{\"file\":\"" + file + "\",\"kind\":\"" + kind + "\"}\n{\"complete\":false}\n");
    }
    EXPECT_EQ(access(page.c_str(), F_OK), -1) << "no page was written";

    const std::string expanding = dir + "/expanding.scene";
    akDebugScene writer;
    ASSERT_EQ(writer.write(expanding.c_str(), benchscene::buildExpanding(30)->getRoot(), false), telu::SUCCESS);
    const ViewRun refused = view("--summary " + expanding);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "akdebug-view: \"" + expanding +
                  "\" is refused: too many attributes: the file would build more than 10000000, the "
                  "default limit for a file of " +
                  std::to_string(schemasupport::readFile(expanding).size()) +
                  " bytes (1000 attributes per byte, at least 10000000); a larger limit is set with "
                  "--max-attributes N\n");
}
