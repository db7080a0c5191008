// Draws the sample card's picture and writes the sample card.
//
//   make_samples OUTDIR
//
// writes OUTDIR/sample.jpg (a small picture of the project's own making) and
// OUTDIR/sample.ovt (every field filled, with that picture). The output is
// committed; run this again only to change it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "tests/support/picture_encoders.h"
#include "tests/support/test_files.h"

namespace ovlet::samples {
namespace {

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A business-card picture: a deep blue to teal band, a round emblem with a
// stylised "O", and a light panel below.
std::vector<std::uint8_t> DrawPicture(int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const Rgb navy{20, 40, 90}, teal{0, 140, 150}, paper{245, 246, 240}, gold{240, 180, 40};
    const double cx = width * 0.22, cy = height * 0.42, radius = height * 0.28;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = y < height * 0.72 ? Mix(navy, teal, static_cast<double>(x) / width) : paper;
            const double d = std::hypot(x - cx, y - cy);
            if (d < radius) c = Mix(gold, Rgb{255, 220, 120}, (cy - y) / radius * 0.5 + 0.5);
            if (d > radius * 0.45 && d < radius * 0.72) c = navy;
            // three text-like bars to the right of the emblem
            for (int bar = 0; bar < 3; ++bar) {
                const double top = height * (0.25 + bar * 0.14);
                const double len = width * (0.55 - bar * 0.12);
                if (y >= top && y < top + height * 0.06 && x > width * 0.42 && x < width * 0.42 + len) c = paper;
            }
            if (y >= height * 0.8 && y < height * 0.84 && x > width * 0.08 && x < width * 0.92) c = teal;
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3];
            p[0] = static_cast<std::uint8_t>(c.r);
            p[1] = static_cast<std::uint8_t>(c.g);
            p[2] = static_cast<std::uint8_t>(c.b);
        }
    }
    return rgb;
}

int WriteSamples(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_samples OUTDIR\n");
        return 1;
    }
    const std::string dir = argv[1];
    const int width = 320, height = 200;
    using test_support::JpegKind, test_support::JpegChroma;
    const std::vector<std::uint8_t> jpeg = test_support::EncodeJpeg(
        JpegKind::YCbCr, width, height, DrawPicture(width, height), 88, false, JpegChroma::Halved);
    test_support::WriteFileBytes(dir + "/sample.jpg", jpeg);

    card::CardRecord card;
    card.Company = "Harbour Light Instruments";
    card.StreetAddress = "Unit 4, Quayside Works\r\n12 Ropewalk Lane";
    card.City = "Portsmouth";
    card.StateProvince = "Hampshire";
    card.PostalCode = "PO1 3AX";
    card.Country = "United Kingdom";
    card.WebSite = "https://harbourlight.example";
    card.FirstName =
        "Ren\xE9"
        "e";  // Renée, in Windows-1252
    card.MiddleName = "A.";
    card.LastName = "Okafor";
    card.JobTitle = "Lead Engineer";
    card.Department = "Marine Sensors";
    card.EMail = "renee.okafor@harbourlight.example";
    card.Fax = "+44 23 9200 0199";
    card.Phone1Description = "Office";
    card.Phone1Number = "+44 23 9200 0100";
    card.Phone2Description = "Mobile";
    card.Phone2Number = "+44 7700 900123";
    card.GeneralInformation =
        "We design and build depth sounders, tide gauges and water-quality probes for harbours.\r\n"
        "Ask about our calibration service \x96 same-week turnaround.";
    card.SetPicture(jpeg);
    card::RecordOnlySide side(card);
    if (!card::WriteCardFile(dir + "/sample.ovt", card, side)) {
        std::fprintf(stderr, "make_samples: cannot write %s/sample.ovt\n", dir.c_str());
        return 1;
    }
    std::printf("wrote %s/sample.jpg (%zu bytes) and %s/sample.ovt\n", dir.c_str(), jpeg.size(), dir.c_str());
    return 0;
}

}  // namespace
}  // namespace ovlet::samples

int main(int argc, char** argv) {
    return ovlet::samples::WriteSamples(argc, argv);
}
