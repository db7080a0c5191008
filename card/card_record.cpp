#include "card/card_record.h"

#include <algorithm>

namespace ovlet::card {

void CardRecord::ClearCard() {
    for (const auto& field : kCardFields) {
        (this->*field.member).clear();
    }
    for (const auto& text : kCardStateStrings) {
        (this->*text.member).clear();
    }
    CurrentPath.clear();
    CurrentFileLabel = "Untitled";
    ImageSizeText = "N/A";
    ReleasePicture();
}

void CardRecord::SetPicture(std::vector<std::uint8_t> bytes) {
    ReleasePicture();
    PictureBytes = std::move(bytes);
    PictureLength = static_cast<std::int32_t>(PictureBytes.size());
}

void CardRecord::ReleasePicture() {
    PictureBytes.clear();
    PictureBytes.shrink_to_fit();
    PictureLength = 0;
}

std::array<const CardFieldInfo*, 17> CardExchangeOrder() {
    std::array<const CardFieldInfo*, 17> order{};
    for (const auto& field : kCardFields) {
        if (field.exchangePosition >= 0) {
            order[static_cast<std::size_t>(field.exchangePosition)] = &field;
        }
    }
    return order;
}

const CardFieldInfo* FindCardField(const std::string& name) {
    auto it =
        std::find_if(kCardFields.begin(), kCardFields.end(), [&](const CardFieldInfo& f) { return name == f.name; });
    return it == kCardFields.end() ? nullptr : &*it;
}

const CardStringInfo* FindCardString(const std::string& name) {
    auto it = std::find_if(kCardStateStrings.begin(), kCardStateStrings.end(),
                           [&](const CardStringInfo& s) { return name == s.name; });
    return it == kCardStateStrings.end() ? nullptr : &*it;
}

std::string FieldLimitMessage(int limit) {
    std::string message = kFieldLimitMessage;
    message.replace(message.find("%1"), 2, std::to_string(limit));
    return message;
}

}  // namespace ovlet::card
