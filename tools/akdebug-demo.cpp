// akdebug-demo: what a host application does with the module. It builds a scene on the host,
// writes a scene file of it, records two frames of a channel drawing it into a draw file, and
// shows both files with the viewer.
#include <benchscene.h>

#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const s_usage =
    "usage: akdebug-demo [--nodes N] [DIRECTORY]\n"
    "Writes DIRECTORY/scene.akdebug (a scene of N geometry nodes, 300 by default) and\n"
    "DIRECTORY/draw.akdebug (two frames of a channel drawing it), then shows both with the viewer.\n"
    "DIRECTORY defaults to akdebug-demo in the current directory.\n";

// Runs the viewer, which the build places beside this program, on a file.
int view(const std::string& arguments)
{
    emString directory;
    emCDO::getBinDir(directory, 6);
    std::string command = std::string(directory.c_str()) + "/akdebug-view " + arguments;
    std::printf("\n$ akdebug-view %s\n", arguments.c_str());
    std::fflush(stdout);
    return std::system(command.c_str());
}

// Records two frames of a channel that draws every geometry node of the scene.
int record(const benchscene::Scene& scene, const std::string& file)
{
    benchscene::Drawing drawing(scene);
    akDebugDraw recorder;
    if (recorder.write(file.c_str(), drawing.getChannel(), false) != telu::SUCCESS)
        return telu::FAILURE;
    recorder.start(2);
    for (int frame = 0; frame < 3; ++frame)  // the third frame is no longer recorded
        drawing.getChannel()->drawFrame();
    return telu::SUCCESS;
}

}  // namespace

int main(int argc, char** argv)
{
    int nodes = 300;
    std::string directory = "akdebug-demo";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--nodes") == 0 && i + 1 < argc) {
            nodes = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-') {
            directory = argv[i];
        } else {
            std::fputs(s_usage, std::strcmp(argv[i], "--help") == 0 ? stdout : stderr);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    if (nodes < benchscene::Scene::NODES_PER_GROUP) {
        std::fprintf(stderr, "akdebug-demo: at least %d nodes\n", benchscene::Scene::NODES_PER_GROUP);
        return 2;
    }
    mkdir(directory.c_str(), 0777);
    const std::string sceneFile = directory + "/scene.akdebug";
    const std::string drawFile = directory + "/draw.akdebug";

    emNotify::setHandler([](int level, const char* text) {
        if (level >= emNotify::LEVEL_WARN)
            std::fprintf(stderr, "akdebug-demo: %s\n", text);
    });
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();

    int status = 0;
    {
        benchscene::Scene scene(nodes);
        if (akDebugScene().write(sceneFile.c_str(), scene.getRoot(), false) != telu::SUCCESS ||
            record(scene, drawFile) != telu::SUCCESS)
            status = 1;
        else
            std::printf("Wrote %s (%d geometry nodes) and %s (two frames).\n", sceneFile.c_str(),
                        scene.getNumGeometryNodes(), drawFile.c_str());
    }
    module->shutdown();
    delete module;
    if (status != 0)
        return status;

    // The viewer: counts of both files, one transform of the scene found by name with all it
    // holds, and the first frame of the draw file.
    if (view("--summary " + sceneFile) != 0 || view("--summary " + drawFile) != 0 ||
        view("--find \"transform 7\" --exact " + sceneFile) != 0 ||
        view(drawFile + " | head -n 60") != 0)
        return 1;
    std::printf("\nThe whole trees: akdebug-view %s, akdebug-view %s\n", sceneFile.c_str(), drawFile.c_str());
    return 0;
}
