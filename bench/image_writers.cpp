// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding a 3840 x 2160 screenshot-like picture (flat interface areas, text-like strokes,
// a photo-like region) in the formats that take real work, single-threaded. Each iteration
// also saves the same pixels with libvips (one thread, settings as close to ours as it has)
// and copies them with memcpy; the counters give milliseconds and bytes of both, and the
// ratio of our time to libvips' and to the copy.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "image/codecs/encoded_image.h"
#include "screenshot_picture.h"
#include "vips_peer.h"

namespace {

using namespace tessaro;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Runs one libvips saver (a vips_*save_buffer call given the picture, the buffer and its
// size) and gives the size of what it wrote.
template <typename Saver>
std::size_t vipsSave(const bench::VipsPicture& picture, Saver save) {
    void* buffer = nullptr;
    std::size_t size = 0;
    if (save(picture.get(), &buffer, &size) != 0) bench::VipsPicture::fail("saving");
    return bench::takeBuffer(buffer, size);
}

template <typename Encode, typename Saver>
void Run(benchmark::State& state, Encode encode, Saver save) {
    const ImageRecord& image = bench::screenshotPicture();
    const bench::VipsPicture peer(image);
    std::vector<std::uint8_t> copy(image.pixels.size());
    double copyTotal = 0, encodeTotal = 0, vipsTotal = 0;
    std::size_t bytes = 0, vipsBytes = 0;
    std::string file;
    for (auto _ : state) {
        file.clear();
        StringSink sink(file);
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), image.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        const auto t1 = Clock::now();
        encode(image, sink);
        const auto t2 = Clock::now();
        vipsBytes = vipsSave(peer, save);
        const auto t3 = Clock::now();
        bytes = file.size();
        copyTotal += seconds(t0, t1);
        encodeTotal += seconds(t1, t2);
        vipsTotal += seconds(t2, t3);
        state.SetIterationTime(seconds(t1, t2));
    }
    const double n = double(state.iterations());
    state.counters["encode_ms"] = 1000.0 * encodeTotal / n;
    state.counters["bytes"] = double(bytes);
    state.counters["vips_ms"] = 1000.0 * vipsTotal / n;
    state.counters["vips_bytes"] = double(vipsBytes);
    state.counters["to_vips"] = encodeTotal / vipsTotal;
    state.counters["to_memcpy"] = encodeTotal / copyTotal;
}

void Png(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodePng(i, out); },
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_pngsave_buffer(in, buf, len, "compression", 6, nullptr);
        });
}

void JpegBaseline(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodeJpeg(i, 90, false, out); },
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_jpegsave_buffer(in, buf, len, "Q", 90, "optimize_coding", TRUE, nullptr);
        });
}

void JpegProgressive(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodeJpeg(i, 90, true, out); },
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_jpegsave_buffer(in, buf, len, "Q", 90, "interlace", TRUE, nullptr);
        });
}

void TiffLzw(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodeTiff(i, out); },
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_tiffsave_buffer(in, buf, len, "compression",
                                        VIPS_FOREIGN_TIFF_COMPRESSION_LZW, "predictor",
                                        VIPS_FOREIGN_TIFF_PREDICTOR_HORIZONTAL, nullptr);
        });
}

void Gif(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodeGif(i, out); },
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_gifsave_buffer(in, buf, len, nullptr);
        });
}

void Jp2(benchmark::State& s) {
    Run(
        s, [](const ImageRecord& i, ByteSink& out) { EncodeJp2(i, out); },
        // libvips takes Q as the PSNR that OpenJPEG aims at, as our quality 80 does with 41 dB.
        [](VipsImage* in, void** buf, std::size_t* len) {
            return vips_jp2ksave_buffer(in, buf, len, "Q", 41, nullptr);
        });
}

}  // namespace

BENCHMARK(Png)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(JpegBaseline)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(JpegProgressive)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TiffLzw)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Gif)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Jp2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
