// The scene snapshot and the draw recorder end to end: files written through the host, read back,
// the viewer tools started, and damaged or foreign files refused.
#include "indexwalk.h"
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <telr.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using schemasupport::valueOf;

namespace {

class RecorderTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        channel.setDrawContext(&context);
        channel.addBin(&bin);
        cull.channelId = 3;
        geometry.setName("Geometry One");
        bin.addGeometry(&cull, &geometry, "State A");
        bin.addDrawFunction(&cull, &data, "Draw Function One");
    }
    void TearDown() override
    {
        unsetenv("TELU_BIN_DIR");
        ModuleTest::TearDown();
    }

    std::vector<std::string> names(const akDebugDraw& draw) const
    {
        std::vector<std::string> out;
        for (auto it = draw.begin_record(); it != draw.end_record(); ++it)
            out.push_back((*it)->name.c_str());
        return out;
    }

    // A tool directory holding a script under `toolName` that writes its arguments to a file.
    std::string toolDirectory(const char* toolName)
    {
        std::string tools = dir + "/tools-" + toolName;
        std::filesystem::create_directories(tools);
        std::string script = tools + "/" + toolName;
        std::ofstream(script) << "#!/bin/sh\necho \"$# $1\" > \"" << tools << "/launched.txt\"\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setenv("TELU_BIN_DIR", tools.c_str(), 1);
        return tools;
    }

    std::string dir;
    olDrawContext context;
    kiChannel channel;
    kiChannelBin bin;
    kiGeometryBase::CullRecord cull;
    olGeometry geometry;
    olDrawFunc::Data data;
};

TEST_F(RecorderTest, OneFrameIsRecordedAndTheRecorderStops)
{
    akDebugDraw draw;
    const std::string file = dir + "/one.draw";
    ASSERT_EQ(draw.write(file.c_str(), &channel, false), telu::SUCCESS);
    EXPECT_EQ(channel.getDebug(), static_cast<kiChannel::Debug*>(&draw));
    draw.start(1);
    kiThread::setFrameNumber(41);
    channel.drawFrame();
    EXPECT_FALSE(static_cast<kiChannel::Debug&>(draw).isEnabled());
    EXPECT_EQ(channel.drawFrame(), 0u);  // nothing more reaches the recorder

    akDebugDraw reader;
    ASSERT_EQ(reader.read(file.c_str()), telu::SUCCESS);
    EXPECT_EQ(names(reader),
              (std::vector<std::string>{"Draw Channel Begin", "State A", "", "Draw Function One", "Draw Channel End"}));
    for (auto it = reader.begin_record(); it != reader.end_record(); ++it) {
        EXPECT_EQ((*it)->frame, 42u);
        ASSERT_NE((*it)->drawContext, nullptr);
        EXPECT_STREQ((*it)->drawContext->getName(), "Draw Context");
    }
    const akDebugDraw::Record* drawn = reader.begin_record()[2];
    ASSERT_NE(drawn->geometry, nullptr);
    EXPECT_STREQ(drawn->geometry->getName(), "Geometry");
    EXPECT_EQ(schemasupport::typeOf(drawn->cullRecord).rfind("kiGeometryBase::CullRecord", 0), 0u);
    EXPECT_EQ(schemasupport::typeOf(reader.begin_record()[3]->geometry).rfind("olDrawFunc::Data", 0), 0u);
}

TEST_F(RecorderTest, StartZeroRecordsUntilStop)
{
    akDebugDraw draw;
    const std::string file = dir + "/until.draw";
    ASSERT_EQ(draw.write(file.c_str(), &channel, false), telu::SUCCESS);
    draw.start(0);
    for (int i = 0; i < 3; ++i)
        channel.drawFrame();
    draw.pause();
    channel.drawFrame();  // not recorded
    draw.start(0);
    draw.stop();
    channel.drawFrame();
    channel.drawFrame();  // after the end record: not recorded
    akDebugDraw reader;
    ASSERT_EQ(reader.read(file.c_str()), telu::SUCCESS);
    EXPECT_EQ(reader.size_record(), 4u * 5u);
    EXPECT_STREQ(reader.begin_record()[reader.size_record() - 1]->name.c_str(), "Draw Channel End");
}

TEST_F(RecorderTest, RecordsBeforeAnyBinOrCullRecordCarryNullObjects)
{
    akDebugDraw draw;
    const std::string file = dir + "/direct.draw";
    ASSERT_EQ(draw.write(file.c_str(), &channel, false), telu::SUCCESS);
    draw.start(1);
    kiChannel::Debug& hook = draw;
    hook.changedState(&context, "");
    hook.drawGeometry(&context, &geometry);
    hook.drawChannelBegin(&context, &channel);
    hook.drawChannelEnd(&context, &channel);
    akDebugDraw reader;
    ASSERT_EQ(reader.read(file.c_str()), telu::SUCCESS);
    ASSERT_EQ(reader.size_record(), 4u);
    const akDebugDraw::Record* state = reader.begin_record()[0];
    EXPECT_STREQ(state->name.c_str(), "");
    EXPECT_EQ(state->frame, 0u);
    const akDebugDraw::Record* drawn = reader.begin_record()[1];
    EXPECT_EQ(valueOf(drawn->channelBin), "0x0");
    EXPECT_EQ(valueOf(drawn->cullRecord), "0x0");
    EXPECT_EQ(schemasupport::typeOf(drawn->channelBin), "kiChannelBin *");
    EXPECT_EQ(schemasupport::typeOf(drawn->cullRecord), "kiCullRecord *");
}

TEST_F(RecorderTest, SceneAndDrawFilesRefuseEachOther)
{
    kiNode* root = new kiNode;
    akDebugScene scene;
    const std::string sceneFile = dir + "/scene.bin";
    ASSERT_EQ(scene.write(sceneFile.c_str(), root, false), telu::SUCCESS);
    delete root;
    akDebugDraw draw;
    const std::string drawFile = dir + "/draw.bin";
    ASSERT_EQ(draw.write(drawFile.c_str(), &channel, false), telu::SUCCESS);
    draw.start(1);
    channel.drawFrame();

    testsupport::clear();
    akDebugDraw reader;
    EXPECT_EQ(reader.read(sceneFile.c_str()), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebug::readFileHeader - invalid magic number"));
    EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::read - unable to read file header"));
    EXPECT_TRUE(reader.empty_record());
    testsupport::clear();
    akDebugScene sceneReader;
    EXPECT_EQ(sceneReader.read(drawFile.c_str()), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebug::readFileHeader - invalid magic number"));
    EXPECT_TRUE(testsupport::printed(5, "akDebugScene::read - unable to read file header"));
    EXPECT_EQ(sceneReader.getRoot(), nullptr);
    testsupport::clear();
    EXPECT_EQ(sceneReader.read((dir + "/missing.bin").c_str()), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugScene::read - unable to open file \"" + dir + "/missing.bin\""));
    emFile closed;
    EXPECT_EQ(draw.write(&closed, &channel), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::write - file is not open"));
}

TEST_F(RecorderTest, ReadingASceneTwiceKeepsOneTree)
{
    kiNode* root = new kiNode;
    akDebugScene scene;
    const std::string file = dir + "/scene.bin";
    ASSERT_EQ(scene.write(file.c_str(), root, false), telu::SUCCESS);
    delete root;
    ASSERT_EQ(scene.read(file.c_str()), telu::SUCCESS);
    akDebugObject* first = scene.getRoot();
    first->ref();
    ASSERT_EQ(scene.read(file.c_str()), telu::SUCCESS);
    EXPECT_EQ(first->getRef(), 1);  // the scene released it
    EXPECT_EQ(scene.getRoot()->getRef(), 1);
    first->unref();
}

TEST_F(RecorderTest, ToolsAreLookedUpInTheToolDirectoryAndStarted)
{
    kiNode* root = new kiNode;
    const std::string file = dir + "/launch.bin";
    {
        // Only the debug tool present: it is started with the file name as its only argument.
        const std::string tools = toolDirectory("DebugSceneD.exe");
        akDebugScene scene;
        EXPECT_EQ(scene.write(file.c_str(), root, true), telu::SUCCESS);
        EXPECT_EQ(testsupport::waitForLine(tools + "/launched.txt"), "1 " + file);
    }
    {
        const std::string tools = toolDirectory("DebugDraw.exe");
        akDebugDraw draw;
        const std::string drawFile = dir + "/launch.draw";
        ASSERT_EQ(draw.write(drawFile.c_str(), &channel, true), telu::SUCCESS);
        draw.start(1);
        channel.drawFrame();
        EXPECT_EQ(testsupport::waitForLine(tools + "/launched.txt"), "1 " + drawFile);
    }
    {
        setenv("TELU_BIN_DIR", (dir + "/empty").c_str(), 1);
        testsupport::clear();
        akDebugScene scene;
        EXPECT_EQ(scene.write(file.c_str(), root, true), telu::FAILURE);
        EXPECT_TRUE(testsupport::printed(5, "akDebugScene::write - unable to find tool"));
        EXPECT_EQ(scene.read(file.c_str()), telu::SUCCESS);  // the file is complete

        akDebugDraw draw;
        const std::string drawFile = dir + "/notool.draw";
        ASSERT_EQ(draw.write(drawFile.c_str(), &channel, true), telu::SUCCESS);
        draw.start(1);
        channel.drawFrame();
        EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::write - unable to find tool"));
        akDebugDraw reader;
        EXPECT_EQ(reader.read(drawFile.c_str()), telu::SUCCESS);
    }
    delete root;
}

// A draw file cut at any byte offset reads without a crash, whole or record by record, and leaves
// only live objects in its indexes; cut right after a channel end it gives every record up to it.
TEST_F(RecorderTest, CutDrawFiles)
{
    akDebugDraw draw;
    const std::string file = dir + "/cut.draw";
    ASSERT_EQ(draw.write(file.c_str(), &channel, false), telu::SUCCESS);
    draw.start(2);
    channel.drawFrame();
    // The recorder flushes at every channel end: this is where the first frame ends.
    const uintmax_t firstFrame = std::filesystem::file_size(file);
    channel.drawFrame();
    const std::vector<uint8_t> bytes = schemasupport::readFile(file);

    const std::string cutFile = dir + "/cut-prefix.draw";
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        schemasupport::writeFile(cutFile, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        akDebugDraw reader;
        int result = reader.read(cutFile.c_str());
        indexwalk::touchIndexedObjects(reader);
        akDebugDraw byRecord;
        EXPECT_EQ(byRecord.read(cutFile.c_str(), [](const akDebugDraw::Record&) { return true; }), result);
        indexwalk::touchIndexedObjects(byRecord);
        if (cut == firstFrame) {
            // A complete frame: every record kept, and no end record.
            EXPECT_EQ(result, telu::SUCCESS);
            EXPECT_EQ(reader.size_record(), 5u);
            EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::read - file ends without end record"));
        }
        if (cut == firstFrame + 5) {
            // Cut inside the next record: that record is dropped and the read reported failed.
            EXPECT_EQ(result, telu::FAILURE);
            EXPECT_EQ(reader.size_record(), 5u);
            EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::read - file ends inside a record"));
        }
        if (cut == bytes.size()) {
            EXPECT_EQ(result, telu::SUCCESS);
            EXPECT_EQ(reader.size_record(), 10u);
        }
    }
}

// A file that holds one frame's records twice (two full records of each object at one address, as
// files joined by mistake would) reads whole and record by record; every object its indexes hold
// stays alive.
TEST_F(RecorderTest, AFrameWrittenTwiceInFull)
{
    const std::string empty = dir + "/empty.draw";
    {
        akDebugDraw none;
        ASSERT_EQ(none.write(empty.c_str(), &channel, false), telu::SUCCESS);
    }
    const size_t header = schemasupport::readFile(empty).size() - sizeof(int);
    const std::string file = dir + "/once.draw";
    {
        akDebugDraw draw;
        ASSERT_EQ(draw.write(file.c_str(), &channel, false), telu::SUCCESS);
        draw.start(1);
        channel.drawFrame();
    }
    const std::vector<uint8_t> once = schemasupport::readFile(file);
    std::vector<uint8_t> twice(once.begin(), once.end() - sizeof(int));
    twice.insert(twice.end(), once.begin() + static_cast<long>(header), once.end());
    const std::string twiceFile = dir + "/twice.draw";
    schemasupport::writeFile(twiceFile, twice);

    akDebugDraw whole;
    EXPECT_EQ(whole.read(twiceFile.c_str()), telu::SUCCESS);
    EXPECT_EQ(whole.size_record(), 10u);
    EXPECT_GT(indexwalk::touchIndexedObjects(whole), 0u);
    akDebugDraw byRecord;
    unsigned int records = 0;
    EXPECT_EQ(byRecord.read(twiceFile.c_str(), [&](const akDebugDraw::Record&) { return ++records > 0; }),
              telu::SUCCESS);
    EXPECT_EQ(records, 10u);
    EXPECT_GT(indexwalk::touchIndexedObjects(byRecord), 0u);
}

// A scene file that could not be written completely, or that ends early, is not reported as a
// success; what could be read is kept.
TEST_F(RecorderTest, IncompleteSceneFilesAreReported)
{
    kiNode* root = new kiNode;
    root->addChild(new kiNode);
    akDebugScene scene;
    EXPECT_EQ(scene.write("/dev/full", root, false), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugScene::write - unable to write file"));

    const std::string file = dir + "/whole.bin";
    ASSERT_EQ(scene.write(file.c_str(), root, false), telu::SUCCESS);
    delete root;
    std::vector<uint8_t> bytes = schemasupport::readFile(file);
    bytes.resize(bytes.size() - 4);
    schemasupport::writeFile(file, bytes);
    testsupport::clear();
    EXPECT_EQ(scene.read(file.c_str()), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugScene::read - file is damaged"));
    ASSERT_NE(scene.getRoot(), nullptr);
    EXPECT_STREQ(scene.getRoot()->getName(), "Root");
}

// A record or a scene refused for the attributes it would build is whole in the file: it is said
// refused, not cut or damaged, and the stream tells the refusal from a damaged file.
TEST_F(RecorderTest, RefusedFilesAreNotReportedAsDamaged)
{
    const std::string drawFile = dir + "/limited.draw", sceneFile = dir + "/limited.scene";
    akDebugDraw recorder;
    ASSERT_EQ(recorder.write(drawFile.c_str(), &channel, false), telu::SUCCESS);
    recorder.start(1);
    channel.drawFrame();
    kiNode root;
    root.addChild(new kiNode);
    akDebugScene scene;
    ASSERT_EQ(scene.write(sceneFile.c_str(), &root, false), telu::SUCCESS);

    testsupport::clear();
    akDebugDraw draw;
    draw.setMaxAttributes(10);
    EXPECT_EQ(draw.read(drawFile.c_str(), [](const akDebugDraw::Record&) { return true; }), telu::FAILURE);
    EXPECT_TRUE(draw.hasPassedAttributeLimit());
    EXPECT_TRUE(testsupport::printed(5, "akDebugDraw::read - record refused: too many attributes"));
    EXPECT_FALSE(testsupport::printed(5, "akDebugDraw::read - file ends inside a record"));
    scene.setMaxAttributes(10);
    EXPECT_EQ(scene.read(sceneFile.c_str()), telu::FAILURE);
    EXPECT_TRUE(scene.hasPassedAttributeLimit());
    EXPECT_TRUE(testsupport::printed(5, "akDebugScene::read - file refused: too many attributes"));
    EXPECT_FALSE(testsupport::printed(5, "akDebugScene::read - file is damaged"));
}

TEST_F(RecorderTest, ARecorderDestroyedWhileInstalledUninstallsItself)
{
    {
        akDebugDraw draw;
        ASSERT_EQ(draw.write((dir + "/gone.draw").c_str(), &channel, false), telu::SUCCESS);
        draw.start(0);
    }
    EXPECT_EQ(channel.getDebug(), nullptr);
    EXPECT_EQ(channel.drawFrame(), 0u);
}

}  // namespace
