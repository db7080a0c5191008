// Writes the cards the start-up timings open besides the bundled sample: the
// sample's fields with a photo-like JPEG of 12 and of 48 megapixels in place
// of its picture, so the cards differ only in the picture.
//
//   startup_cards SAMPLE.ovt OUTDIR
//
// writes OUTDIR/photo-12mp.ovt and OUTDIR/photo-48mp.ovt.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "tests/support/picture_encoders.h"

namespace ovlet::window {
namespace {

// A photo as a camera makes one: smooth gradients with some grain, 4:2:0
// chroma, quality 85, baseline.
std::vector<std::uint8_t> MakePhoto(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    std::uint32_t noise = 12345;
    std::uint8_t* out = pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = static_cast<int>((noise >> 16) & 15);
            *out++ = static_cast<std::uint8_t>((x * 255 / width + n) & 255);
            *out++ = static_cast<std::uint8_t>((y * 255 / height + n) & 255);
            *out++ = static_cast<std::uint8_t>(((x + y) * 127 / width + n) & 255);
        }
    }
    return test_support::EncodeJpeg(test_support::JpegKind::YCbCr, width, height, pixels, 85, false,
                                    test_support::JpegChroma::Halved);
}

int WriteStartupCards(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: startup_cards SAMPLE.ovt OUTDIR\n");
        return 2;
    }
    card::CardRecord card;
    card::RecordOnlySide side(card);
    if (!card::ReadCardFile(argv[1], card, side, {.readPicture = false})) {
        std::fprintf(stderr, "startup_cards: cannot read %s\n", argv[1]);
        return 1;
    }
    const struct {
        const char* name;
        int width, height;
    } kPhotos[] = {{"photo-12mp.ovt", 4000, 3000}, {"photo-48mp.ovt", 8000, 6000}};
    for (const auto& photo : kPhotos) {
        card.SetPicture(MakePhoto(photo.width, photo.height));
        const std::string path = std::string(argv[2]) + "/" + photo.name;
        if (!card::WriteCardFile(path, card, side)) {
            std::fprintf(stderr, "startup_cards: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace
}  // namespace ovlet::window

int main(int argc, char** argv) {
    return ovlet::window::WriteStartupCards(argc, argv);
}
