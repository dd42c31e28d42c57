// Resizing a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) to 1920 x 1080 and to 640 x 360 with each method, single-threaded.
// Each iteration also copies the source picture with memcpy; the counters give the resize
// time and its ratio to that copy, so figures compare across machines.
#include <benchmark/benchmark.h>

#include "screenshot_picture.h"

#include <chrono>
#include <cstring>

#include "image/resample.h"

namespace {

using namespace tessaro;

const ImageRecord& screenshot() { return bench::screenshotPicture(); }

void Resize(benchmark::State& state) {
    const auto method = static_cast<ResizeMethod>(state.range(0));
    const int width = int(state.range(1)), height = int(state.range(2));
    const ImageRecord& source = screenshot();
    std::vector<std::uint8_t> copy(source.pixels.size());
    double copyTotal = 0, resizeTotal = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(copy.data(), source.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        const auto t1 = std::chrono::steady_clock::now();
        ImageRecord image = source;
        const auto t2 = std::chrono::steady_clock::now();
        ResizeImage(image, width, height, method);
        benchmark::DoNotOptimize(image.pixels.data());
        const auto t3 = std::chrono::steady_clock::now();
        copyTotal += std::chrono::duration<double>(t1 - t0).count();
        resizeTotal += std::chrono::duration<double>(t3 - t2).count();
        state.SetIterationTime(std::chrono::duration<double>(t3 - t2).count());
    }
    state.counters["resize_ms"] = 1000.0 * resizeTotal / double(state.iterations());
    state.counters["memcpy_ms"] = 1000.0 * copyTotal / double(state.iterations());
    state.counters["ratio"] = resizeTotal / copyTotal;
}

}  // namespace

BENCHMARK(Resize)
    ->ArgNames({"method", "w", "h"})
    ->Args({0, 1920, 1080})
    ->Args({0, 640, 360})
    ->Args({1, 1920, 1080})
    ->Args({1, 640, 360})
    ->Args({2, 1920, 1080})
    ->Args({2, 640, 360})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
