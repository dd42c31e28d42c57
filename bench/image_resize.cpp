// SPDX-License-Identifier: GPL-3.0-or-later
// Resizing a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) to 1920 x 1080 and to 640 x 360 with each method, single-threaded.
// Each iteration also resizes the picture with libvips' reduce (same kernel, one thread) and
// copies it with memcpy; the counters give our time and its ratio to both.
#include <benchmark/benchmark.h>

#include "screenshot_picture.h"
#include "vips_peer.h"

#include <chrono>
#include <cstring>

#include "image/resample.h"

namespace {

using namespace tessaro;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

VipsKernel vipsKernel(ResizeMethod method) {
    switch (method) {
        case ResizeMethod::Nearest: return VIPS_KERNEL_NEAREST;
        case ResizeMethod::Bilinear: return VIPS_KERNEL_LINEAR;
        case ResizeMethod::Bicubic: break;
    }
    return VIPS_KERNEL_CUBIC;  // Catmull-Rom, as ours
}

void vipsResize(const bench::VipsPicture& picture, int width, int height, ResizeMethod method) {
    VipsImage* reduced = nullptr;
    const double hshrink = double(picture.get()->Xsize) / width;
    const double vshrink = double(picture.get()->Ysize) / height;
    if (vips_reduce(picture.get(), &reduced, hshrink, vshrink, "kernel", vipsKernel(method), nullptr) != 0) {
        bench::VipsPicture::fail("reducing");
    }
    std::size_t size = 0;
    void* pixels = vips_image_write_to_memory(reduced, &size);
    g_object_unref(reduced);
    if (!pixels) bench::VipsPicture::fail("computing the reduction");
    benchmark::DoNotOptimize(bench::takeBuffer(pixels, size));
}

void Resize(benchmark::State& state) {
    const auto method = static_cast<ResizeMethod>(state.range(0));
    const int width = int(state.range(1)), height = int(state.range(2));
    const ImageRecord& source = bench::screenshotPicture();
    const bench::VipsPicture peer(source);
    std::vector<std::uint8_t> copy(source.pixels.size());
    double copyTotal = 0, resizeTotal = 0, vipsTotal = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), source.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        const auto t1 = Clock::now();
        ImageRecord image = source;
        const auto t2 = Clock::now();
        ResizeImage(image, width, height, method);
        benchmark::DoNotOptimize(image.pixels.data());
        const auto t3 = Clock::now();
        vipsResize(peer, width, height, method);
        const auto t4 = Clock::now();
        copyTotal += seconds(t0, t1);
        resizeTotal += seconds(t2, t3);
        vipsTotal += seconds(t3, t4);
        state.SetIterationTime(seconds(t2, t3));
    }
    const double n = double(state.iterations());
    state.counters["resize_ms"] = 1000.0 * resizeTotal / n;
    state.counters["vips_ms"] = 1000.0 * vipsTotal / n;
    state.counters["to_vips"] = resizeTotal / vipsTotal;
    state.counters["to_memcpy"] = resizeTotal / copyTotal;
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
