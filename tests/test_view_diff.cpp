// The viewer's difference of two scene files, run as a program on files written from sample worlds.
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <kitransform.h>
#include <sampleworld.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/wait.h>

namespace {

struct Output
{
    int status = -1;
    std::string out, err;
    bool has(const std::string& text) const { return ("\n" + out).find("\n" + text) != std::string::npos; }
};

class ViewDiffTest : public schemasupport::ModuleTest
{
protected:
    // Both worlds live at once, so that their host objects stand at different addresses.
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        worlds[0].reset(new sampleworld::World);
        worlds[1].reset(new sampleworld::World);
        a = write(*worlds[0], "a.scene");
    }
    void TearDown() override
    {
        worlds[1].reset();
        worlds[0].reset();
        ModuleTest::TearDown();
    }
    std::string write(sampleworld::World& world, const std::string& name)
    {
        akDebugScene scene;
        EXPECT_EQ(scene.write((dir + "/" + name).c_str(), world.getRoot(), false), telu::SUCCESS);
        return dir + "/" + name;
    }
    Output diff(const std::string& arguments)
    {
        const viewsupport::ViewRun run = viewsupport::view("--diff " + arguments);
        return Output{run.status, run.out, run.err};
    }
    std::string dir, a;
    std::unique_ptr<sampleworld::World> worlds[2];
};

TEST_F(ViewDiffTest, ScenesWrittenAlikeDoNotDifferThoughTheirAddressesDo)
{
    const std::string b = write(*worlds[1], "b.scene");
    akDebugScene readA, readB;
    ASSERT_EQ(readA.read(a.c_str()) + readB.read(b.c_str()), 2 * telu::SUCCESS);
    ASSERT_NE(readA.getRoot()->getValue(), readB.getRoot()->getValue());
    for (const std::string& arguments : {a + " " + b, b + " " + a, a + " " + a}) {
        Output run = diff(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "0 differences: 0 added, 0 removed, 0 changed\n");
    }
}

TEST_F(ViewDiffTest, ReportsWhatChangedWasAddedOrRemovedByPathWithOldAndNewValues)
{
    kiNode* root = worlds[1]->getRoot();
    kiNode* escaped = root->getChild(8);  // named with a line break and an escape sequence
    ASSERT_STREQ(escaped->getName(), sampleworld::names::ESCAPED);
    escaped->setCullMask(0x6);
    ASSERT_NE(escaped->getUserDataList(true), nullptr);  // a null reference set
    escaped->addChild(new kiNode("Added Child"));
    kiNode* effects = root->getChild(11);
    effects->ref();
    root->removeChild(effects);
    // Rows of one name, matched by their order: the second "Child" of a mask changes, a third comes.
    kiSwitch* selector = static_cast<kiSwitch*>(root->getChild(2));
    selector->clearMasks();
    selector->addMask("decal only", {0});
    selector->addMask("everything", {0, 2, 1});
    const_cast<kiGeometry*>(worlds[1]->getSharedGeometry())->addValidationMessage(emNotify::LEVEL_WARN, "added in B");
    const std::string b = write(*worlds[1], "b.scene");
    kiNode::release(effects);

    const std::string node = "kiNode/Children/8/", mask = "kiNode/Children/2/Mask 1/";
    Output run = diff(a + " " + b);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(run.has("changed " + node +
                        "Cull Mask [unsigned int]: 0x5 {tip: 10100000000000000000000000000000} -> "
                        "0x6 {tip: 01100000000000000000000000000000}\n"))
        << run.out;
    EXPECT_TRUE(run.has("changed " + node + "emBase/User Data List [emUserDataList *]: 0x0 -> 0x")) << run.out;
    EXPECT_TRUE(run.has("added " + node + "Children/0 [kiNode *]: 0x")) << run.out;
    EXPECT_TRUE(run.has("removed kiNode/Children/11 [kiNode *]: 0x")) << run.out;
    EXPECT_TRUE(run.has("changed " + mask + "Child#2 [int]: 1 -> 2\n")) << run.out;
    EXPECT_TRUE(run.has("added " + mask + "Child#3 [int]: 1\n")) << run.out;
    EXPECT_NE(run.out.find("{error " + std::to_string(emNotify::LEVEL_WARN) + ": added in B}\n"), std::string::npos);
    unsigned int all = 0, added = 0, removed = 0, changed = 0;
    ASSERT_EQ(std::sscanf(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1).c_str(),
                          "%u differences: %u added, %u removed, %u changed", &all, &added, &removed, &changed),
              4);
    EXPECT_EQ(static_cast<size_t>(std::count(run.out.begin(), run.out.end(), '\n')), all + 1) << "a line each";
    EXPECT_EQ(all, added + removed + changed);

    // The other way round, added and removed trade places.
    Output back = diff(b + " " + a);
    EXPECT_EQ(back.status, 3);
    EXPECT_TRUE(back.has("removed " + mask + "Child#3 [int]: 1\n")) << back.out;
    EXPECT_TRUE(back.has(std::to_string(all) + " differences: " + std::to_string(removed) + " added, " +
                         std::to_string(added) + " removed, " + std::to_string(changed) + " changed\n"));
}

TEST_F(ViewDiffTest, FilesThatCannotBeComparedAreRefused)
{
    const std::string draw = dir + "/world.draw";
    {
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(draw.c_str(), worlds[0]->getChannel(), false), telu::SUCCESS);
        recorder.start(1);
        worlds[0]->getChannel()->drawFrame();
    }
    std::vector<uint8_t> bytes = schemasupport::readFile(a);
    bytes.resize(bytes.size() / 2);
    schemasupport::writeFile(dir + "/cut.scene", bytes);
    const std::pair<std::string, std::pair<int, std::string>> cases[] = {
        {a + " " + draw, {2, "is a draw file"}},
        {draw + " " + a, {2, "is a draw file"}},
        {a + " " + dir + "/missing.scene", {1, "missing.scene\" cannot be opened: No such file or directory"}},
        // What a damaged file lacks would show as removed.
        {dir + "/cut.scene " + a, {1, "could not be read whole; nothing compared"}},
        {a, {2, "--diff"}},
    };
    for (const auto& entry : cases) {
        Output run = diff(entry.first);
        EXPECT_EQ(run.status, entry.second.first) << entry.first;
        EXPECT_NE(run.err.find(entry.second.second), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// A value read back equals itself, NaN too: a file compared with itself, or with one written from
// the same state, does not differ; NaN against a number does.
TEST_F(ViewDiffTest, NotANumberEqualsItself)
{
    const auto writeNode = [&](const std::string& name, double radius) {
        kiTransform root("Transform");
        root.setBounds(emSphere<double>(0, 0, 0, radius));
        root.setTranslate(std::nan(""), 1, -std::nan(""));
        akDebugScene scene;
        EXPECT_EQ(scene.write((dir + "/" + name).c_str(), &root, false), telu::SUCCESS);
        return dir + "/" + name;
    };
    const std::string nan = writeNode("nan.scene", std::nan("")), again = writeNode("again.scene", std::nan("")),
                      one = writeNode("one.scene", 1);
    for (const std::string& other : {nan, again}) {
        const Output same = diff(nan + " " + other);
        EXPECT_EQ(same.status, 0) << same.out;
        EXPECT_EQ(same.out, "0 differences: 0 added, 0 removed, 0 changed\n");
    }
    const Output differs = diff(nan + " " + one);
    EXPECT_EQ(differs.status, 3);
    EXPECT_EQ(differs.out,
              "changed kiNode/Bounds/Radius [double]: nan -> 1\n1 difference: 0 added, 0 removed, 1 changed\n");
}

}  // namespace
