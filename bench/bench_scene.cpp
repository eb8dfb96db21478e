// Writing and reading scene files of 1,000 to 100,000 geometry nodes: object records and megabytes
// per second in each direction.
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <benchscene.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const benchscene::Scene& sceneOf(int geometryNodes)
{
    static std::map<int, std::unique_ptr<benchscene::Scene>> scenes;
    std::unique_ptr<benchscene::Scene>& scene = scenes[geometryNodes];
    if (!scene)
        scene.reset(new benchscene::Scene(geometryNodes));
    return *scene;
}

std::string pathOf(int geometryNodes)
{
    return "/tmp/akdebug-bench-" + std::to_string(getpid()) + "-" + std::to_string(geometryNodes) + ".bin";
}

double fileSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) : 0.0;
}

// Object records of the file last read by `scene`, whatever their tag.
double recordsRead(const akDebugScene& scene)
{
    double records = 0;
    for (akDebug::ObjectTag tag :
         {akDebug::OBJECT_NULL, akDebug::OBJECT_ADDRESS_ONLY, akDebug::OBJECT_REPEAT, akDebug::OBJECT_FULL})
        records += scene.getNumRecords(tag);
    return records;
}

// Writes the scene once and reads it back once to learn its size and its record count.
void measure(int geometryNodes, double& bytes, double& records)
{
    const std::string path = pathOf(geometryNodes);
    akDebugScene scene;
    if (scene.write(path.c_str(), sceneOf(geometryNodes).getRoot(), false) != telu::SUCCESS ||
        scene.read(path.c_str()) != telu::SUCCESS) {
        bytes = records = 0;
        return;
    }
    bytes = fileSize(path);
    records = recordsRead(scene);
}

void setCounters(benchmark::State& state, double bytes, double records)
{
    const double n = static_cast<double>(state.iterations());
    state.counters["records/s"] = benchmark::Counter(records * n, benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(bytes * n / 1e6, benchmark::Counter::kIsRate);
    state.counters["records"] = records;
    state.counters["MB"] = bytes / 1e6;
}

void BM_WriteScene(benchmark::State& state)
{
    const int geometryNodes = static_cast<int>(state.range(0));
    const kiNode* root = sceneOf(geometryNodes).getRoot();
    double bytes = 0, records = 0;
    measure(geometryNodes, bytes, records);
    if (records == 0) {
        state.SkipWithError("the scene could not be written and read back");
        return;
    }
    const std::string path = pathOf(geometryNodes);
    for (auto _ : state) {
        akDebugScene scene;
        if (scene.write(path.c_str(), root, false) != telu::SUCCESS)
            state.SkipWithError("write failed");
    }
    setCounters(state, bytes, records);
}

void BM_ReadScene(benchmark::State& state)
{
    const int geometryNodes = static_cast<int>(state.range(0));
    double bytes = 0, records = 0;
    measure(geometryNodes, bytes, records);
    if (records == 0) {
        state.SkipWithError("the scene could not be written and read back");
        return;
    }
    const std::string path = pathOf(geometryNodes);
    for (auto _ : state) {
        std::unique_ptr<akDebugScene> scene(new akDebugScene);
        if (scene->read(path.c_str()) != telu::SUCCESS)
            state.SkipWithError("read failed");
        // Releasing the tree is not part of reading.
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    setCounters(state, bytes, records);
}

BENCHMARK(BM_WriteScene)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadScene)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    akModule* module = akdebugInitialize();
    if (!module || module->initialize(0, nullptr) != telu::SUCCESS)
        return 1;
    module->configure();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    for (int n : {1000, 10000, 100000})
        std::remove(pathOf(n).c_str());
    module->shutdown();
    delete module;
    return 0;
}
