// vCard files from strangers: reading any bytes ends cleanly within its
// limits, and every card read exports and imports again to the same fields,
// but for the forms the writer settles on: a number typed as a tel: address
// comes back as its number, the marks a web address has percent-encoded
// (",", ";", "\\", line breaks) come back as themselves, a control character
// comes back as U+FFFD (a card's '?'), and a 3.0 label loses its double quotes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/vcard.h"
#include "exchange/vcard_text.h"

namespace ovlet::exchange {
namespace {

std::string WithoutControls(std::string value) {
    for (char& c : value) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\t' && c != '\r' && c != '\n') || b == 0x7F) c = '?';
    }
    return value;
}

std::string Settled(const card::CardFieldInfo& field, std::string value, bool v4) {
    const std::string name = field.name;
    if (name == "Phone1Number" || name == "Phone2Number" || name == "Fax") {
        if (vcard::IStartsWith(value, "tel:")) value = vcard::PercentDecode(value.substr(4));
    }
    if (name == "WebSite") value = vcard::UnescapeUri(value);
    if (!v4 && (name == "Phone1Description" || name == "Phone2Description")) {
        value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    }
    return WithoutControls(value);
}

int CheckVCardBytes(const std::uint8_t* data, std::size_t size) {
    vcard::ReadLimits limits;
    limits.maxLineBytes = 1 << 16;
    limits.maxCards = 64;
    limits.maxPropertiesPerCard = 256;
    const vcard::ReadResult result =
        vcard::DecodeVCards(std::string_view(reinterpret_cast<const char*>(data), size), limits);
    if (result.cards.size() > limits.maxCards) std::abort();
    for (const auto& card : result.cards) {
        for (const bool v4 : {true, false}) {
            vcard::WriteOptions options;
            options.version = v4 ? vcard::Version::V4_0 : vcard::Version::V3_0;
            const vcard::ReadResult again = vcard::DecodeVCards(vcard::EncodeVCard(card.record, options));
            if (again.cards.size() != 1 || !again.cards.front().ok()) std::abort();
            const card::CardRecord& back = again.cards.front().record;
            for (const auto& field : card::kCardFields) {
                if (Settled(field, card.record.*field.member, v4) != back.*field.member) std::abort();
            }
            if (card.record.PictureBytes != back.PictureBytes) std::abort();
        }
    }
    return 0;
}

}  // namespace
}  // namespace ovlet::exchange

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return ovlet::exchange::CheckVCardBytes(data, size);
}
