// Card files from strangers: reading any bytes ends cleanly, and a card that
// reads writes back to bytes that read to the same card.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "card/card_file.h"
#include "exchange/vcard.h"

namespace ovlet::card {
namespace vcard = exchange::vcard;

namespace {

int CheckCardBytes(const std::uint8_t* data, std::size_t size) {
    CardRecord record;
    RecordOnlySide side(record);
    const Result<CardReading> whole = ReadCardBytes(data, size, record, side);

    // Reading without the picture gives the same card and the same count.
    CardRecord textOnly;
    RecordOnlySide textSide(textOnly);
    CardReadOptions options;
    options.readPicture = false;
    const Result<CardReading> counted = ReadCardBytes(data, size, textOnly, textSide, options);
    if (static_cast<bool>(counted) != static_cast<bool>(whole)) std::abort();
    if (counted ? counted->pictureLength != whole->pictureLength : counted.Error().kind != whole.Error().kind) {
        std::abort();
    }
    if (textOnly.HasPicture()) std::abort();
    for (const auto& field : kCardFields) {
        if (record.*field.member != textOnly.*field.member) std::abort();
    }
    if (!whole) return 0;

    std::vector<std::uint8_t> bytes = TakeTextsAndEncodeHead(record, side);
    bytes.insert(bytes.end(), record.PictureBytes.begin(), record.PictureBytes.end());
    CardRecord again;
    RecordOnlySide againSide(again);
    if (!ReadCardBytes(bytes.data(), bytes.size(), again, againSide)) std::abort();
    for (const auto& field : kCardFields) {
        if (record.*field.member != again.*field.member) std::abort();
    }
    if (record.PictureBytes != again.PictureBytes) std::abort();

    // Whatever a card holds makes a vCard that reads back as one sound card.
    const vcard::ReadResult read = vcard::DecodeVCards(vcard::EncodeVCard(record));
    if (read.cards.size() != 1 || !read.cards.front().ok() || !read.errors.empty()) std::abort();
    return 0;
}

}  // namespace
}  // namespace ovlet::card

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return ovlet::card::CheckCardBytes(data, size);
}
