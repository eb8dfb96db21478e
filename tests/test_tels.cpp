// The stand-in scene graph, where the module depends on it: shared children and their teardown,
// and the channel's frame driver calling the debug hook in order and only while it is enabled.
#include <tels.h>

#include "testsupport.h"

#include <string>
#include <vector>

namespace {

// A node that counts its destructions.
class CountedNode : public kiNode
{
public:
    explicit CountedNode(const char* name, int* destroyed) : kiNode(name), m_destroyed(destroyed) {}
    ~CountedNode() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

std::vector<kiNode*> parents(const kiNode* node) { return {node->begin_parent(), node->end_parent()}; }
std::vector<kiNode*> children(const kiNode* node) { return {node->begin_child(), node->end_child()}; }

TEST(Tels, NodeLinksAndTeardown)
{
    int destroyed = 0;
    auto* root = new CountedNode("root", &destroyed);
    auto* left = new CountedNode("left", &destroyed);
    auto* right = new CountedNode("right", &destroyed);
    auto* shared = new CountedNode("shared", &destroyed);
    ASSERT_EQ(root->addChild(left), telu::SUCCESS);
    ASSERT_EQ(root->addChild(right), telu::SUCCESS);
    ASSERT_EQ(left->addChild(shared), telu::SUCCESS);
    ASSERT_EQ(right->addChild(shared), telu::SUCCESS);

    EXPECT_EQ(children(root), (std::vector<kiNode*>{left, right}));
    EXPECT_EQ(parents(shared), (std::vector<kiNode*>{left, right}));
    EXPECT_EQ(shared->getRef(), 2);
    EXPECT_EQ(root->getRef(), 0);

    // Removing one parent's link keeps the shared child alive for the other.
    EXPECT_EQ(left->removeChild(shared), telu::SUCCESS);
    EXPECT_EQ(left->removeChild(shared), telu::FAILURE);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(parents(shared), (std::vector<kiNode*>{right}));
    ASSERT_EQ(left->addChild(shared), telu::SUCCESS);

    // Deleting a node that still has a parent takes it out of the parent's list first.
    auto* extra = new CountedNode("extra", &destroyed);
    ASSERT_EQ(shared->addChild(extra), telu::SUCCESS);
    delete extra;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(shared->size_child(), 0u);

    // Deleting the root frees the whole graph, the shared child once (LeakSanitizer checks the rest).
    delete root;
    EXPECT_EQ(destroyed, 5);
}

// Records every hook call; flags any call made while it reports itself disabled.
class Recorder : public kiChannel::Debug
{
public:
    std::vector<std::string> calls;
    bool enabled = true;
    int callsWhileDisabled = 0;
    // When >= 0, `enabled` flips after this many calls.
    int flipAfter = -1;

    void drawGeometry(olDrawContext*, const olDrawFunc::Data*, const char* name) override
    {
        note(std::string("function ") + name);
    }
    void drawGeometry(olDrawContext*, const olGeometryBase* geometry) override
    {
        note(geometry ? "geometry" : "geometry null");
    }
    void changedState(olDrawContext*, const char* name) override { note(std::string("state ") + name); }
    bool isEnabled() const override { return enabled; }
    void drawChannelBegin(olDrawContext*, const kiChannel*) override
    {
        note("begin " + std::to_string(kiThread::resolveFrameNumber()));
    }
    void drawChannelEnd(olDrawContext*, const kiChannel*) override { note("end"); }
    void processChannelBin(olDrawContext*, const kiChannelBin* bin) override
    {
        note(std::string("bin ") + bin->getName());
    }
    void processCullRecord(olDrawContext*, const kiCullRecord*) override { note("record"); }

private:
    void note(const std::string& call)
    {
        if (!enabled)
            ++callsWhileDisabled;
        calls.push_back(call);
        if (flipAfter >= 0 && static_cast<int>(calls.size()) == flipAfter)
            enabled = !enabled;
    }
};

struct DrivenChannel
{
    kiChannel channel{"channel"};
    kiChannelBin opaque{"opaque"};
    kiChannelBin transparent{"transparent"};
    kiGeometryBase::CullRecord record;
    kiCullRecord plainRecord;
    olDrawFunc::Data data;

    DrivenChannel()
    {
        opaque.addGeometry(&record, nullptr, "lit");
        opaque.addStateChange(nullptr, "fog");
        transparent.addDrawFunction(&plainRecord, &data, "sky");
        channel.addBin(&opaque);
        channel.addBin(&transparent);
    }
};

TEST(Tels, FrameDriverCallsTheHookInOrder)
{
    DrivenChannel d;
    Recorder recorder;

    kiThread::setFrameNumber(41);
    EXPECT_EQ(d.channel.drawFrame(), 0u);  // no hook installed: only the frame number advances
    EXPECT_EQ(kiThread::resolveFrameNumber(), 42u);

    d.channel.setDebug(&recorder);
    EXPECT_EQ(d.channel.drawFrame(), 10u);
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"begin 43", "bin opaque", "record", "state lit", "geometry null", "state fog",
                                        "bin transparent", "record", "function sky", "end"}));
}

TEST(Tels, FrameDriverNeverCallsADisabledHook)
{
    DrivenChannel d;
    Recorder recorder;
    d.channel.setDebug(&recorder);

    // Switched off after the third call: nothing more in this frame.
    recorder.flipAfter = 3;
    d.channel.drawFrame();
    EXPECT_EQ(recorder.calls.size(), 3u);
    EXPECT_EQ(recorder.callsWhileDisabled, 0);

    // A disabled hook is not called at all.
    recorder.calls.clear();
    recorder.flipAfter = -1;
    EXPECT_EQ(d.channel.drawFrame(), 0u);
    EXPECT_TRUE(recorder.calls.empty());

    // Switched on mid-frame (at the third query: the channel begin and the first bin are missed):
    // only the later calls arrive, ending with the channel end.
    class LateRecorder : public Recorder
    {
    public:
        mutable int queries = 0;
        bool isEnabled() const override { return ++queries > 2; }
    } late;
    d.channel.setDebug(&late);
    unsigned int frame = kiThread::resolveFrameNumber();
    d.channel.drawFrame();
    EXPECT_EQ(kiThread::resolveFrameNumber(), frame + 1);
    ASSERT_FALSE(late.calls.empty());
    EXPECT_EQ(late.calls.front(), "record");
    EXPECT_EQ(late.calls.back(), "end");

    d.channel.setDebug(nullptr);
    EXPECT_EQ(d.channel.drawFrame(), 0u);
}

}  // namespace
