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
#include <sstream>
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

// What the output gives beside a text that is not UTF-8: its bytes in hexadecimal; null for UTF-8.
json bytesOf(const char* text)
{
    try {
        json(text).dump();
        return json();
    } catch (const json::type_error&) {
        std::string hex;
        for (const char* p = text; *p; ++p) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(*p));
            hex += digits;
        }
        return hex;
    }
}

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
    for (const auto& text : {std::make_pair("nameBytes", attribute->getName()),
                             std::make_pair("valueBytes", static_cast<const char*>(value))})
        if (!bytesOf(text.second).is_null())
            expected[text.first] = bytesOf(text.second);
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

// Texts that are not UTF-8 are given as their bytes beside the text, so that two names that differ in
// one such byte stay apart (their texts alike, each byte that breaks a sequence replaced as JSON
// libraries replace it); UTF-8 texts come as they are, with their control characters escaped.
TEST_F(ViewJsonTest, TextsThatAreNotUtf8AreAlsoGivenAsTheirBytes)
{
    const char* const names[] = {"Caf\xE9",           "Caf\xE8",
                                 "\xE0\x80 overlong", "\xED\xA0\x80 surrogate",
                                 "cut \xF0\x9F\x98",  "\xF4\x90\x80\x80 far",
                                 "\x80\xBF\xC2",      "ok \xF0\x9F\x98\x80 \xC3\xA9",
                                 "\x7F\x01\x1F\t\""};
    kiNode root("Root");
    for (const char* name : names)
        root.addChild(new kiNode(name));
    const std::string file = dir + "/names.scene";
    akDebugScene writer;
    ASSERT_EQ(writer.write(file.c_str(), &root, false), telu::SUCCESS);

    Output run = view(file);
    const viewsupport::ViewRun jsonl = viewsupport::view("--jsonl " + file);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(jsonl.status, 0) << jsonl.err;
    json children;
    for (const json& group : run.document["root"]["children"])
        if (group["name"] == "Children")
            children = group["children"];
    ASSERT_EQ(children.size(), std::size(names)) << run.out;
    std::vector<json> values;
    for (size_t i = 0; i < std::size(names); ++i) {
        // The child's name attribute: its value is the name in quotes.
        const json& name = children[i]["children"][0]["children"][1];
        const std::string quoted = std::string("\"") + names[i] + "\"";
        EXPECT_EQ(name["value"], utf8(quoted.c_str())) << i;
        EXPECT_EQ(name.contains("valueBytes") ? name["valueBytes"] : json(), bytesOf(quoted.c_str())) << i;
        values.push_back(name);
    }
    // The lines of JSON Lines give the same names (the root's first).
    std::vector<json> lined;
    std::istringstream in(jsonl.out);
    for (std::string line; std::getline(in, line);)
        if (const json each = json::parse(line); each.value("name", "") == "Name")
            lined.push_back(each);
    ASSERT_EQ(lined.size(), values.size() + 1);
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(lined[i + 1]["value"], values[i]["value"]) << i;
        EXPECT_EQ(lined[i + 1].value("valueBytes", ""), values[i].value("valueBytes", "")) << i;
    }
    EXPECT_EQ(values[0]["value"], values[1]["value"]);
    EXPECT_EQ(values[0]["valueBytes"], "22436166e922");
    EXPECT_EQ(values[1]["valueBytes"], "22436166e822");
    EXPECT_FALSE(values[7].contains("valueBytes"));
    EXPECT_FALSE(values[8].contains("valueBytes"));
}

// The lines of --jsonl put back together as --json shows them: each attribute line becomes a node
// whose children (in place of its id, parent, depth and record) are the lines that name it as
// their parent, in order. The tops stand under their record's line, when there are records.
struct Rebuilt
{
    json first, last;
    std::vector<json> records;
    // The tops, each with the index of its record (-1 in a scene).
    std::vector<std::pair<long long, json>> tops;
    size_t deepest = 0;
};
::testing::AssertionResult rebuild(const std::string& out, Rebuilt& rebuilt)
{
    std::vector<json> lines;
    for (size_t at = 0, end; at < out.size(); at = end + 1) {
        end = out.find('\n', at);
        if (end == std::string::npos)
            return ::testing::AssertionFailure() << "the last line does not end";
        lines.push_back(json::parse(out.substr(at, end - at), nullptr, false));
        if (lines.back().is_discarded())
            return ::testing::AssertionFailure() << "not JSON: " << out.substr(at, std::min<size_t>(end - at, 200));
    }
    if (lines.size() < 2)
        return ::testing::AssertionFailure() << lines.size() << " lines";
    rebuilt.first = lines.front();
    rebuilt.last = lines.back();
    std::vector<json> nodes;
    std::vector<std::vector<size_t>> children;
    std::vector<size_t> tops, depths;
    std::vector<long long> topRecords;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        json& line = lines[i];
        if (!line.contains("id")) {
            rebuilt.records.push_back(line);
            continue;
        }
        const size_t id = nodes.size();
        if (line["id"] != id)
            return ::testing::AssertionFailure() << "id " << line["id"] << " where " << id << " was next";
        const bool top = line["parent"].is_null();
        const size_t parent = top ? 0 : line["parent"].get<size_t>();
        if (!top && parent >= id)
            return ::testing::AssertionFailure() << "id " << id << ": parent " << parent << " not before it";
        const size_t depth = line["depth"].get<size_t>();
        if (depth != (top ? 0 : depths[parent] + 1))
            return ::testing::AssertionFailure() << "id " << id << ": depth " << depth;
        const long long record = line.contains("record") ? line["record"].get<long long>() : -1;
        if (!top && record != (nodes[parent].contains("record") ? nodes[parent]["record"].get<long long>() : -1))
            return ::testing::AssertionFailure() << "id " << id << ": record " << record << " not its parent's";
        rebuilt.deepest = std::max(rebuilt.deepest, depth);
        depths.push_back(depth);
        children.emplace_back();
        if (top) {
            tops.push_back(id);
            topRecords.push_back(record);
        } else {
            children[parent].push_back(id);
        }
        nodes.push_back(std::move(line));
    }
    // Deepest first, so that each node's children are whole when it is.
    std::vector<size_t> order(nodes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depths[a] > depths[b]; });
    for (size_t id : order) {
        json& node = nodes[id];
        json kids = json::array();
        for (size_t child : children[id])
            kids.push_back(std::move(nodes[child]));
        for (const char* member : {"id", "parent", "depth", "record"})
            node.erase(member);
        node["children"] = std::move(kids);
    }
    for (size_t i = 0; i < tops.size(); ++i)
        rebuilt.tops.emplace_back(topRecords[i], std::move(nodes[tops[i]]));
    return ::testing::AssertionSuccess();
}

// --jsonl is --json taken apart, line by line: the same attributes with the same members, whatever
// the depth. A chain of 511 objects is over 1,000 attributes deep, which --json nests over 2,000
// levels deep (an object and its array of children for each), more than Python's reader (like
// most) takes; its lines are read one at a time.
TEST_F(ViewJsonTest, JsonLinesAreTheTreeOneAttributePerLineAtAnyDepth)
{
    const std::string deep = dir + "/deep.scene";
    {
        kiNode* root = new kiNode("Level 0");
        kiNode* at = root;
        for (int level = 1; level < 511; ++level) {
            kiNode* child = new kiNode(("Level " + std::to_string(level)).c_str());
            at->addChild(child);
            at = child;
        }
        akDebugScene writer;
        ASSERT_EQ(writer.write(deep.c_str(), root, false), telu::SUCCESS);
        delete root;
    }
    for (const std::string& arguments : {deep, scene, "--advanced --depth 3 " + scene}) {
        const viewsupport::ViewRun lines = viewsupport::view("--jsonl " + arguments);
        EXPECT_EQ(lines.status, 0) << lines.err;
        Rebuilt rebuilt;
        ASSERT_TRUE(rebuild(lines.out, rebuilt)) << arguments;
        const Output whole = view(arguments);
        ASSERT_FALSE(whole.document.is_discarded());
        EXPECT_EQ(rebuilt.first, json({{"file", whole.document["file"]}, {"kind", "scene"}}));
        EXPECT_EQ(rebuilt.last, json({{"complete", true}}));
        ASSERT_EQ(rebuilt.tops.size(), 1u);
        EXPECT_EQ(rebuilt.tops[0].first, -1) << "no record in a scene";
        EXPECT_TRUE(rebuilt.tops[0].second == whole.document["root"]) << arguments;
        if (arguments == deep) {
            EXPECT_GT(rebuilt.deepest, 1000u);
        }
    }

    // Python's own reader, line by line.
    const std::string file = dir + "/deep.jsonl";
    std::ofstream(file) << viewsupport::view("--jsonl " + deep).out;
    const std::string script = "import json, sys\n"
                               "depth = lines = 0\n"
                               "for line in open(sys.argv[1]):\n"
                               "    depth = max(depth, json.loads(line).get('depth', 0)); lines += 1\n"
                               "print(lines, depth)\n";
    std::ofstream(dir + "/read.py") << script;
    FILE* pipe = popen(("python3 " + dir + "/read.py " + file + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char answer[256] = "";
    EXPECT_NE(std::fgets(answer, sizeof answer, pipe), nullptr);
    EXPECT_EQ(pclose(pipe), 0) << answer;
    unsigned long lines = 0, depth = 0;
    EXPECT_EQ(std::sscanf(answer, "%lu %lu", &lines, &depth), 2) << answer;
    EXPECT_GT(depth, 1000u) << answer;
    EXPECT_EQ(lines,
              static_cast<unsigned long>(std::count(std::istreambuf_iterator<char>(std::ifstream(file).rdbuf()),
                                                    std::istreambuf_iterator<char>(), '\n')));
}

// A draw file's lines: each record's line, then its objects' attributes, all marked with the
// record, as --json gives the records (their objects in the order channel bin, cull record,
// geometry, draw context).
TEST_F(ViewJsonTest, JsonLinesOfDrawRecordsAreTheirRecordsAndObjects)
{
    for (const std::string& arguments : {draw, "--frame 101 --depth 2 " + draw}) {
        const viewsupport::ViewRun lines = viewsupport::view("--jsonl " + arguments);
        EXPECT_EQ(lines.status, 0) << lines.err;
        Rebuilt rebuilt;
        ASSERT_TRUE(rebuild(lines.out, rebuilt)) << arguments;
        const Output whole = view(arguments);
        const json& records = whole.document["records"];
        EXPECT_EQ(rebuilt.first, json({{"file", draw}, {"kind", "draw"}}));
        EXPECT_EQ(rebuilt.last, json({{"complete", true}}));
        ASSERT_EQ(rebuilt.records.size(), records.size());
        ASSERT_GT(records.size(), 10u);
        size_t top = 0;
        for (size_t i = 0; i < records.size(); ++i) {
            json members = records[i];
            for (const char* object : {"channelBin", "cullRecord", "geometry", "drawContext"}) {
                if (!members[object].is_null()) {
                    ASSERT_LT(top, rebuilt.tops.size());
                    EXPECT_EQ(rebuilt.tops[top].first, records[i]["index"]) << object;
                    EXPECT_TRUE(rebuilt.tops[top++].second == members[object]) << "record " << i << " " << object;
                }
                members.erase(object);
            }
            EXPECT_EQ(rebuilt.records[i], members);
        }
        EXPECT_EQ(top, rebuilt.tops.size());
    }
}

}  // namespace
