// akdebug-demo: what a host application does with the module. It loads the module by its name
// through the host's module loader, builds a world that holds every kind of host object the module
// knows, a number of benchmark geometry nodes and a small place to look at, writes a scene file of
// it, records frames of a channel drawing the world and of a camera looking at the place into two
// draw files and, as a host would, lets the module start its viewer on each file.
#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <benchscene.h>
#include <demoplace.h>
#include <sampleworld.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long long bytesOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

// Object records of the file just written, whatever their tag.
unsigned int recordsOf(const akDebug& stream)
{
    return stream.getNumRecords(akDebug::OBJECT_NULL) + stream.getNumRecords(akDebug::OBJECT_ADDRESS_ONLY) +
        stream.getNumRecords(akDebug::OBJECT_REPEAT) + stream.getNumRecords(akDebug::OBJECT_FULL);
}

// The viewer the module started runs beside this program; its output comes before the next step's.
void waitForViewer()
{
    std::fflush(stdout);
    while (wait(nullptr) > 0 || errno == EINTR)
        ;
}

int run(int argc, char** argv)
{
    int nodes = 300;
    int frames = 3;
    bool noView = false;
    std::string directory = "akdebug-demo";
    CLI::App app("Loads the module, builds a world with one object of every kind of host object the module knows, "
                 "N benchmark geometry nodes and a small place, writes DIRECTORY/scene.akdebug, records F frames "
                 "of a channel drawing the world into DIRECTORY/draw.akdebug and of a camera looking at the place "
                 "into DIRECTORY/place.akdebug, and lets the module start its viewer on each.",
                 "akdebug-demo");
    app.add_option("--nodes", nodes, "benchmark geometry nodes, in groups of ten (default 300)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--frames", frames, "frames to record (default 3)")->check(CLI::PositiveNumber);
    app.add_flag("--no-view", noView, "do not start the viewer");
    app.add_option("DIRECTORY", directory, "where the files go (default akdebug-demo)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }
    if (mkdir(directory.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "akdebug-demo: unable to make directory \"%s\"\n", directory.c_str());
        return 1;
    }
    const std::string sceneFile = directory + "/scene.akdebug";
    const std::string drawFile = directory + "/draw.akdebug";
    const std::string placeFile = directory + "/place.akdebug";

    emNotify::setHandler([](int level, const char* text) {
        if (level >= emNotify::LEVEL_WARN)
            std::fprintf(stderr, "akdebug-demo: %s\n", text);
    });
    akModule* module = akModule::load("akdebug");
    if (!module)
        return 1;
    module->initialize(0, nullptr);
    module->configure();

    int status = 0;
    {
        sampleworld::World world;
        benchscene::Scene bench(nodes);
        world.getRoot()->addChild(const_cast<kiNode*>(bench.getRoot()));
        benchscene::Drawing benchDrawing(bench);
        world.getChannel()->addBin(benchDrawing.getBin());
        // The place stands south of the benchmark nodes.
        demoplace::Place place;
        kiTransform* site = new kiTransform("Place Site");
        site->setTranslate(0.0, -140.0, 0.1);
        site->addChild(place.getRoot());
        world.getRoot()->addChild(site);

        auto start = std::chrono::steady_clock::now();
        akDebugScene scene;
        if (scene.write(sceneFile.c_str(), world.getRoot(), !noView) != telu::SUCCESS) {
            status = 1;
        } else {
            std::printf("wrote %s: %u object records, %lld bytes, %.2f s\n", sceneFile.c_str(), recordsOf(scene),
                        bytesOf(sceneFile), secondsSince(start));
            waitForViewer();
        }

        // Frames of a channel recorded into a file, which the module then shows; false on failure.
        auto record = [&](const std::string& file, kiChannel* channel) {
            const auto began = std::chrono::steady_clock::now();
            akDebugDraw recorder;
            if (recorder.write(file.c_str(), channel, !noView) != telu::SUCCESS)
                return false;
            recorder.start(frames);
            for (int frame = 0; frame < frames; ++frame)
                channel->drawFrame();
            std::printf("wrote %s: %d frames, %u object records, %lld bytes, %.2f s\n", file.c_str(), frames,
                        recordsOf(recorder), bytesOf(file), secondsSince(began));
            waitForViewer();
            return true;
        };
        if (status != 0 || !record(drawFile, world.getChannel()) || !record(placeFile, place.getChannel()))
            status = 1;
        world.getRoot()->removeChild(site);
        world.getRoot()->removeChild(const_cast<kiNode*>(bench.getRoot()));
    }
    module->shutdown();
    delete module;
    if (status == 0)
        std::printf("\nSee them whole: akdebug-view \"%s\", or in a browser: akdebug-view --serve \"%s\"\n",
                    sceneFile.c_str(), sceneFile.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // What no step expects (memory running out) ends the demo with a message, not an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "akdebug-demo: %s\n", e.what());
        return 1;
    }
}
