// The stand-in scene graph: node links and teardown, the channel's frame driver and debug hook, the
// frame number, light-point cull record arrays and geometry-node validation.
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

    // A cycle or a null child is refused and changes nothing.
    testsupport::clear();
    EXPECT_EQ(shared->addChild(root), telu::FAILURE);
    EXPECT_EQ(shared->addChild(shared), telu::FAILURE);
    EXPECT_EQ(left->addChild(nullptr), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(emNotify::LEVEL_FAIL, "kiNode::addChild - child would close a cycle"));
    EXPECT_EQ(shared->size_child(), 0u);
    EXPECT_EQ(root->size_parent(), 0u);

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

TEST(Tels, NodeHeldByItsOwnReferenceSurvivesItsParents)
{
    int destroyed = 0;
    auto* root = new CountedNode("root", &destroyed);
    auto* kept = new CountedNode("kept", &destroyed);
    kept->ref();
    ASSERT_EQ(root->addChild(kept), telu::SUCCESS);
    ASSERT_EQ(root->addChild(kept), telu::SUCCESS);  // listed twice, two references
    EXPECT_EQ(kept->getRef(), 3);
    delete root;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(kept->size_parent(), 0u);
    EXPECT_EQ(kiNode::release(kept), 0);
    EXPECT_EQ(destroyed, 2);
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
              (std::vector<std::string>{"begin 43", "bin opaque", "record", "state lit", "geometry null",
                                        "state fog", "bin transparent", "record", "function sky", "end"}));
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

TEST(Tels, LightPointCullRecordArrays)
{
    kiLightPoint::CullRecord record;
    EXPECT_EQ(record.numLightPoints, 0);
    EXPECT_EQ(record.indices, nullptr);

    record.allocateLightPoints(3, false);
    ASSERT_EQ(record.numLightPoints, 3);
    ASSERT_NE(record.indices, nullptr);
    ASSERT_NE(record.sizes, nullptr);
    ASSERT_NE(record.colors, nullptr);
    EXPECT_EQ(record.vertices, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(record.indices[i], 0);
        EXPECT_EQ(record.sizes[i], 0.0f);
        EXPECT_EQ(record.colors[i], emVec4<float>(0, 0, 0, 0));
    }

    // Reallocating frees the old arrays (LeakSanitizer); the last ones go with the record.
    record.allocateLightPoints(2, true);
    EXPECT_EQ(record.numLightPoints, 2);
    ASSERT_NE(record.vertices, nullptr);
    record.vertices[1] = emVec3<float>(1, 2, 3);
    record.allocateLightPoints(0, true);
    EXPECT_EQ(record.numLightPoints, 0);
    EXPECT_EQ(record.colors, nullptr);
    EXPECT_EQ(record.vertices, nullptr);
    record.allocateLightPoints(4, true);

    // The module finds the record's class by walking its class chain.
    const emClassType* type = record.getClassType();
    EXPECT_STREQ(type->getName(), "kiLightPoint::CullRecord");
    EXPECT_STREQ(type->getBase()->getName(), "kiGeometryBase::CullRecord");
    EXPECT_TRUE(type->isOfClassType(kiCullRecord::getStaticClassType()));
    EXPECT_STREQ(kiLightPoint::Control::getStaticClassType()->getName(), "kiLightPoint::Control");
    EXPECT_TRUE(kiChannel::getStaticClassType()->isOfClassType(olChannel::getStaticClassType()));
}

TEST(Tels, GeometryValidationPerRepresentation)
{
    kiChannel::setNumRepresentations(2);
    kiLightPoint node("lights");
    olGeometry geometry;
    node.setGeometryBase(1, &geometry);
    node.addValidationMessage(emNotify::LEVEL_INFO, "injected");

    const kiGeometryBase& base = node;  // the module calls the validation through the base class
    olMessageList messages;
    base.validate(0, 4, messages);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].first, emNotify::LEVEL_WARN);
    EXPECT_STREQ(messages[0].second.c_str(), "kiGeometryBase::validate - representation 0 has no geometry");
    EXPECT_STREQ(messages[1].second.c_str(), "injected");
    EXPECT_EQ(messages[2].first, emNotify::LEVEL_NOTICE);

    // Representation 1 has geometry but no state (a detail); level 1 asks for problems only.
    messages.clear();
    base.validate(1, 1, messages);
    EXPECT_TRUE(messages.empty());
    base.validate(2, 1, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, emNotify::LEVEL_FAIL);

    kiChannel::setNumRepresentations(1);
}

}  // namespace
