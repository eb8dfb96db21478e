// The viewer's searches and counts over a draw file read one record at a time, held against the
// same over the file read whole: a reading record by record keeps only the sources of repeats from
// earlier records and looks into what repeats once, and must find and count exactly what the whole
// file holds, record by record, in the same order.
#include "schemasupport.h"
#include "worldfiles.h"

#include <counts.h>
#include <records.h>
#include <search.h>

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
