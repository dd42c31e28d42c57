// Encoding a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) in the formats that take real work, single-threaded. Each iteration
// also copies the picture with memcpy; the counters give milliseconds, the file size and
// the ratio to that copy, so figures compare across machines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>

#include "image/codecs/encoded_image.h"

namespace {

using namespace tessaro;

const ImageRecord& screenshot() {
    static const ImageRecord image = [] {
        ImageRecord im = NewImage(3840, 2160, PixelFormat::Rgb24);
        for (int y = 0; y < im.height; ++y) {
            for (int x = 0; x < im.width; ++x) {
                std::uint8_t* p = im.row(y) + 3 * x;
                if (x > 2400 && y > 600 && y < 1800) {
                    for (int c = 0; c < 3; ++c) {
                        p[c] = std::uint8_t(128 + 90 * std::sin(x * 0.013 + c) * std::cos(y * 0.021 - c) +
                                            20 * std::sin(x * 0.31 + y * 0.17));
                    }
                } else if ((y % 24) > 6 && (y % 24) < 18 && ((x / 2 + y / 3) % 5 == 0) && x < 2300) {
                    p[0] = p[1] = p[2] = 30;
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
