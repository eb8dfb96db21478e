// What a user waits for: the benchmark scene written to a scene file and a recording of it to a
// draw file, then each shown by `akdebug-view --summary` in a fresh process, timed from start to
// exit with its peak resident memory (the warm loop of bench_scene reuses memory the allocator
// already holds and leaves out releasing the tree).
//
// usage: bench_view [--nodes N] [--frames F] [--keep DIRECTORY]
#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <benchscene.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Run
{
    double seconds = 0;
    long peakKilobytes = 0;
    unsigned long long attributes = 0;
    int status = -1;
};

std::string programDirectory()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = '\0';
    std::string directory = path;
    return directory.substr(0, directory.rfind('/'));
}

// Runs the viewer on a file in a fresh process; the attribute count comes from its output.
Run view(const std::string& viewer, const std::string& file)
{
    Run run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* argv[] = {viewer.c_str(), "--summary", file.c_str(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, viewer.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return run;
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    struct rusage usage;
    int status = 0;
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKilobytes = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    for (const char* label : {"attributes: ", "attributes held at most: "}) {
        size_t at = text.find(label);
        if (at != std::string::npos)
            run.attributes = std::strtoull(text.c_str() + at + std::strlen(label), nullptr, 10);
    }
    return run;
}

double fileMegabytes(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0.0;
}

void report(const char* what, const std::string& file, const Run& run)
{
    std::printf("%-34s %8.1f MB file %8.2f s %9.1f MB peak", what, fileMegabytes(file), run.seconds,
                run.peakKilobytes / 1024.0);
    if (run.attributes)
        std::printf(" %12llu attributes %6.1f bytes each", run.attributes,
                    run.peakKilobytes * 1024.0 / static_cast<double>(run.attributes));
    if (run.status != 0)
        std::printf("  (viewer exit status %d)", run.status);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    int nodes = 100000, frames = 2;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--nodes") == 0 && i + 1 < argc)
            nodes = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_view [--nodes N] [--frames F] [--keep DIRECTORY]\n");
            return 2;
        }
    }
    std::string directory = keep;
    if (directory.empty()) {
        char pattern[] = "/tmp/akdebug-bench-view-XXXXXX";
        if (!mkdtemp(pattern))
            return 1;
        directory = pattern;
    } else {
        mkdir(directory.c_str(), 0777);
    }
    const std::string sceneFile = directory + "/scene.akdebug";
    const std::string drawFile = directory + "/draw.akdebug";

    emNotify::setHandler([](int level, const char* text) {
        if (level >= emNotify::LEVEL_WARN)
            std::fprintf(stderr, "bench_view: %s\n", text);
    });
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
    double writeSeconds = 0;
    {
        benchscene::Scene scene(nodes);
        const auto start = std::chrono::steady_clock::now();
        akDebugScene().write(sceneFile.c_str(), scene.getRoot(), false);
        writeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchscene::Drawing drawing(scene);
        akDebugDraw recorder;
        recorder.write(drawFile.c_str(), drawing.getChannel(), false);
        recorder.start(frames);
        for (int frame = 0; frame < frames; ++frame)
            drawing.getChannel()->drawFrame();
    }
    module->shutdown();
    delete module;

    const std::string viewer = programDirectory() + "/akdebug-view";
    std::printf("benchmark scene of %d geometry nodes; scene file written in %.2f s\n", nodes, writeSeconds);
    report("akdebug-view --summary scene", sceneFile, view(viewer, sceneFile));
    char what[64];
    std::snprintf(what, sizeof what, "akdebug-view --summary %d frame%s", frames, frames == 1 ? "" : "s");
    report(what, drawFile, view(viewer, drawFile));
    if (keep.empty()) {
        std::remove(sceneFile.c_str());
        std::remove(drawFile.c_str());
        rmdir(directory.c_str());
    }
    return 0;
}
