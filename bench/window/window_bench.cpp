// Card-window timings: repainting the Image page with a 12-megapixel picture,
// and opening a card with such a picture against decoding the picture alone.
//
//   QT_QPA_PLATFORM=offscreen window_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "card/card_file.h"
#include "card_on_qt.h"
#include "controls/picture_static.h"
#include "picture/any_pic_decoder.h"
#include "picture/win_bmp.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/scripted_ui.h"
#include "platform/qt/ui_services.h"
#include "programs/qt_program.h"
#include "tests/support/picture_encoders.h"
#include "viewer/viewer_dialog.h"

namespace ovlet::window {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photo-like 12-megapixel JPEG: smooth gradients with some texture.
std::vector<std::uint8_t> MakeJpeg() {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::uint32_t noise = 12345;
    std::uint8_t* out = pixels.data();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = static_cast<int>((noise >> 16) & 15);
            *out++ = static_cast<std::uint8_t>((x * 255 / kWidth + n) & 255);
            *out++ = static_cast<std::uint8_t>((y * 255 / kHeight + n) & 255);
            *out++ = static_cast<std::uint8_t>(((x + y) * 127 / kWidth + n) & 255);
        }
    }
    return test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kWidth, kHeight, pixels, 85, false,
                                    test_support::JpegChroma::Halved);
}

struct Fixture {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "ovlet-window-bench";
    std::string jpegPath;
    std::string cardPath;
    Fixture() {
        std::filesystem::create_directories(dir);
        const auto jpeg = MakeJpeg();
        jpegPath = (dir / "photo.jpg").string();
        std::ofstream(jpegPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
        card::CardRecord card;
        card.Company = "Bench";
        card.SetPicture(jpeg);
        card::RecordOnlySide side(card);
        cardPath = (dir / "photo.ovt").string();
        static_cast<void>(card::WriteCardFile(cardPath, card, side));
    }
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

void BM_RepaintImagePage12MP(benchmark::State& state) {
    CardOnQt<viewer::CViewerDialog> window;
    window.Record().CurrentPath = Files().cardPath;
    window.Create();
    window.show();
    QApplication::processEvents();
    window.repaint();  // the first paint makes the scaled copy
    for (auto _ : state) {
        window.repaint();
    }
    const picture::CWinBmp& shown = window.PicturePanel()->ShownBitmap();
    state.counters["kept_px"] = static_cast<double>(shown.GetWidth()) * shown.GetHeight();
}
BENCHMARK(BM_RepaintImagePage12MP)->Unit(benchmark::kMillisecond);

void BM_DecodePicture12MP(benchmark::State& state) {
    for (auto _ : state) {
        picture::CWinBmp bitmap;
        controls::SharedDecoder().DecodeFile(Files().jpegPath.c_str(), &bitmap, 32);
        benchmark::DoNotOptimize(bitmap.GetLineTable());
    }
}
BENCHMARK(BM_DecodePicture12MP)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenCard12MP(benchmark::State& state) {
    CardOnQt<viewer::CViewerDialog> window;
    window.Create();
    for (auto _ : state) {
        window.Record().ClearCard();
        window.ReadCardFile(Files().cardPath);
    }
}
BENCHMARK(BM_OpenCard12MP)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace ovlet::window

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ovlet::programs::InstallQtProgramPictures();
    ovlet::platform::QtFace face;
    ovlet::platform::InstallFace(&face);
    ovlet::platform::ScriptedUi ui;
    ovlet::platform::SetUi(&ui);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(ovlet::window::Files().dir);
    return 0;
}
