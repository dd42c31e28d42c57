// Resizing a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) to 1920 x 1080 and to 640 x 360 with each method, single-threaded.
// Each iteration also copies the source picture with memcpy; the counters give the resize
// time and its ratio to that copy, so figures compare across machines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>

#include "image/resample.h"

namespace {

using namespace tessaro;

const ImageRecord& screenshot() {
    static const ImageRecord image = [] {
        ImageRecord im = NewImage(3840, 2160, PixelFormat::Rgb24);
        for (int y = 0; y < im.height; ++y) {
            std::uint8_t* row = im.row(y);
            for (int x = 0; x < im.width; ++x) {
                std::uint8_t* p = row + 3 * x;
                if (x > 2400 && y > 600 && y < 1800) {  // a photo
                    for (int c = 0; c < 3; ++c) {
                        p[c] = std::uint8_t(128 + 90 * std::sin(x * 0.013 + c) * std::cos(y * 0.021 - c) +
                                            20 * std::sin(x * 0.31 + y * 0.17));
                    }
                } else if ((y % 24) > 6 && (y % 24) < 18 && ((x / 2 + y / 3) % 5 == 0) && x < 2300) {
                    p[0] = p[1] = p[2] = 30;  // text strokes
                } else {
                    const bool panel = (x / 400 + y / 300) % 2;
                    p[0] = panel ? 240 : 225;
                    p[1] = panel ? 240 : 230;
                    p[2] = panel ? 240 : 245;
                }
            }
        }
        return im;
    }();
    return image;
}

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
