// Decode speed and peak memory of the picture library on a 12-megapixel
// photo-like picture, side by side with bare libjpeg-turbo, bare libpng and
// stb_image decoding the same bytes to four bytes per pixel.
//
// Run by hand: out/build/default/bench/picture/picture_decode_bench, and the
// Windows build under Wine: cmake/wine-run out/build/windows/bench/picture/
// picture_decode_bench.exe. The peak-memory table is printed first (Linux
// only), then the timings:
//   *_Library            a decode as a program repeats it: file and bitmap in
//                        spare blocks whose pages are present already
//   *_Library_FirstDecode  the spares given back before each decode, as in
//                        the first decode of a process: every page of the
//                        file's bytes and of the bitmap is faulted in anew
//   *_Bare*              the bare library into a fresh buffer of its own
//   *_BareIntoPrefilled  the bare library into one buffer written before the
//                        measure: decoding alone, no page faults
// The difference between FirstDecode and the repeated decode is the cost of
// making memory present, which is where Windows (4 KiB pages, one fault
// each) and Linux (huge pages) differ most.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <jpeglib.h>
#include <stb/stb_image.h>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/pixel_memory.h"
#include "picture/win_bmp.h"
#include "tests/support/picture_encoders.h"
#include "tests/support/test_files.h"

namespace ovlet::picture {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;  // 12 megapixels

// Smooth gradients, soft shapes, sensor-like noise and some hard edges:
// compresses like a photograph rather than like a flat test card.
Bytes MakePhotoLikePixels() {
    Bytes rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::mt19937 random(12345);
    std::normal_distribution<float> noise(0.0f, 4.0f);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            float fx = static_cast<float>(x) / kWidth, fy = static_cast<float>(y) / kHeight;
            float sky = 180 - 120 * fy;
            float hills = 60 * std::sin(fx * 9.0f + std::sin(fy * 5.0f) * 2.0f);
            float ripple = 25 * std::sin(fx * 80.0f) * std::cos(fy * 60.0f);
            bool edge = ((x / 250) + (y / 300)) % 5 == 0;
            float r = sky + hills + ripple + noise(random) + (edge ? 40 : 0);
            float g = sky * 0.9f + hills * 0.5f - ripple + noise(random);
            float b = 230 - 100 * fx + ripple * 0.5f + noise(random) - (edge ? 60 : 0);
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 3];
            p[0] = static_cast<std::uint8_t>(std::clamp(r, 0.0f, 255.0f));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0.0f, 255.0f));
            p[2] = static_cast<std::uint8_t>(std::clamp(b, 0.0f, 255.0f));
        }
    }
    return rgb;
}

// The photo as cameras write it (4:2:0) and as a PNG of 8-bit RGB rows.
Bytes EncodeJpeg(const Bytes& rgb) {
    return test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kWidth, kHeight, rgb, 90, false,
                                    test_support::JpegChroma::Halved);
}

Bytes EncodePng(const Bytes& rgb) {
    test_support::PngPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    const std::size_t stride = std::size_t{kWidth} * 3;
    for (std::size_t y = 0; y < kHeight; ++y) {
        picture.rows.emplace_back(rgb.begin() + static_cast<std::ptrdiff_t>(y * stride),
                                  rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * stride));
    }
    return test_support::EncodePng(picture);
}

struct Fixture {
    test_support::TempFolder folder;
    std::filesystem::path jpegPath = folder / "photo.jpg";
    std::filesystem::path pngPath = folder / "photo.png";
    Bytes jpeg, png;

    Fixture() {
        const Bytes rgb = MakePhotoLikePixels();
        jpeg = EncodeJpeg(rgb);
        png = EncodePng(rgb);
        test_support::WriteFileBytes(jpegPath, jpeg);
        test_support::WriteFileBytes(pngPath, png);
    }
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

// ---- the picture library ----

void DecodeWithLibrary(const std::filesystem::path& path) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    decoder.DecodeFile(path.string().c_str(), &bitmap, 32);
    benchmark::DoNotOptimize(bitmap.GetLineTable()[0][0]);
}

// ---- bare libjpeg-turbo, the same settings, into a plain buffer ----

struct BareJpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void BareJpegExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<BareJpegErrors*>(cinfo->err)->jump, 1);
}

// Into `target` when given (it must hold the whole picture), else into a
// fresh buffer.
bool DecodeBareJpeg(const Bytes& data, jpeg_decompress_struct* cinfo, BareJpegErrors* errors,
                    std::uint8_t* target = nullptr) {
    if (setjmp(errors->jump)) {
        jpeg_abort_decompress(cinfo);
        return false;
    }
    // The benchmark's pictures are a few megabytes: they fit the unsigned
    // long libjpeg counts in, which is 32 bits wide on Windows.
    jpeg_mem_src(cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(cinfo, TRUE);
    cinfo->do_fancy_upsampling = FALSE;
    cinfo->dct_method = JDCT_FLOAT;
    cinfo->out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(cinfo);
    std::size_t stride = std::size_t{cinfo->output_width} * 4;
    std::unique_ptr<std::uint8_t[]> fresh(target ? nullptr : new std::uint8_t[stride * cinfo->output_height]);
    std::uint8_t* pixels = target ? target : fresh.get();
    std::vector<JSAMPROW> rows(cinfo->output_height);
    for (JDIMENSION y = 0; y < cinfo->output_height; ++y) {
        rows[y] = pixels + stride * y;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        jpeg_read_scanlines(cinfo, rows.data() + cinfo->output_scanline, cinfo->output_height - cinfo->output_scanline);
    }
    jpeg_finish_decompress(cinfo);
    benchmark::DoNotOptimize(pixels[0]);
    return true;
}

// ---- bare libpng: blue, green, red and filler into a plain buffer ----

struct MemoryReader {
    const Bytes* data;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->data->size() - reader->position) {
        png_error(png, "end of data");
    }
    std::memcpy(out, reader->data->data() + reader->position, count);
    reader->position += count;
}

// Into `target` when given (it must hold the whole picture), else into a
// fresh buffer.
bool DecodeBarePng(const Bytes& data, std::uint8_t* target = nullptr) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&data, 0};
    std::uint8_t* volatile pixels = nullptr;
    png_bytepp volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        if (!target) delete[] pixels;
        delete[] rows;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    std::size_t stride = std::size_t{width} * 4;
    pixels = target ? target : new std::uint8_t[stride * height];
    rows = new png_bytep[height];
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = pixels + stride * y;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    benchmark::DoNotOptimize(pixels[0]);
    if (!target) delete[] pixels;
    delete[] rows;
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void DecodeStb(const Bytes& data) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &channels, 4);
    if (!pixels) {
        std::abort();
    }
    benchmark::DoNotOptimize(pixels[0]);
    stbi_image_free(pixels);
}

void SetCounters(benchmark::State& state) {
    state.counters["MPix/s"] =
        benchmark::Counter(static_cast<double>(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// One buffer for the whole picture at four bytes a pixel, every page
// written once before the measure.
std::vector<std::uint8_t>& Prefilled() {
    static std::vector<std::uint8_t> buffer(std::size_t{kWidth} * kHeight * 4, 0x80);
    return buffer;
}

void BM_Jpeg_Library(benchmark::State& state) {
    DecodeWithLibrary(Files().jpegPath);  // makes the spares
    for (auto _ : state) {
        DecodeWithLibrary(Files().jpegPath);
    }
    SetCounters(state);
}

// Each decode with the spares given back first: fresh memory, as the first
// decode of a process has.
void DecodeFirst(benchmark::State& state, const std::filesystem::path& path) {
    for (auto _ : state) {
        state.PauseTiming();
        PixelBlock::ReleaseSpares();
        state.ResumeTiming();
        DecodeWithLibrary(path);
    }
    PixelBlock::ReleaseSpares();
    SetCounters(state);
}

void BM_Jpeg_Library_FirstDecode(benchmark::State& state) {
    DecodeFirst(state, Files().jpegPath);
}

void BM_Jpeg_BareLibjpegTurbo(benchmark::State& state) {
    jpeg_decompress_struct cinfo{};
    BareJpegErrors errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = BareJpegExit;
    jpeg_create_decompress(&cinfo);
    std::uint8_t* target = state.range(0) ? Prefilled().data() : nullptr;
    for (auto _ : state) {
        if (!DecodeBareJpeg(Files().jpeg, &cinfo, &errors, target)) {
            state.SkipWithError("libjpeg failed");
        }
    }
    jpeg_destroy_decompress(&cinfo);
    SetCounters(state);
}

void BM_Jpeg_StbImage(benchmark::State& state) {
    for (auto _ : state) {
        DecodeStb(Files().jpeg);
    }
    SetCounters(state);
}

void BM_Png_Library(benchmark::State& state) {
    DecodeWithLibrary(Files().pngPath);  // makes the spares
    for (auto _ : state) {
        DecodeWithLibrary(Files().pngPath);
    }
    SetCounters(state);
}

void BM_Png_Library_FirstDecode(benchmark::State& state) {
    DecodeFirst(state, Files().pngPath);
}

void BM_Png_BareLibpng(benchmark::State& state) {
    std::uint8_t* target = state.range(0) ? Prefilled().data() : nullptr;
    for (auto _ : state) {
        if (!DecodeBarePng(Files().png, target)) {
            state.SkipWithError("libpng failed");
        }
    }
    SetCounters(state);
}

void BM_Png_StbImage(benchmark::State& state) {
    for (auto _ : state) {
        DecodeStb(Files().png);
    }
    SetCounters(state);
}

// Opening a small file and reading it: the system's cost of an open, which
// every decode of a file pays once.
void BM_File_OpenSmall(benchmark::State& state) {
    const std::string path = (Files().folder / "small.bin").string();
    test_support::WriteFileBytes(path, Bytes(100, 7));
    for (auto _ : state) {
        CFileSource source;
        if (source.OpenFile(path.c_str()) != 0) {
            state.SkipWithError("cannot open");
        }
    }
}

BENCHMARK(BM_Jpeg_Library)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Jpeg_Library_FirstDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Jpeg_BareLibjpegTurbo)->ArgName("prefilled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Jpeg_StbImage)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Png_Library)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Png_Library_FirstDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Png_BareLibpng)->ArgName("prefilled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Png_StbImage)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_File_OpenSmall)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// ---- peak memory of one decode ----

long ReadStatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) {
            return std::atol(line.c_str() + length + 1);
        }
    }
    return -1;
}

// Resets the peak-RSS mark to the current RSS (Linux 4.0 and later).
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

void PrintPeakMemory() {
    Fixture& f = Files();
    CAnyPicDecoder decoder;
    std::printf("Peak memory of one CAnyPicDecoder::DecodeFile to 32 bits (%d x %d):\n", kWidth, kHeight);
    std::printf("%-6s %12s %12s %12s %14s\n", "format", "file MB", "bitmap MB", "peak rise MB", "beyond file+bmp");
    for (const auto& [name, path, size] :
         {std::tuple{"JPEG", f.jpegPath, f.jpeg.size()}, std::tuple{"PNG", f.pngPath, f.png.size()}}) {
        // Warm-up: libraries set up their one-time state outside the measure.
        {
            CWinBmp warm;
            decoder.DecodeFile(path.string().c_str(), &warm, 32);
        }
        CWinBmp bitmap;
        bitmap.FreeStorage();
        // Measured as a first decode: the warm-up's blocks are not kept.
        PixelBlock::ReleaseSpares();
        if (!ResetPeak()) {
            std::printf("cannot reset the peak mark; skipped\n");
            return;
        }
        long before = ReadStatusKb("VmRSS:");
        if (ReadStatusKb("VmHWM:") > before + 1024) {
            std::printf("the peak mark did not reset; skipped\n");
            return;
        }
        decoder.DecodeFile(path.string().c_str(), &bitmap, 32);
        long peak = ReadStatusKb("VmHWM:");
        double riseMb = static_cast<double>(peak - before) / 1024.0;
        double fileMb = static_cast<double>(size) / (1024.0 * 1024.0);
        double bitmapMb = static_cast<double>(bitmap.GetStorageSize()) / (1024.0 * 1024.0);
        std::printf("%-6s %12.1f %12.1f %12.1f %14.1f\n", name, fileMb, bitmapMb, riseMb, riseMb - fileMb - bitmapMb);
    }
    std::printf("\n");
}

}  // namespace
}  // namespace ovlet::picture

int main(int argc, char** argv) {
    ovlet::picture::PrintPeakMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
