#include "viewfiles.h"

#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <benchscene.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace benchview {

namespace {

// The module, set up as the viewer sets it up; failures go to stderr.
class Module
{
public:
    Module()
    {
        emNotify::setHandler([](int level, const char* text) {
            if (level >= emNotify::LEVEL_WARN)
                std::fprintf(stderr, "bench_view: %s\n", text);
        });
        m_module = akdebugInitialize();
        m_module->initialize(0, nullptr);
        m_module->configure();
    }
    ~Module()
    {
        m_module->shutdown();
        delete m_module;
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

private:
    akModule* m_module = nullptr;
};

std::string numbered(const char* prefix, int i) { return std::string(prefix) + " " + std::to_string(i); }

// Geometry nodes under one root, as many as `source` has, each drawing the drawable of the same
// index with its state, or all of them the first one (`shared`): the instanced scene and the
// scene that holds the same attributes read fresh.
// (Minimal builders of the benchmark's own; the shared scene builder is to get them.)
kiNode* buildInstances(const benchscene::Scene& source, bool shared)
{
    kiNode* root = new kiNode("instances");
    root->ref();
    for (int i = 0; i < source.getNumGeometryNodes(); ++i) {
        kiGeometry* geometry = new kiGeometry(numbered("instance", i).c_str());
        const int drawn = shared ? 0 : i;
        geometry->setGeometryBase(0, source.getGeometry(drawn));
        geometry->setState(0, source.getState(drawn));
        root->addChild(geometry);
    }
    return root;
}

// A chain of `levels` nodes, each holding the next one twice, the last a geometry node: a file of
// a few kilobytes whose repeats ask for 2^levels copies of that node.
kiNode* buildBomb(const benchscene::Scene& source, int levels)
{
    kiGeometry* leaf = new kiGeometry("leaf");
    leaf->setGeometryBase(0, source.getGeometry(0));
    leaf->setState(0, source.getState(0));
    kiNode* below = leaf;
    for (int level = levels - 1; level >= 0; --level) {
        kiNode* node = new kiNode(numbered("level", level).c_str());
        node->addChild(below);
        node->addChild(below);
        below = node;
    }
    below->ref();
    return below;
}

bool writeScene(const std::string& fileName, const kiNode* root)
{
    return akDebugScene().write(fileName.c_str(), root, false) == telu::SUCCESS;
}

// Records `frames` frames of a channel drawing the scene.
bool writeDraw(const std::string& fileName, const benchscene::Scene& scene, int frames, akDebugDraw& recorder)
{
    benchscene::Drawing drawing(scene);
    const bool written = recorder.write(fileName.c_str(), drawing.getChannel(), false) == telu::SUCCESS;
    recorder.start(frames);
    for (int frame = 0; frame < frames; ++frame)
        drawing.getChannel()->drawFrame();
    return written;
}

}  // namespace

Files::Files(const std::string& directory)
    : scene(directory + "/scene.akdebug"), other(directory + "/other.akdebug"), draw(directory + "/draw.akdebug"),
      otherDraw(directory + "/otherdraw.akdebug"), instanced(directory + "/instanced.akdebug"),
      fresh(directory + "/fresh.akdebug"), bomb(directory + "/bomb.akdebug")
{}

int writeFiles(const std::string& directory, int nodes, int frames)
{
    mkdir(directory.c_str(), 0777);
    const Files files(directory);
    Module module;
    const benchscene::Scene scene(nodes);
    // A drawable in the middle: its name is held once in the scene and once per frame in the
    // recording. Each stream tells the address it gave the drawable in its file.
    const int middle = scene.getNumGeometryNodes() / 2;
    const olGeometry* found = scene.getGeometry(middle);
    akDebugScene sceneStream;
    bool written = sceneStream.write(files.scene.c_str(), scene.getRoot(), false) == telu::SUCCESS;
    // The channel's frame driver advances the host's frame number as each frame begins.
    const unsigned int firstFrame = kiThread::resolveFrameNumber() + 1;
    akDebugDraw recorder;
    written = writeDraw(files.draw, scene, frames, recorder) && written;
    {
        const benchscene::Scene other(nodes);
        written = writeScene(files.other, other.getRoot()) && written;
        akDebugDraw otherRecorder;
        written = writeDraw(files.otherDraw, other, frames, otherRecorder) && written;
    }
    for (bool shared : {true, false}) {
        kiNode* root = buildInstances(scene, shared);
        written = writeScene(shared ? files.instanced : files.fresh, root) && written;
        kiNode::release(root);
    }
    kiNode* bomb = buildBomb(scene, 40);
    written = writeScene(files.bomb, bomb) && written;
    kiNode::release(bomb);

    std::printf("find cube %d\n", middle);
    std::printf("scene address %X\n", sceneStream.getAddress(found));
    std::printf("draw address %X\n", recorder.getAddress(found));
    std::printf("draw frames %u %u\n", firstFrame, firstFrame + static_cast<unsigned int>(frames) - 1);
    if (!written)
        std::fprintf(stderr, "bench_view: the files could not be written in %s\n", directory.c_str());
    return written ? 0 : 1;
}

int readFiles(const std::vector<std::string>& files, bool records)
{
    Module module;
    // What the process holds before reading: the libraries and the module's tables.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            std::printf("resident %s\n", line.c_str() + line.find_first_of("0123456789"));
    bool whole = true;
    std::vector<std::unique_ptr<akDebugScene>> scenes;
    for (const std::string& file : files) {
        unsigned long long held = 0;
        if (records) {
            akDebugDraw draw;
            whole = draw.read(file.c_str(),
                              [&](const akDebugDraw::Record&) {
                                  held = std::max(held, draw.getNumAttributesHeld());
                                  return true;
                              }) == telu::SUCCESS &&
                whole;
        } else {
            scenes.emplace_back(new akDebugScene);
            whole = scenes.back()->read(file.c_str()) == telu::SUCCESS && whole;
            held = scenes.back()->getNumAttributesHeld();
        }
        std::printf("attributes %llu\n", held);
    }
    return whole ? 0 : 1;
}

}  // namespace benchview
