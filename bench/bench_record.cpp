// What recording costs the host's frame: the same frames of a channel that draws the benchmark
// scene, without a recorder, with one that records every frame after its first, and for a first
// frame (every object written in full). "per record" is the frame time per geometry record; the
// recorder's cost per record is the difference to the frame without it.
#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <benchscene.h>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

enum Mode { PLAIN = 0, RECORDING = 1, FIRST_FRAME = 2 };

struct Setup
{
    explicit Setup(int nodes) : scene(nodes), drawing(scene) {}
    benchscene::Scene scene;
    benchscene::Drawing drawing;
};

Setup& setupOf(int nodes)
{
    static std::map<int, std::unique_ptr<Setup>> setups;
    std::unique_ptr<Setup>& setup = setups[nodes];
    if (!setup)
        setup.reset(new Setup(nodes));
    return *setup;
}

void BM_Frame(benchmark::State& state)
{
    const int nodes = static_cast<int>(state.range(0));
    const Mode mode = static_cast<Mode>(state.range(1));
    Setup& setup = setupOf(nodes);
    kiChannel* channel = setup.drawing.getChannel();
    std::unique_ptr<akDebugDraw> recorder;
    auto startRecorder = [&] {
        recorder.reset(new akDebugDraw);
        recorder->write("/dev/null", channel, false);
        recorder->start(0);
    };
    if (mode == RECORDING) {
        startRecorder();
        channel->drawFrame();  // the first frame writes every object in full
    }
    for (auto _ : state) {
        if (mode == FIRST_FRAME) {
            state.PauseTiming();
            startRecorder();
            state.ResumeTiming();
        }
        channel->drawFrame();
        if (mode == FIRST_FRAME) {
            state.PauseTiming();
            recorder.reset();
            state.ResumeTiming();
        }
    }
    recorder.reset();
    state.counters["per record"] = benchmark::Counter(
        setup.scene.getNumGeometryNodes(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void frames(benchmark::internal::Benchmark* b)
{
    for (int nodes : {1000, 10000, 100000})
        for (int mode : {PLAIN, RECORDING, FIRST_FRAME})
            b->Args({nodes, mode});
    b->ArgNames({"nodes", "mode"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Frame)->Apply(frames);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    akModule* module = akdebugInitialize();
    module->initialize(0, nullptr);
    module->configure();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    module->shutdown();
    delete module;
    return 0;
}
