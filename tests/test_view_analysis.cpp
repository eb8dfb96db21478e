// What the viewer finds in recordings: redundant state changes, what each draw changed, statistics
// and the difference of two recordings; run as a program on recordings whose every record the
// tests know, and on the sample world's files, held against counts made here from the module's
// records.
#include "drawscript.h"
#include "schemasupport.h"
#include "viewsupport.h"
#include "worldfiles.h"

#include <align.h>
#include <options.h>

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

using drawscript::Paint;
using drawscript::Script;
using nlohmann::json;
using viewsupport::view;

class ViewAnalysisTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        kiThread::setFrameNumber(0);
    }
    json document(const std::string& arguments)
    {
        const viewsupport::ViewRun run = view(arguments);
        EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err;
        return json::parse(run.out, nullptr, false);
    }
    std::string dir;
};

// Lines of a text that start with `prefix`.
std::vector<std::string> linesWith(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

TEST_F(ViewAnalysisTest, OnlyAStateChangeThatSetsTheStateInEffectIsRedundant)
{
    const std::string file = dir + "/redundant.draw";
    const auto box = drawscript::quad("box", 1, 1, 1);
    Paint red(1, 0, 0);
    olFog::Element fog;
    fog.enable = true;
    olState inherit("Inherited");
    {
        Script script(file);
        script.context.setInheritState(&inherit);
        script.begin();                           // 0
        script.context.setElement(&red.element);  // a material set
        script.state("Paint");                    // 1
        script.draw(box.get());                   // 2
        script.state("Paint Again");              // 3: nothing set
        script.draw(box.get());                   // 4: nothing changed, and a draw
        script.context.setElement(&fog);          // an element set
        script.state("Fog");                      // 5
        script.draw(box.get());                   // 6
        script.end(true);                         // 7
    }
    const json records = document("--json --depth 0 " + file)["records"];
    ASSERT_EQ(records.size(), 8u);
    for (const json& record : records)
        EXPECT_EQ(record["redundant"], record["index"] == 3) << record.dump();
    const viewsupport::ViewRun text = view(file);
    EXPECT_EQ(linesWith(text.out, "  Record "),
              (std::vector<std::string>{
                  "  Record 0 \"Draw Channel Begin\" (Draw Channel Begin)",
                  "  Record 1 \"Paint\" (State Change)",
                  "  Record 2 \"\" (Geometry)",
                  "  Record 3 \"Paint Again\" (State Change) {redundant}",
                  "  Record 4 \"\" (Geometry)",
                  "  Record 5 \"Fog\" (State Change)",
                  "  Record 6 \"\" (Geometry)",
                  "  Record 7 \"Draw Channel End\" (Draw Channel End)",
              }));
    EXPECT_TRUE(view("--summary " + file).has("records: 8 (1 redundant)"));
    const json total = document("--stats --json " + file)["total"];
    EXPECT_EQ(total["stateChanges"], 3);
    EXPECT_EQ(total["redundantStateChanges"], 1);
}

TEST_F(ViewAnalysisTest, ADrawListsWhatChangedInTheStateSinceTheDrawBeforeIt)
{
    const std::string file = dir + "/changes.draw";
    const auto box = drawscript::quad("box", 1, 1, 1);
    Paint red(1, 0, 0), green(0, 1, 0);
    olFog morning("Morning");
    olFog::Element fog;
    fog.enable = true;
    fog.fog = &morning;
    {
        Script script(file);
        script.context.setElement(&red.element);
        script.context.setElement(&fog);
        script.begin();                             // 0
        script.draw(box.get());                     // 1: since the frame began
        script.context.setElement(&green.element);  // only the material's colour differs
        script.state("Green");                      // 2
        script.draw(box.get());                     // 3
        script.context.setElement(olFog::Element::getStaticClassType(), nullptr);
        script.draw(box.get());  // 4
        script.end(false);       // 5
        script.begin();          // 6
        script.draw(box.get());  // 7: since record 6, not record 4
        script.end(true);
    }
    const json records = document("--json --depth 0 " + file)["records"];
    ASSERT_EQ(records.size(), 9u);
    for (const json& record : records)
        EXPECT_EQ(record.contains("changes"), record["kind"] == "Geometry") << record.dump();
    EXPECT_EQ(records[1]["changes"], json::parse(R"({"since":0,"elements":[]})"));
    EXPECT_EQ(records[3]["changes"], json::parse(R"({"since":1,"elements":[{"element":"olMaterial::Element",
        "change":"changed","fields":[{"path":"Material/Color, Diffuse","type":"emVec4<float>",
        "before":"r=1, g=0, b=0, a=1","after":"r=0, g=1, b=0, a=1"}]}]})"));
    const json& removed = records[4]["changes"];
    EXPECT_EQ(removed["since"], 3);
    ASSERT_EQ(removed["elements"].size(), 1u);
    EXPECT_EQ(removed["elements"][0]["element"], "olFog::Element");
    EXPECT_EQ(removed["elements"][0]["change"], "removed");
    bool enable = false, name = false;
    for (const json& field : removed["elements"][0]["fields"]) {
        EXPECT_TRUE(field["after"].is_null()) << field.dump();
        enable |= field["path"] == "Enable" && field["before"] == "true";
        name |= field["path"] == "Fog/emBase/Name" && field["before"] == "\"Morning\"";
    }
    EXPECT_TRUE(enable && name) << removed.dump();
    EXPECT_EQ(records[7]["changes"]["since"], 6);

    // The terminal shows the same under each draw with --changes, and nothing of it without.
    const std::string text = view("--changes --depth 0 " + file).out;
    EXPECT_NE(text.find("  Record 3 \"\" (Geometry)\n"
                        "    Changed since record 1:\n"
                        "      changed olMaterial::Element\n"
                        "        Material/Color, Diffuse [emVec4<float>]: r=1, g=0, b=0, a=1 -> r=0, g=1, b=0, a=1\n"
                        "    Channel Bin [kiChannelBin *]"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Record 1 \"\" (Geometry)\n    Changed since record 0: nothing\n"), std::string::npos);
    EXPECT_NE(text.find("    Changed since record 3:\n      removed olFog::Element\n"), std::string::npos);
    EXPECT_NE(text.find("        Enable [bool]: true\n"), std::string::npos);
    EXPECT_EQ(view("--depth 0 " + file).out.find("Changed"), std::string::npos);
    // --changes belongs to the listing of records.
    EXPECT_EQ(view("--changes --summary " + file).status, 2);
}

// ---- statistics ----

// A field of a record's object below it, not inside the other host objects it refers to.
const akDebugAttributeBase* findField(const akDebugAttributeBase* at, const char* name)
{
    for (auto it = at->begin_child(); it != at->end_child(); ++it) {
        if (std::string((*it)->getName()) == name)
            return *it;
        const auto* object = dynamic_cast<const akDebugObject*>(*it);
        if (object && !object->hasAddress())
            if (const akDebugAttributeBase* found = findField(object, name))
                return found;
    }
    return nullptr;
}

std::string valueOf(const akDebugAttributeBase* attribute)
{
    char text[akDebugAttributeBase::s_stringBufferSize];
    attribute->getValueString(text);
    return text;
}

// Every object below `at` (and `at` itself) that stands for a host object, by its type string.
void objectsBelow(const akDebugAttributeBase* at, std::map<std::string, std::set<unsigned int>>& found)
{
    const auto* object = dynamic_cast<const akDebugObject*>(at);
    if (object && object->hasAddress() && object->getValue() != 0)
        found[schemasupport::typeOf(object)].insert(object->getValue());
    for (auto it = at->begin_child(); it != at->end_child(); ++it)
        objectsBelow(*it, found);
}

TEST_F(ViewAnalysisTest, StatisticsOfTheSampleWorldsRecordingAreCountsOfItsRecords)
{
    const std::string scene = dir + "/world.scene", draw = dir + "/world.draw";
    worldfiles::write(scene, draw, 2);
    akDebugDraw reader;
    ASSERT_EQ(reader.read(draw.c_str()), telu::SUCCESS);
    // Per frame, in the document's shape, counted here record by record.
    std::map<unsigned int, json> frames;
    std::map<unsigned int, std::map<std::string, std::set<unsigned int>>> used;
    const auto bump = [](json& count, int by) { count = (count.is_null() ? 0 : count.get<int>()) + by; };
    for (auto it = reader.begin_record(); it != reader.end_record(); ++it) {
        const akDebugDraw::Record& record = **it;
        json& frame = frames[record.frame];
        if (frame.is_null())
            frame = {{"frame", record.frame},
                     {"draws", 0},
                     {"vertices", 0},
                     {"stateChanges", 0},
                     {"redundantStateChanges", 0},
                     {"primitives", json::object()},
                     {"bins", json::object()},
                     {"records",
                      {{"Draw Channel Begin", 0},
                       {"Draw Channel End", 0},
                       {"Geometry", 0},
                       {"Draw Function", 0},
                       {"State Change", 0}}}};
        const std::string name = record.name.c_str();
        if (record.geometry) {
            bump(frame["records"][name.empty() ? "Geometry" : "Draw Function"], 1);
            bump(frame["draws"], 1);
            if (const akDebugAttributeBase* vertices = findField(record.geometry, "Vertices"))
                bump(frame["vertices"], static_cast<int>(vertices->size_child()));
            if (const akDebugAttributeBase* primitive = findField(record.geometry, "Primitive"))
                bump(frame["primitives"][valueOf(primitive)],
                     std::stoi(valueOf(findField(record.geometry, "Number of Primitives"))));
            // Bins by name; an unnamed one by its address.
            std::string bin = "(none)";
            if (record.channelBin->getValue() != 0) {
                const std::string quoted = valueOf(findField(record.channelBin, "Name"));
                bin = quoted.size() > 2 ? quoted.substr(1, quoted.size() - 2) : valueOf(record.channelBin);
            }
            bump(frame["bins"][bin], 1);
            used[record.frame]["geometries"].insert(record.geometry->getValue());
        } else if (name == "Draw Channel Begin" || name == "Draw Channel End") {
            bump(frame["records"][name], 1);
        } else {
            bump(frame["records"]["State Change"], 1);
            bump(frame["stateChanges"], 1);
            // The world's channel never changes its draw context: every state change is redundant.
            bump(frame["redundantStateChanges"], 1);
        }
        std::map<std::string, std::set<unsigned int>> objects;
        for (const akDebugObject* object : {record.channelBin, record.cullRecord, record.geometry, record.drawContext})
            if (object)
                objectsBelow(object, objects);
        for (const auto& kind : {std::make_pair("states", "olState *"), std::make_pair("textures", "olTexture *"),
                                 std::make_pair("shaders", "olShader *"), std::make_pair("materials", "olMaterial *")})
            used[record.frame][kind.first].insert(objects[kind.second].begin(), objects[kind.second].end());
    }
    ASSERT_EQ(frames.size(), 2u);
    const json stats = document("--stats --json " + draw);
    ASSERT_EQ(stats["frames"].size(), 2u);
    size_t i = 0;
    for (auto& entry : frames) {
        for (const char* kind : {"geometries", "states", "textures", "shaders", "materials"})
            entry.second["distinct"][kind] = used[entry.first][kind].size();
        EXPECT_EQ(stats["frames"][i++], entry.second);
    }
    EXPECT_GT(stats["frames"][0]["distinct"]["textures"], 0);
    EXPECT_GT(stats["frames"][0]["draws"], 10);
    EXPECT_EQ(stats["total"]["frames"], 2);
    EXPECT_EQ(stats["total"]["draws"], 2 * stats["frames"][0]["draws"].get<int>());
    EXPECT_EQ(stats["complete"], true);
    // The text output counts the same.
    const std::string text = view("--stats " + draw).out;
    EXPECT_NE(text.find("  draws: " + std::to_string(stats["frames"][0]["draws"].get<int>()) + "; by channel bin: "),
              std::string::npos)
        << text;
}

// The node depth and the uses of each class of a scene's tree, counted here.
void countScene(const akDebugAttributeBase* at, unsigned int depth, unsigned int& deepest,
                std::map<std::string, json>& classes, std::set<std::pair<std::string, unsigned int>>& seen)
{
    const auto* object = dynamic_cast<const akDebugObject*>(at);
    if (object && object->hasAddress() && object->getValue() != 0) {
        const std::string type = object->getType()->getName();
        json& uses = classes[type];
        if (uses.is_null())
            uses = {{"unique", 0}, {"references", 0}, {"byAddress", 0}};
        const char* use = object->empty_child() ? "byAddress" : "references";
        uses[use] = uses[use].get<int>() + 1;
        if (!object->empty_child() && seen.emplace(type, object->getValue()).second)
            uses["unique"] = uses["unique"].get<int>() + 1;
        for (const akDebugTypeDef* def = object->getType()->getTypeDef(); def && !object->empty_child();
             def = def->getBaseTypeDef())
            if (std::string(def->getName()) == "kiNode") {
                deepest = std::max(deepest, ++depth);
                break;
            }
    }
    for (auto it = at->begin_child(); it != at->end_child(); ++it)
        countScene(*it, depth, deepest, classes, seen);
}

TEST_F(ViewAnalysisTest, StatisticsOfTheSampleWorldsSceneAreCountsOfItsTree)
{
    const std::string scene = dir + "/world.scene", draw = dir + "/world.draw";
    worldfiles::write(scene, draw, 1);
    akDebugScene reader;
    ASSERT_EQ(reader.read(scene.c_str()), telu::SUCCESS);
    unsigned int depth = 0;
    std::map<std::string, json> classes;
    std::set<std::pair<std::string, unsigned int>> seen;
    countScene(reader.getRoot(), 0, depth, classes, seen);
    const json stats = document("--stats --json " + scene);
    EXPECT_EQ(stats["kind"], "scene");
    EXPECT_EQ(stats["depth"], depth);
    EXPECT_GE(depth, 3u);
    EXPECT_EQ(stats["classes"], json(classes));
    // The shared geometry is one object drawn by two nodes.
    EXPECT_EQ(stats["classes"]["kiGeometry"]["references"].get<int>(),
              stats["classes"]["kiGeometry"]["unique"].get<int>() + 1);
    EXPECT_GT(stats["vertices"]["instanced"].get<int>(), stats["vertices"]["unique"].get<int>());
    EXPECT_GT(stats["errors"]["5"].get<int>(), 0);
}

// ---- the difference of recordings ----

// Records a frame of quads, each drawn unless it is null.
void recordQuads(const std::string& file, const std::vector<const olGeometry*>& frame1,
                 const std::vector<const olGeometry*>& frame2 = {})
{
    kiThread::setFrameNumber(0);
    Script script(file);
    for (const auto* frame : {&frame1, &frame2}) {
        if (frame->empty())
            continue;
        script.begin();
        for (const olGeometry* quad : *frame)
            script.draw(quad);
        script.end(frame == &frame2 || frame2.empty());
    }
}

TEST_F(ViewAnalysisTest, RecordingsDifferInTheDrawRemovedAndTheColourChanged)
{
    // Two runs: each with objects of its own, at other addresses.
    const auto first = drawscript::quad("first", 1, 0, 0), second = drawscript::quad("second", 0, 1, 0),
               third = drawscript::quad("third", 0, 0, 1);
    const auto first2 = drawscript::quad("first", 1, 0, 0), third2 = drawscript::quad("third", 0, 0, 0.5f),
               nearly = drawscript::quad("third", 0, 0, 0.999f);
    const std::string a = dir + "/a.draw", b = dir + "/b.draw", c = dir + "/c.draw";
    recordQuads(a, {first.get(), second.get(), third.get()});
    recordQuads(b, {first2.get(), third2.get()});
    recordQuads(c, {first2.get(), second.get(), nearly.get()});

    const viewsupport::ViewRun run = view("--diff " + a + " " + b);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out,
              "frame 1 -> frame 1\n"
              "  removed record 2: Geometry olGeometry \"second\"\n"
              "  changed record 3 -> 2 (Geometry olGeometry \"third\") Geometry/olGeometryBase/Colors/0 "
              "[emVec4<float>]: r=0, g=0, b=1, a=1 -> r=0, g=0, b=0.5, a=1\n"
              "2 differences: 0 added, 1 removed, 1 changed\n");
    const viewsupport::ViewRun back = view("--diff " + b + " " + a);
    EXPECT_EQ(back.status, 3);
    EXPECT_EQ(linesWith(back.out, "  added record 2: Geometry olGeometry \"second\"").size(), 1u) << back.out;

    for (const std::string& file : {a, b}) {
        const viewsupport::ViewRun same = view("--diff " + file + " " + file);
        EXPECT_EQ(same.status, 0) << same.out << same.err;
        EXPECT_EQ(same.out, "0 differences: 0 added, 0 removed, 0 changed\n");
    }
    // Numbers within the tolerance are equal.
    EXPECT_EQ(view("--diff " + a + " " + c).status, 3);
    EXPECT_EQ(view("--diff " + a + " " + c + " --tolerance 0.01").status, 0);

    // Two frames of one recording.
    const std::string frames = dir + "/frames.draw";
    recordQuads(frames, {first.get(), second.get(), third.get()}, {first.get(), third.get()});
    const viewsupport::ViewRun two = view("--diff " + frames + " --frames 1 2");
    EXPECT_EQ(two.status, 3) << two.err;
    EXPECT_EQ(two.out,
              "frame 1 -> frame 2\n  removed record 2: Geometry olGeometry \"second\"\n"
              "1 difference: 0 added, 1 removed, 0 changed\n");
    EXPECT_EQ(view("--diff " + frames + " --frames 2 2").status, 0);
    EXPECT_EQ(view("--diff " + a + " " + frames + " --frames 1 2").status, 3);
    const viewsupport::ViewRun missing = view("--diff " + frames + " --frames 1 9");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.has("has no frame 9")) << missing.err;
    // A whole frame only one side has.
    const viewsupport::ViewRun longer = view("--diff " + a + " " + frames);
    EXPECT_EQ(longer.status, 3);
    EXPECT_TRUE(longer.has("(none) -> frame 2\n  added frame 2: 4 records\n")) << longer.out;

    // Usage: one file needs two frames; a scene is not compared with a recording; frames and
    // tolerance belong to draw files.
    EXPECT_EQ(view("--diff " + a).status, 2);
    EXPECT_EQ(view("--frames 1 2 " + a).status, 2);
    const std::string scene = dir + "/world.scene", draw = dir + "/world.draw";
    worldfiles::write(scene, draw, 1);
    EXPECT_EQ(view("--diff " + scene + " " + a).status, 2);
    EXPECT_EQ(view("--diff " + scene + " " + scene + " --tolerance 0.1").status, 2);
    EXPECT_EQ(view("--diff " + draw + " " + draw).status, 0);
    EXPECT_EQ(view("--diff " + dir + "/none.draw " + a).status, 1);
    // Asked of the output itself (the command line refuses it first): a scene file's frames.
    view::Options ofScene;
    ofScene.mode = view::Mode::Diff;
    ofScene.diff = {scene};
    ofScene.frames = {1, 2};
    EXPECT_EQ(view::runDiff(ofScene), 2);
}

// The length of a longest common subsequence, by dynamic programming.
size_t lcsLength(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b)
{
    std::vector<std::vector<size_t>> table(a.size() + 1, std::vector<size_t>(b.size() + 1, 0));
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j)
            table[i][j] = a[i - 1] == b[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
    return table[a.size()][b.size()];
}

// True when the alignment takes every position of both once, in order, and matches equal keys
// only; the number of matches in `matches`.
bool validAlignment(const std::vector<view::Aligned>& steps, const std::vector<uint64_t>& a,
                    const std::vector<uint64_t>& b, size_t& matches)
{
    size_t nextA = 0, nextB = 0;
    matches = 0;
    for (const view::Aligned& step : steps) {
        if (step.a != view::Aligned::none && step.a != nextA++)
            return false;
        if (step.b != view::Aligned::none && step.b != nextB++)
            return false;
        if (step.a != view::Aligned::none && step.b != view::Aligned::none && a[step.a] != b[step.b])
            return false;
        matches += step.a != view::Aligned::none && step.b != view::Aligned::none;
    }
    return nextA == a.size() && nextB == b.size();
}

TEST(Alignment, IsALongestCommonSubsequenceAndStaysInOrderPastItsBound)
{
    std::mt19937 random(7);
    for (int run = 0; run < 300; ++run) {
        std::vector<uint64_t> a(random() % 40), b;
        for (uint64_t& key : a)
            key = random() % 6;
        // B: A with some keys removed, changed and added.
        for (uint64_t key : a)
            if (random() % 5)
                b.push_back(random() % 7 ? key : random() % 6);
        for (int extra = static_cast<int>(random() % 4); extra > 0; --extra)
            b.insert(b.begin() + static_cast<long>(random() % (b.size() + 1)), random() % 6);
        size_t matches = 0;
        ASSERT_TRUE(validAlignment(view::align(a, b), a, b, matches)) << run;
        EXPECT_EQ(matches, lcsLength(a, b)) << run;
        // Bounded to a few edits, it still aligns validly, matching what it can in order.
        ASSERT_TRUE(validAlignment(view::align(a, b, 1), a, b, matches)) << run;
    }
    // Long sequences whose middles differ past the bound: in-order matching keeps the common runs.
    std::vector<uint64_t> a, b;
    for (uint64_t i = 0; i < 20000; ++i) {
        a.push_back(i);
        if (i % 3)
            b.push_back(i);
        if (i % 7 == 0)
            b.push_back(1000000 + i);
    }
    size_t matches = 0;
    ASSERT_TRUE(validAlignment(view::align(a, b, 64), a, b, matches));
    EXPECT_EQ(matches, 13333u);  // every key of A that B kept
}

}  // namespace

// Frames of one scene file, asked of the difference directly (the command line refuses it as a
// usage error first): refused the same way, without reaching for a draw file that is not there.
TEST_F(ViewAnalysisTest, FramesOfASceneFileAreAUsageError)
{
    kiNode root("Root");
    const std::string scene = dir + "/a scene file whose name is longer than a short string holds.scene";
    akDebugScene writer;
    ASSERT_EQ(writer.write(scene.c_str(), &root, false), telu::SUCCESS);
    view::Options options;
    options.mode = view::Mode::Diff;
    options.diff = {scene, scene};
    options.diff = {scene};
    options.frames = {0, 1};
    EXPECT_EQ(view::runDiff(options), 2);
}
