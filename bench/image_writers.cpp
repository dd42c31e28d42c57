// Encoding a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) in the formats that take real work, single-threaded. Each iteration
// also copies the picture with memcpy; the counters give milliseconds, the file size and
// the ratio to that copy, so figures compare across machines.
#include <benchmark/benchmark.h>

#include "screenshot_picture.h"

#include <chrono>
#include <cstring>

#include "image/codecs/encoded_image.h"

namespace {

using namespace tessaro;

const ImageRecord& screenshot() { return bench::screenshotPicture(); }

template <typename Encode>
void Run(benchmark::State& state, Encode encode) {
    const ImageRecord& image = screenshot();
    std::vector<std::uint8_t> copy(image.pixels.size());
    double copyTotal = 0, encodeTotal = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(copy.data(), image.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        const auto t1 = std::chrono::steady_clock::now();
        const Bytes file = encode(image);
        const auto t2 = std::chrono::steady_clock::now();
        bytes = file.size();
        copyTotal += std::chrono::duration<double>(t1 - t0).count();
        encodeTotal += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["encode_ms"] = 1000.0 * encodeTotal / double(state.iterations());
    state.counters["bytes"] = double(bytes);
    state.counters["ratio_to_memcpy"] = encodeTotal / copyTotal;
}

void Png(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodePng(i); }); }
void JpegBaseline(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodeJpeg(i, 90, false); }); }
void JpegProgressive(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodeJpeg(i, 90, true); }); }
void TiffLzw(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodeTiff(i); }); }
void Gif(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodeGif(i); }); }
void Jp2(benchmark::State& s) { Run(s, [](const ImageRecord& i) { return EncodeJp2(i); }); }

}  // namespace

BENCHMARK(Png)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(JpegBaseline)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(JpegProgressive)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TiffLzw)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Gif)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Jp2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
