// The viewer's searches and counts over a draw file read one record at a time, held against the
// same over the file read whole: a reading record by record keeps only the sources of repeats from
// earlier records and looks into what repeats once, and must find and count exactly what the whole
// file holds, record by record, in the same order.
#include "schemasupport.h"
#include "viewsupport.h"
#include "worldfiles.h"

#include <counts.h>
#include <heldrecords.h>
#include <records.h>
#include <search.h>
#include <webapi.h>

#include <nlohmann/json.hpp>

#include <akdebugtypedef.h>

#include <map>
#include <set>

namespace {

using view::Found;
using view::RecordView;
using view::Tops;

class ViewSearchTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        const std::string dir = testsupport::tempDir();
        scene = dir + "/world.scene";
        draw = dir + "/world.draw";
        // Three frames: the second and third repeat what the first stored, and shared states and
        // geometries are met again within a frame.
        worldfiles::write(scene, draw, 3);
        ASSERT_EQ(whole.read(draw.c_str()), telu::SUCCESS);
        for (const RecordView& view : view::recordViews(whole))
            for (const akDebugObject* object : view.objects())
                wholeTops.add(object, static_cast<int>(view.index));
    }

    // What a search shows of each object found: its path, its type and whether it is a record.
    static std::string shown(const Tops& tops, const Found& found)
    {
        return pathOf(tops, found) + " " + found.object->getType()->getName() +
            (found.object->empty_child() ? " (address only)" : "");
    }
    // Calls `search` with the tops of each record of the file, read one at a time.
    void eachRecord(const std::function<void(const akDebugDraw& reader, const Tops& tops)>& search)
    {
        akDebugDraw reader;
        ASSERT_EQ(view::readRecords(reader, draw.c_str(), {},
                                    [&](const RecordView& view) {
                                        Tops tops;
                                        for (const akDebugObject* object : view.objects())
                                            tops.add(object, static_cast<int>(view.index));
                                        search(reader, tops);
                                        return true;
                                    }),
                  telu::SUCCESS);
    }

    std::string scene, draw;
    akDebugDraw whole;
    Tops wholeTops;
};

TEST_F(ViewSearchTest, NamesFoundRecordByRecordAreThoseOfTheWholeFileInItsOrder)
{
    for (const view::NameQuery& query : std::vector<view::NameQuery>{{"", false, false},
                                                                     {"state", false, false},
                                                                     {"Shared Geometry", true, true},
                                                                     {"Shared", false, true},
                                                                     {sampleworld::names::DRAW_CONTEXT, true, false}}) {
        std::vector<std::string> expected, found;
        view::findByName(whole, query, wholeTops, [&](const Found& each) {
            expected.push_back(shown(wholeTops, each));
            return true;
        });
        eachRecord([&](const akDebugDraw& reader, const Tops& tops) {
            view::findByName(reader, query, tops, [&](const Found& each) {
                found.push_back(shown(tops, each));
                return true;
            });
        });
        EXPECT_FALSE(expected.empty()) << query.text;
        EXPECT_EQ(found, expected) << query.text;
    }
    // Each frame finds again what the first stored once, in its own record.
    std::set<int> records;
    view::findByName(whole, {sampleworld::names::SHARED_GEOMETRY, true, true}, wholeTops, [&](const Found& each) {
        records.insert(wholeTops.record(each.top));
        return true;
    });
    EXPECT_EQ(records.size(), 3u);
}

TEST_F(ViewSearchTest, PlacesOfEveryAddressFoundRecordByRecordAreThoseOfTheWholeFile)
{
    // Every address the file holds; its places in the whole file, record by record.
    std::map<unsigned int, std::vector<std::string>> expected, found;
    view::findPlaces(wholeTops, [&](const Found& each) {
        expected[each.object->getValue()].push_back(shown(wholeTops, each));
        return true;
    });
    ASSERT_GT(expected.size(), 20u);
    std::map<unsigned int, view::AddressSearch> searches;
    for (const auto& entry : expected)
        searches.emplace(entry.first, view::AddressSearch(entry.first));
    eachRecord([&](const akDebugDraw&, const Tops& tops) {
        for (auto& search : searches)
            search.second.find(tops, [&](const Found& each) {
                found[search.first].push_back(shown(tops, each));
                return true;
            });
    });
    EXPECT_EQ(found, expected);
    // The shared texture stands in repeats of the states that use it, frame after frame.
    const akDebugObject* texture =
        whole.getType(akDebugTypeDef::find("olTexture"))
            ->findObject(sampleworld::names::SHARED_TEXTURE, akDebugType::FIND_EXACT | akDebugType::FIND_CASE_SENSITIVE,
                         nullptr);
    ASSERT_NE(texture, nullptr);
    EXPECT_GE(found[texture->getValue()].size(), 6u);
    // A search asked to stop stops.
    size_t seen = 0;
    view::findByAddress(wholeTops, texture->getValue(), [&](const Found&) { return ++seen < 2; });
    EXPECT_EQ(seen, 2u);
}

// A tree as the outputs show it: one line per attribute with its marks, indented by depth.
std::string listing(const akDebugAttributeBase* root)
{
    std::string text;
    view::walk(root, {true, -1},
               {[&](const view::Node& node, int depth) {
                    text += std::string(static_cast<size_t>(depth), ' ') + node.name + " [" + node.type +
                        "] = " + node.value + (node.advanced ? " {advanced}" : "") +
                        (node.toolTip ? std::string(" {tip ") + node.toolTip + "}" : "");
                    for (const view::Error& error : node.errors)
                        text += " {" + std::to_string(error.level) + " " + error.message + "}";
                    text += "\n";
                    return true;
                },
                nullptr});
    return text;
}

size_t attributesAlive() { return akDebugAttributeBase::getNumCreated() - akDebugAttributeBase::getNumDestroyed(); }

TEST_F(ViewSearchTest, RecordsHeldSharingWhatRepeatsShowAndFindWhatTheWholeFileHolds)
{
    const unsigned long long inWhole = whole.getNumAttributesHeld();
    const size_t before = attributesAlive();
    view::HeldRecords held;
    ASSERT_TRUE(held.read(draw, akDebug::s_defaultMaxAttributes));
    EXPECT_TRUE(held.complete());
    // Counted as the whole file holds them, in fewer attributes.
    EXPECT_EQ(held.attributes(), inWhole);
    EXPECT_LT(attributesAlive() - before, held.attributes() * 2 / 3);

    const std::vector<RecordView> records = view::recordViews(whole);
    ASSERT_EQ(held.records().size(), records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordView& mine = held.records()[i];
        EXPECT_EQ(mine.redundant, records[i].redundant) << i;
        EXPECT_EQ(mine.baseline != nullptr, records[i].baseline != nullptr) << i;
        EXPECT_EQ(mine.baselineIndex, records[i].baselineIndex) << i;
        ASSERT_EQ(mine.objects().size(), records[i].objects().size()) << i;
        for (size_t j = 0; j < mine.objects().size(); ++j)
            ASSERT_EQ(listing(mine.objects()[j]), listing(records[i].objects()[j])) << "record " << i;
    }

    // Names and addresses are found at the same places, in the same order.
    for (const view::NameQuery& query : std::vector<view::NameQuery>{{"", false, false}, {"Shared", false, true}}) {
        std::vector<std::string> expected, found;
        view::findByName(whole, query, wholeTops, [&](const Found& each) {
            expected.push_back(shown(wholeTops, each));
            return true;
        });
        held.findByName(query, [&](const Found& each) {
            found.push_back(shown(held.tops(), each));
            return true;
        });
        EXPECT_EQ(found, expected) << query.text;
    }
    std::map<unsigned int, std::vector<std::string>> expected, found;
    view::findPlaces(wholeTops, [&](const Found& each) {
        expected[each.object->getValue()].push_back(shown(wholeTops, each));
        return true;
    });
    view::findPlaces(held.tops(), [&](const Found& each) {
        found[each.object->getValue()].push_back(shown(held.tops(), each));
        return true;
    });
    EXPECT_EQ(found, expected);
}

TEST_F(ViewSearchTest, ThePagesSearchFindsEachPlaceOnceWithItsWayDown)
{
    view::WebApi api;
    ASSERT_TRUE(api.read(draw, akDebug::s_defaultMaxAttributes));
    const akDebugObject* texture =
        whole.getType(akDebugTypeDef::find("olTexture"))
            ->findObject(sampleworld::names::SHARED_TEXTURE, akDebugType::FIND_EXACT | akDebugType::FIND_CASE_SENSITIVE,
                         nullptr);
    ASSERT_NE(texture, nullptr);
    char address[16];
    std::snprintf(address, sizeof address, "%X", texture->getValue());
    // By address, then by name (the address's digits are no name here), each place once.
    std::vector<std::string> expected;
    view::findByAddress(wholeTops, texture->getValue(), [&](const Found& each) {
        expected.push_back(pathOf(wholeTops, each));
        return true;
    });
    ASSERT_GE(expected.size(), 6u);
    const nlohmann::json answer = nlohmann::json::parse(api.answer("find", {{"q", address}}).json);
    std::vector<std::string> paths;
    for (const nlohmann::json& result : answer["results"]) {
        paths.push_back(result["path"]);
        // The way leads from the record's object down to what was found.
        const nlohmann::json record =
            nlohmann::json::parse(api.answer("record", {{"index", std::to_string(result["record"].get<int>())}}).json);
        const nlohmann::json& way = result["way"];
        bool top = false;
        for (const nlohmann::json& object : record["objects"])
            top = top || object["id"] == way[0][0];
        EXPECT_TRUE(top) << result.dump();
        nlohmann::json at;
        for (size_t i = 1; i < way.size(); ++i) {
            const nlohmann::json children =
                nlohmann::json::parse(api.answer("children",
                                                 {{"id", std::to_string(way[i - 1][0].get<int>())},
                                                  {"offset", std::to_string(way[i][1].get<int>())},
                                                  {"limit", "1"}})
                                          .json);
            at = children["children"][0];
            EXPECT_EQ(at["id"], way[i][0]);
        }
        EXPECT_EQ(at["addressValue"], texture->getValue());
    }
    EXPECT_EQ(paths, expected);
}

TEST_F(ViewSearchTest, RecordsHeldTogetherStopAtTheLimitOfAttributes)
{
    view::HeldRecords all;
    ASSERT_TRUE(all.read(draw, akDebug::s_defaultMaxAttributes));
    testsupport::clear();
    view::HeldRecords some;
    ASSERT_TRUE(some.read(draw, all.attributes() / 2));
    EXPECT_FALSE(some.complete());
    EXPECT_LE(some.attributes(), all.attributes() / 2);
    EXPECT_GT(some.records().size(), 0u);
    EXPECT_LT(some.records().size(), all.records().size());
    bool said = false;
    for (const testsupport::Message& message : testsupport::messages())
        said = said || message.text.find("too many attributes") != std::string::npos;
    EXPECT_TRUE(said);

    // A page with its data holds a file's records together, however small each one is.
    const std::string many = testsupport::tempDir() + "/frames.draw";
    worldfiles::write(scene, many, 12);
    const viewsupport::ViewRun page = viewsupport::view("--html " + many + ".html " + many);
    EXPECT_EQ(page.status, 1) << page.err;
    EXPECT_TRUE(page.has("holds more than 200000 attributes, too many for one page")) << page.err;
}

// Counts of every attribute of the trees, one by one, as the summary shows them.
struct EveryAttribute
{
    std::map<std::string, std::vector<unsigned long long>> types;  // records, references, nulls, levels
    std::map<int, unsigned long long> errors;

    void add(const akDebugAttributeBase* attribute)
    {
        auto marks = akDebugAttributeBase::range_error(attribute);
        for (auto it = marks.first; it != marks.second; ++it)
            ++errors[it->second.first];
        if (const auto* object = dynamic_cast<const akDebugObject*>(attribute)) {
            std::vector<unsigned long long>& counts = types[object->getType()->getName()];
            counts.resize(4);
            ++counts[!object->hasAddress() ? 3 : object->getValue() == 0 ? 2 : object->empty_child() ? 1 : 0];
        }
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            add(*it);
    }
};

::testing::AssertionResult sameCounts(const view::TreeCounts& counts, const EveryAttribute& every)
{
    std::map<std::string, std::vector<unsigned long long>> types;
    for (const auto& entry : counts.types())
        types[entry.first] = {entry.second.records, entry.second.references, entry.second.nulls, entry.second.levels};
    if (types != every.types)
        return ::testing::AssertionFailure() << "the counts by type differ";
    if (counts.errors() != every.errors)
        return ::testing::AssertionFailure() << "the counts of error marks differ";
    return ::testing::AssertionSuccess();
}

TEST_F(ViewSearchTest, CountsTakenOncePerSourceOfRepeatsAreThoseOfEveryAttribute)
{
    EveryAttribute every;
    for (size_t i = 0; i < wholeTops.size(); ++i)
        every.add(wholeTops.top(i));
    // Read record by record; the types counted are the reader's, and live as long as it.
    akDebugDraw reader;
    view::TreeCounts counts;
    ASSERT_EQ(view::readRecords(reader, draw.c_str(), {},
                                [&](const RecordView& view) {
                                    for (const akDebugObject* object : view.objects())
                                        counts.add(object);
                                    return true;
                                }),
              telu::SUCCESS);
    EXPECT_TRUE(sameCounts(counts, every));
    // Repeats were counted: later frames hold copies of what the first stored.
    EXPECT_EQ(every.types["olGeometry"][0] % 3, 0u);
    EXPECT_FALSE(every.errors.empty());

    // A scene's tree, whose repeats are copies within one tree.
    akDebugScene world;
    ASSERT_EQ(world.read(scene.c_str()), telu::SUCCESS);
    EveryAttribute inScene;
    inScene.add(world.getRoot());
    view::TreeCounts sceneCounts;
    sceneCounts.add(world.getRoot());
    EXPECT_TRUE(sameCounts(sceneCounts, inScene));
}

}  // namespace
