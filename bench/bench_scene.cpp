// Writing and reading scene files of 1,000 to 100,000 geometry nodes: object records and megabytes
// per second in each direction. Repeats: N instances of one geometry read against a plain scene of
// as many attributes (attributes built per second by each), and a file whose repeats expand past the
// default attribute limit, until it is refused.
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <benchscene.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
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

// A file written once per kind and size, with what reading it builds.
struct Written
{
    std::string path;
    double bytes = 0;
    double attributes = 0;
};

// Reads the file once to count what it builds; false when the read fails.
bool count(Written& file)
{
    akDebugScene scene;
    const bool read = scene.read(file.path.c_str()) == telu::SUCCESS;
    file.bytes = fileSize(file.path);
    file.attributes = static_cast<double>(scene.getNumAttributesHeld());
    return read;
}

const Written& instancedFile(int instances)
{
    static std::map<int, Written> files;
    Written& file = files[instances];
    if (file.path.empty()) {
        file.path =
            "/tmp/akdebug-bench-" + std::to_string(getpid()) + "-instanced-" + std::to_string(instances) + ".bin";
        akDebugScene scene;
        if (scene.write(file.path.c_str(), benchscene::buildInstanced(instances)->getRoot(), false) != telu::SUCCESS ||
            !count(file))
            file.attributes = 0;
    }
    return file;
}

// The plain scene whose attributes come nearest to those of `instances` instances.
const Written& plainFileLike(int instances)
{
    static std::map<int, Written> files;
    Written& file = files[instances];
    if (file.path.empty()) {
        Written sample{pathOf(1000)};
        double bytes = 0, records = 0;
        measure(1000, bytes, records);
        count(sample);
        const int groups = static_cast<int>(
            instancedFile(instances).attributes / sample.attributes * 1000 / benchscene::Scene::NODES_PER_GROUP + 0.5);
        const int nodes = groups * benchscene::Scene::NODES_PER_GROUP;
        measure(nodes, bytes, records);
        file.path = pathOf(nodes);
        if (!count(file))
            file.attributes = 0;
    }
    return file;
}

void readTimed(benchmark::State& state, const Written& file)
{
    if (file.attributes == 0) {
        state.SkipWithError("the file could not be written and read back");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<akDebugScene> scene(new akDebugScene);
        if (scene->read(file.path.c_str()) != telu::SUCCESS)
            state.SkipWithError("read failed");
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["attributes"] = file.attributes;
    state.counters["MB"] = file.bytes / 1e6;
    state.counters["attributes/s"] = benchmark::Counter(file.attributes * n, benchmark::Counter::kIsRate);
}

// Instances of one geometry: the geometry and its state are copies of their first record.
void BM_ReadInstanced(benchmark::State& state) { readTimed(state, instancedFile(static_cast<int>(state.range(0)))); }

// A plain scene, read from full records, of as many attributes as the instanced one.
void BM_ReadPlainAsInstanced(benchmark::State& state)
{
    readTimed(state, plainFileLike(static_cast<int>(state.range(0))));
}

// A file of a few kilobytes whose repeats expand exponentially: read until the default limit
// refuses it.
void BM_RefuseExpanding(benchmark::State& state)
{
    const std::string path = "/tmp/akdebug-bench-" + std::to_string(getpid()) + "-expanding.bin";
    {
        akDebugScene scene;
        scene.write(path.c_str(), benchscene::buildExpanding(static_cast<int>(state.range(0)))->getRoot(), false);
    }
    double built = 0;
    for (auto _ : state) {
        std::unique_ptr<akDebugScene> scene(new akDebugScene);
        if (scene->read(path.c_str()) == telu::SUCCESS || !scene->hasPassedAttributeLimit())
            state.SkipWithError("the file was not refused at the limit");
        built = static_cast<double>(scene->getNumAttributesHeld());
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["attributes built"] = built;
    state.counters["KB"] = fileSize(path) / 1e3;
    std::remove(path.c_str());
}

BENCHMARK(BM_WriteScene)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadScene)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadInstanced)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPlainAsInstanced)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RefuseExpanding)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

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

    // Every file the benchmarks wrote.
    const std::string prefix = "akdebug-bench-" + std::to_string(getpid()) + "-";
    if (DIR* tmp = opendir("/tmp")) {
        while (const dirent* entry = readdir(tmp))
            if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
                std::remove(("/tmp/" + std::string(entry->d_name)).c_str());
        closedir(tmp);
    }
    module->shutdown();
    delete module;
    return 0;
}
