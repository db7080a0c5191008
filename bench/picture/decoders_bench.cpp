// Decoding speed of the BMP, TGA and PICT decoders on generated 12-megapixel
// pictures (4000 x 3000), side by side with stb_image where it reads the
// format and with a plain memcpy of the file's pixel bytes, the most any
// decoder of uncompressed data could hope for.
//
//   [OVLET_BENCH_COLD_MEMORY=1] picture_decoders_bench --benchmark_counters_tabular=true
//
// Every decode allocates a new 48 MB picture. By default the allocator is
// told to keep freed memory, so the figures show the decoders' own work.
// With OVLET_BENCH_COLD_MEMORY=1 each picture lands in fresh pages from the
// kernel, whose page faults then cost more than most of the decoding;
// MemcpyFresh is the physical limit in that setting: allocate, copy, free.
// The machine may be shared: compare CPU times, not wall times.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <stb/stb_image.h>

#include "picture/bmp_decoder.h"
#include "picture/data_source.h"
#include "picture/pict_decoder.h"
#include "picture/tga_decoder.h"
#include "picture/win_bmp.h"
#include "tests/support/byte_writer.h"

namespace ovlet::picture {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A picture with both smooth areas (long runs) and busy ones (short runs
// and single pixels), the same for every format: one palette index per
// pixel, and a colour for each index.
struct Picture {
    std::vector<std::uint8_t> index;  // kWidth * kHeight, top line first
    std::uint8_t Red(int i) const { return static_cast<std::uint8_t>(i * 3); }
    std::uint8_t Green(int i) const { return static_cast<std::uint8_t>(255 - i); }
    std::uint8_t Blue(int i) const { return static_cast<std::uint8_t>(i * 7 + 11); }
};

const Picture& TestPicture() {
    static const Picture picture = [] {
        Picture p;
        p.index.resize(std::size_t{kWidth} * kHeight);
        std::uint32_t seed = 12345;
        auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
        for (int y = 0; y < kHeight; ++y) {
            int x = 0;
            while (x < kWidth) {
                std::uint32_t r = next();
                // Runs of 1 to 64 pixels, a third of them single pixels.
                int run = (r >> 8) % 3 == 0 ? 1 : 1 + static_cast<int>((r >> 12) % 64);
                auto value = static_cast<std::uint8_t>((r >> 20) & 0xFF);
                for (int i = 0; i < run && x < kWidth; ++i, ++x) {
                    p.index[std::size_t(y) * kWidth + static_cast<std::size_t>(x)] = value;
                }
            }
        }
        return p;
    }();
    return picture;
}

struct Encoded {
    Bytes file;
    std::size_t pixelOffset = 0;  // where the pixel bytes begin
    std::size_t pixelBytes = 0;
};

Encoded MakeBmp(int bits, bool rle) {
    const Picture& p = TestPicture();
    Bytes pixels;
    if (rle) {
        for (int y = kHeight - 1; y >= 0; --y) {
            const std::uint8_t* row = &p.index[std::size_t(y) * kWidth];
            for (int x = 0; x < kWidth;) {
                int n = 1;
                while (x + n < kWidth && n < 255 && row[x + n] == row[x]) ++n;
                pixels.push_back(static_cast<std::uint8_t>(n));
                pixels.push_back(row[x]);
                x += n;
            }
            pixels.push_back(0), pixels.push_back(0);
        }
        pixels.push_back(0), pixels.push_back(1);
    } else {
        int rowBytes = ((kWidth * bits + 31) / 32) * 4;
        pixels.resize(std::size_t(rowBytes) * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* out = &pixels[std::size_t(kHeight - 1 - y) * static_cast<std::size_t>(rowBytes)];
            for (std::size_t x = 0; x < kWidth; ++x) {
                int i = p.index[std::size_t(y) * kWidth + x];
                *out++ = p.Blue(i), *out++ = p.Green(i), *out++ = p.Red(i);
                if (bits == 32) *out++ = 0;
            }
        }
    }
    int paletteEntries = bits == 8 ? 256 : 0;
    Encoded e;
    Bytes& b = e.file;
    b.push_back('B'), b.push_back('M');
    test_support::PutU32Le(
        b, static_cast<std::uint32_t>(static_cast<std::size_t>(54 + 4 * paletteEntries) + pixels.size()));
    test_support::PutU32Le(b, 0), test_support::PutU32Le(b, static_cast<std::uint32_t>(54 + 4 * paletteEntries));
    test_support::PutU32Le(b, 40), test_support::PutU32Le(b, kWidth), test_support::PutU32Le(b, kHeight),
        test_support::PutU16Le(b, 1), test_support::PutU16Le(b, static_cast<unsigned>(bits));
    test_support::PutU32Le(b, rle ? 1 : 0), test_support::PutU32Le(b, static_cast<std::uint32_t>(pixels.size()));
    test_support::PutU32Le(b, 2835), test_support::PutU32Le(b, 2835), test_support::PutU32Le(b, 0),
        test_support::PutU32Le(b, 0);
    for (int i = 0; i < paletteEntries; ++i) {
        b.push_back(p.Blue(i)), b.push_back(p.Green(i)), b.push_back(p.Red(i)), b.push_back(0);
    }
    e.pixelOffset = b.size();
    e.pixelBytes = pixels.size();
    b.insert(b.end(), pixels.begin(), pixels.end());
    return e;
}

Encoded MakeTga(bool rle) {
    const Picture& p = TestPicture();
    Encoded e;
    Bytes& b = e.file;
    b.push_back(0), b.push_back(0), b.push_back(rle ? 10 : 2);
    test_support::PutU16Le(b, 0), test_support::PutU16Le(b, 0), b.push_back(0);
    test_support::PutU16Le(b, 0), test_support::PutU16Le(b, 0), test_support::PutU16Le(b, kWidth),
        test_support::PutU16Le(b, kHeight);
    b.push_back(24), b.push_back(0x20);  // top row first
    e.pixelOffset = b.size();
    auto put = [&](int i) { b.push_back(p.Blue(i)), b.push_back(p.Green(i)), b.push_back(p.Red(i)); };
    for (int y = 0; y < kHeight; ++y) {
        const std::uint8_t* row = &p.index[std::size_t(y) * kWidth];
        if (!rle) {
            for (int x = 0; x < kWidth; ++x) put(row[x]);
            continue;
        }
        for (int x = 0; x < kWidth;) {
            int n = 1;
            while (x + n < kWidth && n < 128 && row[x + n] == row[x]) ++n;
            if (n > 1) {
                b.push_back(static_cast<std::uint8_t>(0x80 | (n - 1)));
                put(row[x]);
                x += n;
                continue;
            }
            // A raw packet up to the next pair of equal pixels.
            int start = x;
            while (x < kWidth && x - start < 128 && !(x + 1 < kWidth && row[x + 1] == row[x])) ++x;
            if (x == start) ++x;
            b.push_back(static_cast<std::uint8_t>(x - start - 1));
            for (int i = start; i < x; ++i) put(row[i]);
        }
    }
    e.pixelBytes = b.size() - e.pixelOffset;
    return e;
}

// PackBits of one plane: runs of 3 or more repeat, the rest literal.
void PackBits(const std::uint8_t* in, int n, Bytes& out) {
    for (int x = 0; x < n;) {
        int run = 1;
        while (x + run < n && run < 128 && in[x + run] == in[x]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(in[x]);
            x += run;
            continue;
        }
        int start = x;
        while (x < n && x - start < 128 && !(x + 2 < n && in[x] == in[x + 1] && in[x] == in[x + 2])) ++x;
        out.push_back(static_cast<std::uint8_t>(x - start - 1));
        out.insert(out.end(), in + start, in + x);
    }
}

Encoded MakePict32() {
    const Picture& p = TestPicture();
    Encoded e;
    Bytes& b = e.file;
    b.resize(512, 0);
    test_support::PutU16Be(b, 0), test_support::PutU16Be(b, 0), test_support::PutU16Be(b, 0),
        test_support::PutU16Be(b, kHeight), test_support::PutU16Be(b, kWidth);
    test_support::PutU16Be(b, 0x0011), test_support::PutU16Be(b, 0x02FF), test_support::PutU16Be(b, 0x0C00);
    b.insert(b.end(), 24, 0);
    test_support::PutU16Be(b, 0x009A), test_support::PutU32Be(b, 0xFF),
        test_support::PutU16Be(b, 0x8000 | (4 * kWidth & 0x3FFF));
    auto rect = [&] {
        test_support::PutU16Be(b, 0), test_support::PutU16Be(b, 0), test_support::PutU16Be(b, kHeight),
            test_support::PutU16Be(b, kWidth);
    };
    rect();
    test_support::PutU16Be(b, 0), test_support::PutU16Be(b, 4), test_support::PutU32Be(b, 0),
        test_support::PutU32Be(b, 0x00480000), test_support::PutU32Be(b, 0x00480000);
    test_support::PutU16Be(b, 16), test_support::PutU16Be(b, 32), test_support::PutU16Be(b, 3),
        test_support::PutU16Be(b, 8);
    test_support::PutU32Be(b, 0), test_support::PutU32Be(b, 0), test_support::PutU32Be(b, 0);
    rect(), rect(), test_support::PutU16Be(b, 0);
    e.pixelOffset = b.size();
    std::vector<std::uint8_t> planes(3 * std::size_t{kWidth});
    Bytes packed;
    for (int y = 0; y < kHeight; ++y) {
        for (std::size_t x = 0; x < kWidth; ++x) {
            int i = p.index[std::size_t(y) * kWidth + x];
            planes[x] = p.Red(i), planes[kWidth + x] = p.Green(i), planes[2 * kWidth + x] = p.Blue(i);
        }
        packed.clear();
        PackBits(planes.data(), 3 * kWidth, packed);
        test_support::PutU16Be(b, static_cast<unsigned>(packed.size()));
        b.insert(b.end(), packed.begin(), packed.end());
    }
    e.pixelBytes = b.size() - e.pixelOffset;
    test_support::PutU16Be(b, 0x00FF);
    return e;
}

const Encoded& Sample(int kind) {
    static const Encoded samples[] = {MakeBmp(24, false), MakeBmp(32, false), MakeBmp(8, true),
                                      MakeTga(false),     MakeTga(true),      MakePict32()};
    return samples[kind];
}

enum Kind { kBmp24, kBmp32, kBmpRle8, kTga24, kTgaRle, kPict32 };

void Report(benchmark::State& state, const Encoded& e) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
    state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                                                  benchmark::Counter::kIsRate);
    state.counters["file_MB"] = static_cast<double>(e.file.size()) / 1e6;
}

void Ovlet(benchmark::State& state) {
    const Encoded& e = Sample(static_cast<int>(state.range(0)));
    CBmpDecoder bmp;
    CTGADecoder tga;
    CPictDecoder pict;
    CPicDecoder* decoder = state.range(0) <= kBmpRle8  ? static_cast<CPicDecoder*>(&bmp)
                           : state.range(0) <= kTgaRle ? static_cast<CPicDecoder*>(&tga)
                                                       : &pict;
    CWinBmp bitmap;
    for (auto _ : state) {
        CDataSource source;
        source.OpenData("bench", e.file.data(), static_cast<std::int32_t>(e.file.size()));
        decoder->DecodeSource(&source, &bitmap, 32);
        benchmark::DoNotOptimize(bitmap.GetLineTable()[0][0]);
    }
    Report(state, e);
}

void StbImage(benchmark::State& state) {
    const Encoded& e = Sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* pixels = stbi_load_from_memory(e.file.data(), static_cast<int>(e.file.size()), &w, &h, &n, 4);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels[0]);
        stbi_image_free(pixels);
    }
    Report(state, e);
}

void Memcpy(benchmark::State& state) {
    const Encoded& e = Sample(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> dest(e.pixelBytes, 1);
    for (auto _ : state) {
        std::memcpy(dest.data(), e.file.data() + e.pixelOffset, e.pixelBytes);
        benchmark::ClobberMemory();
    }
    Report(state, e);
}

void MemcpyFresh(benchmark::State& state) {
    const Encoded& e = Sample(static_cast<int>(state.range(0)));
    std::size_t outBytes = std::size_t{kWidth} * kHeight * 4;
    for (auto _ : state) {
        auto* dest = static_cast<std::uint8_t*>(std::malloc(outBytes));
        std::memcpy(dest, e.file.data() + e.pixelOffset, e.pixelBytes);
        benchmark::DoNotOptimize(dest[0]);
        std::free(dest);
    }
    Report(state, e);
}

void Kinds(benchmark::internal::Benchmark* b, bool withPict) {
    b->ArgName("kind")->Unit(benchmark::kMillisecond);
    for (int kind = kBmp24; kind <= (withPict ? kPict32 : kTgaRle); ++kind) b->Arg(kind);
}

BENCHMARK(Ovlet)->Apply([](auto* b) { Kinds(b, true); });
BENCHMARK(StbImage)->Apply([](auto* b) { Kinds(b, false); });
BENCHMARK(Memcpy)->Apply([](auto* b) { Kinds(b, true); });
BENCHMARK(MemcpyFresh)->Apply([](auto* b) { Kinds(b, true); });

// Large blocks from the heap instead of their own mappings, and no trimming,
// so a freed picture's pages serve the next one; OVLET_BENCH_COLD_MEMORY=1
// leaves the allocator as it is.
const bool kWarmMemory = [] {
    const char* cold = std::getenv("OVLET_BENCH_COLD_MEMORY");
    if (cold && std::string_view(cold) == "1") {
        return false;
    }
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();

}  // namespace
}  // namespace ovlet::picture

BENCHMARK_MAIN();
