// The viewer's JSON output, run as a program on files written from the sample world and held
// against what the module itself reads from them.
#include "schemasupport.h"
#include "viewsupport.h"
#include "worldfiles.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <sampleworld.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace {

using nlohmann::json;

struct Output
{
    int status = -1;
    std::string out, err;
    json document;
    size_t lines() const { return static_cast<size_t>(std::count(out.begin(), out.end(), '\n')); }
};

// A text as JSON carries it: bytes that are not UTF-8 (the world's font names hold some) are U+FFFD.
json utf8(const char* text) { return json::parse(json(text).dump(-1, ' ', false, json::error_handler_t::replace)); }

// One node of the document against the attribute the module read, then its children in order: the
// ones the output shows (advanced ones only when asked, down to `depth` levels). Counts the nodes.
::testing::AssertionResult sameTree(const json& node, const akDebugAttributeBase* attribute, bool advanced, int depth,
                                    size_t& count, const std::string& path = "")
{
    char type[akDebugAttributeBase::s_stringBufferSize], value[sizeof type];
    attribute->getTypeString(type);
    attribute->getValueString(value);
    const char* tip = akDebugAttributeBase::getToolTip(attribute);
    json expected = {{"name", utf8(attribute->getName())},
                     {"type", utf8(type)},
                     {"value", utf8(value)},
                     {"advanced", akDebugAttributeBase::isAdvanced(attribute)},
                     {"toolTip", tip ? utf8(tip) : json()},
                     {"errors", json::array()}};
    auto errors = akDebugAttributeBase::range_error(attribute);
    for (auto it = errors.first; it != errors.second; ++it)
        expected["errors"].push_back({{"level", it->second.first}, {"message", utf8(it->second.second)}});
    const auto* object = dynamic_cast<const akDebugObject*>(attribute);
    if (object && object->hasAddress()) {
        std::snprintf(value, sizeof value, "0x%X", object->getValue());
        expected["address"] = value;
        expected["addressValue"] = object->getValue();
    }
    const std::string at = path + "/" + attribute->getName();
    if (!node.is_object() || node.size() != expected.size() + 1)
        return ::testing::AssertionFailure() << at << ": fields of " << node.dump(-1).substr(0, 300);
    for (const auto& field : expected.items())
        if (node.at(field.key()) != field.value())
            return ::testing::AssertionFailure()
                << at << ": " << field.key() << " " << node.at(field.key()) << ", not " << field.value();
    ++count;
    std::vector<const akDebugAttributeBase*> children;
    for (auto it = attribute->begin_child(); depth != 0 && it != attribute->end_child(); ++it)
        if (advanced || !akDebugAttributeBase::isAdvanced(*it))
            children.push_back(*it);
    if (node.at("children").size() != children.size())
        return ::testing::AssertionFailure() << at << ": " << node.at("children").size() << " children";
    for (size_t i = 0; i < children.size(); ++i)
        if (auto result = sameTree(node["children"][i], children[i], advanced, depth - 1, count, at); !result)
            return result;
    return ::testing::AssertionSuccess();
}

class ViewJsonTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        kiThread::setFrameNumber(100);
        ASSERT_NO_FATAL_FAILURE(worldfiles::write(scene.insert(0, dir), draw.insert(0, dir), 2));
    }

    Output view(const std::string& arguments)
    {
        const viewsupport::ViewRun run = viewsupport::view("--json " + arguments);
        Output output{run.status, run.out, run.err, json::parse(run.out, nullptr, false)};
        return output;
    }

    std::string dir, scene = "/world.scene", draw = "/world.draw";
};

TEST_F(ViewJsonTest, SceneTreeIsTheModulesOneAttributePerLine)
{
    akDebugScene read;
    ASSERT_EQ(read.read(scene.c_str()), telu::SUCCESS);
    size_t shown[3] = {0, 0, 0};
    const std::string arguments[] = {"", "--advanced", "--advanced --depth 3"};
    for (int i = 0; i < 3; ++i) {
        Output run = view(arguments[i] + " " + scene);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.document["file"], scene);
        EXPECT_EQ(run.document["kind"], "scene");
        EXPECT_EQ(run.document["complete"], true);
        EXPECT_TRUE(sameTree(run.document["root"], read.getRoot(), i > 0, i == 2 ? 3 : -1, shown[i])) << arguments[i];
        EXPECT_EQ(run.lines(), shown[i] + 1) << "the document's first line, then one line per attribute";
    }
    EXPECT_GT(shown[0], 1000u);
    EXPECT_GT(shown[1], shown[0]);
    EXPECT_LT(shown[2], shown[0]);
    EXPECT_EQ(view(scene).out, view(scene).out);
}

TEST_F(ViewJsonTest, DrawRecordsAreTheModulesWithTheTextOutputsMarks)
{
    akDebugDraw read;
    ASSERT_EQ(read.read(draw.c_str()), telu::SUCCESS);
    Output run = view(draw);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.document["complete"], true);
    const json& records = run.document["records"];
    ASSERT_EQ(records.size(), read.size_record());
    // The text output's line of each record: index, name, kind, redundant mark.
    FILE* pipe = popen((std::string(std::getenv("TELU_BIN_DIR")) + "/akdebug-view " + draw).c_str(), "r");
    std::vector<std::string> heads;
    for (char line[4096]; pipe && std::fgets(line, sizeof line, pipe);)
        if (std::string(line).rfind("  Record ", 0) == 0)
            heads.push_back(line);
    pclose(pipe);
    ASSERT_EQ(heads.size(), records.size());
    size_t count = 0, redundant = 0;
    for (unsigned int i = 0; i < read.size_record(); ++i) {
        const akDebugDraw::Record& record = **(read.begin_record() + i);
        const json& shown = records[i];
        EXPECT_EQ(shown["index"], i);
        EXPECT_EQ(shown["frame"], record.frame);
        EXPECT_EQ(shown["name"], record.name.c_str());
        EXPECT_EQ(heads[i],
                  "  Record " + std::to_string(i) + " \"" + record.name.c_str() + "\" (" +
                      shown["kind"].get<std::string>() + ")" + (shown["redundant"] == true ? " {redundant}\n" : "\n"));
        redundant += shown["redundant"] == true;
        for (auto object :
             {std::make_pair("channelBin", record.channelBin), std::make_pair("cullRecord", record.cullRecord),
              std::make_pair("geometry", record.geometry), std::make_pair("drawContext", record.drawContext)}) {
            if (object.second)
                EXPECT_TRUE(sameTree(shown.at(object.first), object.second, false, -1, count)) << "record " << i;
            else
                EXPECT_TRUE(shown.at(object.first).is_null()) << "record " << i;
        }
    }
    EXPECT_GT(redundant, 0u);
    EXPECT_LT(redundant, records.size());
    EXPECT_EQ(run.lines(), 1 + records.size() + count);

    // One record by index: as in the whole document.
    EXPECT_EQ(view("--record 5 " + draw).document["records"], json::array({records[5]}));
    EXPECT_EQ(view("--depth 0 " + draw).document["records"][0]["drawContext"]["children"], json::array());
}

TEST_F(ViewJsonTest, DamagedAndMissingFilesStillGiveOneWholeDocument)
{
    for (const std::string& file : {scene, draw}) {
        std::vector<uint8_t> bytes = schemasupport::readFile(file);
        bytes.resize(bytes.size() / 2);
        schemasupport::writeFile(file + ".cut", bytes);
        Output run = view(file + ".cut");
        EXPECT_EQ(run.status, 1);
        ASSERT_FALSE(run.document.is_discarded()) << run.out;
        EXPECT_EQ(run.document["complete"], false);
        const json& read = file == scene ? run.document["root"]["children"] : run.document["records"];
        EXPECT_FALSE(read.empty()) << "what was read is shown";
        EXPECT_NE(run.err, "");
    }
    Output missing = view(dir + "/missing.scene");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.document,
              json::parse(R"({"file":")" + dir + R"(/missing.scene","kind":null,"root":null,"complete":false})"));
}

TEST_F(ViewJsonTest, TextsSurviveExactly)
{
    Output run = view("--find \"line one\" " + scene);
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.document["found"].size(), 1u) << run.out;
    const json& found = run.document["found"][0];
    EXPECT_EQ(found["path"], "kiNode/Children/8");
    EXPECT_EQ(found["object"]["children"][0]["children"][1]["value"],
              std::string("\"") + sampleworld::names::ESCAPED + "\"");

    // Bytes that are not UTF-8 come out as U+FFFD.
    kiNode root("Caf\xE9 \xFF");
    const std::string latin = dir + "/latin.scene";
    akDebugScene writer;
    ASSERT_EQ(writer.write(latin.c_str(), &root, false), telu::SUCCESS);
    Output replaced = view(latin);
    EXPECT_EQ(replaced.status, 0);
    EXPECT_EQ(replaced.document["root"]["children"][0]["children"][1]["value"], "\"Caf\xEF\xBF\xBD \xEF\xBF\xBD\"");
}

}  // namespace
