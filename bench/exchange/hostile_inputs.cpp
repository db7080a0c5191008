// exchange_hostile_inputs FOLDER: writes the inputs the exchange commands are
// measured on as whole processes (time and peak memory, by hand):
//   company-10mb.ovt        a Company field of 10 MB            (render, print, thumbnail, html)
//   address-2m-lines.ovt    a street address of 2,000,000 lines (the same)
//   rle-16000.ovt           a 1.2 KB card whose picture is a 16000 x 16000 run-length BMP
//   same-name-10000.vcf     10,000 cards of one name             (import --all)
//   cards-20000.vcf         20,000 different cards               (import --all)
//   unknown-16mib.vcf       16 MiB of properties without a field (import --all)
//   bare-cr-8m.vcf          a card whose lines end in 8,000,000 bare CRs (import; once quadratic)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "card/card_file.h"

namespace ovlet::exchange {
namespace {

void WriteCard(const std::filesystem::path& path, card::CardRecord& card) {
    card::RecordOnlySide side(card);
    static_cast<void>(card::WriteCardFile(path.string(), card, side));
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// An 8-bit run-length BMP of width x height whose data is one end-of-picture
// code: a few hundred bytes that declare a quarter of a gigapixel.
std::vector<std::uint8_t> RleBomb(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> b(14 + 40 + 256 * 4 + 2, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 14 + 40 + 256 * 4);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    b[26] = 1;
    b[28] = 8;
    put32(30, 1);  // BI_RLE8
    put32(34, 2);
    put32(46, 256);
    b[b.size() - 1] = 1;  // 00 01: end of picture
    return b;
}

int WriteHostileInputs(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: exchange_hostile_inputs FOLDER\n");
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    {
        card::CardRecord card;
        card.FirstName = "Ann";
        card.LastName = "Lee";
        while (card.Company.size() < 10'000'000) card.Company += "Harbour Light ";
        WriteCard(dir / "company-10mb.ovt", card);
    }
    {
        card::CardRecord card;
        card.FirstName = "Ann";
        for (int i = 0; i < 2'000'000; ++i) card.StreetAddress += "Line\r\n";
        WriteCard(dir / "address-2m-lines.ovt", card);
    }
    {
        card::CardRecord card;
        card.FirstName = "Ann";
        card.SetPicture(RleBomb(16000, 16000));
        WriteCard(dir / "rle-16000.ovt", card);
    }
    std::string same, distinct, unknown;
    for (int i = 0; i < 10000; ++i) same += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nTEL:555\r\nEND:VCARD\r\n";
    for (int i = 0; i < 20000; ++i) {
        distinct += "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Lee" + std::to_string(i) + ";Ann;;;\r\nORG:Acme\r\nEND:VCARD\r\n";
    }
    while (unknown.size() < (16u << 20)) {
        unknown += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\n";
        for (int i = 0; i < 4997; ++i) unknown += "X-UNKNOWN-PROPERTY:value\r\n";
        unknown += "END:VCARD\r\n";
    }
    WriteText(dir / "same-name-10000.vcf", same);
    WriteText(dir / "cards-20000.vcf", distinct);
    WriteText(dir / "unknown-16mib.vcf", unknown);
    WriteText(dir / "bare-cr-8m.vcf",
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r" + std::string(8'000'000, '\r') + "END:VCARD\r\n");
    return 0;
}

}  // namespace
}  // namespace ovlet::exchange

int main(int argc, char** argv) {
    return ovlet::exchange::WriteHostileInputs(argc, argv);
}
