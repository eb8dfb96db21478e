// The sample world end to end: a scene file written from its root and a draw file recorded from its
// channel hold, between them, every registered type as a record or a class level, and both read
// back whole with repeats and address-only references.
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <sampleworld.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

using TypeNames = std::set<std::string>;

// Groups and references that name objects by address only: what they hold stands for a record
// elsewhere, so it does not show that a type has records.
bool holdsAddressOnly(const char* name)
{
    for (const char* listed : {"Parents", "Named Nodes", "Geometry Nodes", "Textures", "Copy Source"})
        if (std::strcmp(name, listed) == 0)
            return true;
    return false;
}

// The types of every record and class level at or below `attribute`; null references are left out.
void collectTypes(const akDebugAttributeBase* attribute, TypeNames& types)
{
    if (!attribute)
        return;
    if (const auto* object = dynamic_cast<const akDebugObject*>(attribute)) {
        bool null = object->hasAddress() && object->getValue() == 0;
        if (!null && object->getType())
            types.insert(object->getType()->getName());
    }
    for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
        if (!holdsAddressOnly((*it)->getName()))
            collectTypes(*it, types);
}

std::string listed(const TypeNames& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "\n  " + name;
    return text;
}

class SampleWorldTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        std::string dir = testsupport::tempDir();
        sceneFile = dir + "/world.scene";
        drawFile = dir + "/world.draw";
    }
    // The trees read go before the module shuts down.
    void TearDown() override
    {
        sceneReader.reset();
        drawReader.reset();
        ModuleTest::TearDown();
    }

    // Writes the scene file from the root and records two frames of the channel, then reads both.
    void writeAndRead(sampleworld::World& world)
    {
        akDebugScene scene;
        ASSERT_EQ(scene.write(sceneFile.c_str(), world.getRoot(), false), telu::SUCCESS);
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(drawFile.c_str(), world.getChannel(), false), telu::SUCCESS);
        recorder.start(2);
        kiThread::setFrameNumber(100);
        EXPECT_GT(world.getChannel()->drawFrame(), 0u);
        EXPECT_GT(world.getChannel()->drawFrame(), 0u);
        EXPECT_EQ(world.getChannel()->drawFrame(), 0u);  // the recorder stopped after two frames

        sceneReader.reset(new akDebugScene);
        drawReader.reset(new akDebugDraw);
        ASSERT_EQ(sceneReader->read(sceneFile.c_str()), telu::SUCCESS);
        ASSERT_EQ(drawReader->read(drawFile.c_str()), telu::SUCCESS);
    }

    std::string sceneFile;
    std::string drawFile;
    std::unique_ptr<akDebugScene> sceneReader;
    std::unique_ptr<akDebugDraw> drawReader;
};

TEST_F(SampleWorldTest, TheFilesHoldEveryRegisteredType)
{
    sampleworld::World world;
    ASSERT_NO_FATAL_FAILURE(writeAndRead(world));

    TypeNames found;
    collectTypes(sceneReader->getRoot(), found);
    for (auto it = drawReader->begin_record(); it != drawReader->end_record(); ++it)
        for (const akDebugObject* object : {(*it)->channelBin, (*it)->cullRecord, (*it)->geometry, (*it)->drawContext})
            collectTypes(object, found);

    TypeNames registered;
    for (auto it = akDebugTypeDef::begin(); it != akDebugTypeDef::end(); ++it)
        registered.insert((*it)->getName());
    TypeNames missing, unexpected;
    for (const std::string& name : registered)
        if (!found.count(name))
            missing.insert(name);
    for (const std::string& name : found)
        if (!registered.count(name))
            unexpected.insert(name);
    EXPECT_TRUE(missing.empty()) << missing.size() << " registered types appear in neither file:" << listed(missing);
    EXPECT_TRUE(unexpected.empty()) << "types that are not registered:" << listed(unexpected);
    // Every host library registered its types: the comparison covers all 143.
    EXPECT_EQ(registered.size(), 143u);
    EXPECT_TRUE(registered.count("olDrawFunc::Data")) << "registered names use \"::\"";

    // Writing and reading the whole world raises no failure: every class resolves to a type
    // definition and every record reads back.
    for (const testsupport::Message& message : testsupport::messages())
        EXPECT_LT(message.level, emNotify::LEVEL_WARN) << message.text;
    EXPECT_EQ(testsupport::assertions(), 0);
}

TEST_F(SampleWorldTest, BothFilesReadWholeWithEveryRecordKindRepeatsAndAddressOnlyReferences)
{
    // The world gives back every block of the host allocator it took (its drawables' arrays).
    size_t blocks = emAllocRaw::getNumBlocks();
    {
        sampleworld::World world;
    }
    EXPECT_EQ(emAllocRaw::getNumBlocks(), blocks);

    kiChannel::setNumRepresentations(1);
    {
        sampleworld::World world;
        EXPECT_EQ(kiChannel::getNumRepresentations(), sampleworld::World::NUM_REPRESENTATIONS);
        ASSERT_NO_FATAL_FAILURE(writeAndRead(world));
    }
    EXPECT_EQ(kiChannel::getNumRepresentations(), 1) << "the world restores the representation count";

    const akDebug* streams[] = {sceneReader.get(), drawReader.get()};
    for (const akDebug* stream : streams) {
        EXPECT_FALSE(stream->hasReadFailed());
        EXPECT_EQ(stream->getNumRepresentations(), 2);
        EXPECT_GT(stream->getNumRecords(akDebug::OBJECT_FULL), 0u);
        EXPECT_GT(stream->getNumRecords(akDebug::OBJECT_REPEAT), 0u);
        EXPECT_GT(stream->getNumRecords(akDebug::OBJECT_NULL), 0u);
    }
    EXPECT_GT(sceneReader->getNumRecords(akDebug::OBJECT_ADDRESS_ONLY), 0u);
    EXPECT_STREQ(sceneReader->getRoot()->getName(), "Root");

    // Per frame: channel begin and end, geometry draws, the draw-function draw and the state
    // changes, each with its draw context.
    std::set<unsigned int> frames;
    int begins = 0, ends = 0, geometries = 0, drawFunctions = 0, stateChanges = 0;
    for (auto it = drawReader->begin_record(); it != drawReader->end_record(); ++it) {
        const akDebugDraw::Record& record = **it;
        EXPECT_NE(record.drawContext, nullptr);
        frames.insert(record.frame);
        std::string name = record.name.c_str();
        if (name == "Draw Channel Begin")
            ++begins;
        else if (name == "Draw Channel End")
            ++ends;
        else if (name == sampleworld::names::DRAW_FUNCTION && record.geometry)
            ++drawFunctions;
        else if (name.empty() && record.geometry && record.cullRecord)
            ++geometries;
        else if (!record.geometry && !record.channelBin)
            stateChanges += name == sampleworld::names::STATE_CHANGE;
    }
    EXPECT_EQ(frames, (std::set<unsigned int>{101, 102}));
    EXPECT_EQ(begins, 2);
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(drawFunctions, 2);
    EXPECT_GE(geometries, 2 * 3);
    EXPECT_EQ(stateChanges, 2);
}

TEST_F(SampleWorldTest, NamesWithBlanksLineBreaksAndEscapesReadBackAndAreFound)
{
    sampleworld::World world;
    ASSERT_NO_FATAL_FAILURE(writeAndRead(world));

    const unsigned int exact = akDebugType::FIND_CASE_SENSITIVE | akDebugType::FIND_EXACT;
    akDebugType* nodes = sceneReader->getType(akDebugTypeDef::find("kiNode"));
    akDebugType* geometries = sceneReader->getType(akDebugTypeDef::find("kiGeometry"));
    ASSERT_TRUE(nodes && geometries);
    const akDebugObject* escaped = nodes->findObject(sampleworld::names::ESCAPED, exact, nullptr);
    ASSERT_NE(escaped, nullptr);
    EXPECT_EQ(schemasupport::valueOf(schemasupport::at(escaped, "emBase/Name")),
              std::string("\"") + sampleworld::names::ESCAPED + "\"");
    EXPECT_NE(geometries->findObject(sampleworld::names::SHARED_GEOMETRY, exact, nullptr), nullptr);
    EXPECT_NE(geometries->findObject("shared geometry", 0, nullptr), nullptr);
}

}  // namespace

namespace {

// Records `frames` frames of the world's channel into `path`.
void record(sampleworld::World& world, const std::string& path, int frames)
{
    akDebugDraw recorder;
    ASSERT_EQ(recorder.write(path.c_str(), world.getChannel(), false), telu::SUCCESS);
    recorder.start(frames);
    for (int i = 0; i < frames; ++i)
        world.getChannel()->drawFrame();
}

// One record as its rows: frame, name and the four objects with every attribute below them.
schemasupport::Rows recordRows(const akDebugDraw::Record& record)
{
    schemasupport::Rows rows{std::to_string(record.frame) + " " + record.name.c_str()};
    for (const akDebugObject* object : {record.channelBin, record.cullRecord, record.geometry, record.drawContext}) {
        rows.push_back(object ? object->getName() : std::string("(none)"));
        if (object) {
            const schemasupport::Rows below = schemasupport::rows(object);
            rows.insert(rows.end(), below.begin(), below.end());
        }
    }
    return rows;
}

}  // namespace

// Records read one at a time are those read() keeps, and compare equal to them; the reading holds
// the objects repeats copy from, not the records, so its memory does not grow with the recording.
TEST_F(SampleWorldTest, RecordsReadOneAtATimeEqualThoseOfRead)
{
    sampleworld::World world;
    record(world, drawFile, 3);
    akDebugDraw whole;
    ASSERT_EQ(whole.read(drawFile.c_str()), telu::SUCCESS);
    ASSERT_GT(whole.size_record(), 10u);

    akDebugDraw streamed;
    unsigned int i = 0;
    ASSERT_EQ(streamed.read(drawFile.c_str(),
                            [&](const akDebugDraw::Record& record) {
                                if (i >= whole.size_record())
                                    return false;
                                const akDebugDraw::Record& kept = **(whole.begin_record() + i++);
                                EXPECT_EQ(recordRows(record), recordRows(kept)) << "record " << i - 1;
                                EXPECT_TRUE(record.drawContext->compare(kept.drawContext));
                                return true;
                            }),
              telu::SUCCESS);
    EXPECT_EQ(i, whole.size_record());
    EXPECT_TRUE(streamed.empty_record());

    // The shared geometry is a source of repeats: it stays, and stays indexed by address; a draw
    // context is written in full in every record and is gone with its record.
    const akDebugType* contexts = streamed.getType(akDebugTypeDef::find("olDrawContext"));
    ASSERT_NE(contexts, nullptr);
    EXPECT_EQ(contexts->findObject(nullptr), nullptr);
    const akDebugType* geometries = streamed.getType(akDebugTypeDef::find("olGeometry"));
    ASSERT_NE(geometries, nullptr);
    EXPECT_NE(geometries->findObject(nullptr), nullptr);

    // A visitor that returns false ends the reading.
    int seen = 0;
    EXPECT_EQ(streamed.read(drawFile.c_str(), [&](const akDebugDraw::Record&) { return ++seen < 2; }), telu::SUCCESS);
    EXPECT_EQ(seen, 2);
}

TEST_F(SampleWorldTest, RecordByRecordMemoryFollowsTheDistinctObjects)
{
    sampleworld::World world;
    auto mostHeld = [&](int frames) {
        record(world, drawFile, frames);
        akDebugDraw streamed;
        unsigned long long most = 0;
        EXPECT_EQ(streamed.read(drawFile.c_str(),
                                [&](const akDebugDraw::Record&) {
                                    most = std::max(most, streamed.getNumAttributesHeld());
                                    return true;
                                }),
                  telu::SUCCESS);
        return most;
    };
    const unsigned long long few = mostHeld(2);
    const unsigned long long many = mostHeld(20);
    EXPECT_GT(few, 0u);
    EXPECT_LT(many, few + few / 4) << few << " attributes held for 2 frames, " << many << " for 20";
}
