// The viewer program run on scene and draw files written by the module.
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <telr.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
                                                         {"--html", "--html " + dir + "/page.html"}};
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

    // --json: the tree, its records (--frame, --record) and --find; nothing else.
    for (const auto& mode : modes) {
        if (mode.first == "--find")
            continue;
        const ViewRun run = view(scene + " --json " + mode.second);
        EXPECT_EQ(run.status, 2) << mode.first;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.has("--json applies to the tree and --find, not to " + mode.first + "\n")) << run.err;
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
