// The card's picture as it leaves for another program (a vCard's photo, the
// web card's image): address books and browsers take JPEG and PNG, so those
// go as they are and any other picture the library decodes (BMP, Targa,
// PICT) goes as a PNG of the same pixels. The card itself keeps its bytes.
// No Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "card/card_record.h"

namespace ovlet::exchange {

struct OutgoingPicture {
    std::string mediaType;                // "image/jpeg" or "image/png"; "" when none leaves
    std::span<const std::uint8_t> bytes;  // the card's own bytes, or `converted`
    std::vector<std::uint8_t> converted;  // the PNG made of a picture in another format
    std::string warning;                  // why the card's picture was left out

    OutgoingPicture() = default;
    OutgoingPicture(const OutgoingPicture&) = delete;  // `bytes` may point into `converted`
    OutgoingPicture& operator=(const OutgoingPicture&) = delete;
    OutgoingPicture(OutgoingPicture&&) = default;  // a moved vector keeps its storage
};

// The card's picture for another program; empty (with `warning` said) when
// the card has one that cannot be decoded or converted.
OutgoingPicture OutgoingPictureOf(const card::CardRecord& card);

}  // namespace ovlet::exchange
