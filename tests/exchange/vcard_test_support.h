// Cards and pictures shared by the vCard and QR tests.
#pragma once

#include <string>

#include "card/card_file.h"
#include "card_test_support.h"

namespace {

// A 1 x 1 PNG (red, opaque) and the start of a GIF, as base64.
constexpr const char* kPngBase64 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP4z8DwHwAFAAH/VscvDQAAAABJRU5ErkJggg==";
constexpr const char* kGifBase64 = "R0lGODlhAQABAAAAACw=";

inline Bytes SamplePicture() {
    return ReadBytes(std::string(OVLET_SAMPLES_DIR) + "/sample.jpg");
}

// Every field at its typing limit (the multi-line fields with several lines),
// with the characters the escaping rules care about and Windows-1252 letters.
inline CardRecord AtLimitCard() {
    static const std::string kPattern = "Ab,;\\ \xE9\x80\"^:";
    CardRecord r;
    for (const auto& f : kCardFields) {
        std::string v;
        if (f.limit == 0) {
            v = "First line, with; marks \\ and \xA7\r\nSecond line \x80\r\n\r\nFourth";
        } else {
            while (v.size() < static_cast<std::size_t>(f.limit)) v += kPattern[v.size() % kPattern.size()];
        }
        r.*f.member = v;
    }
    r.Phone1Description = "Mobile";
    r.Phone2Description = "Fax line";
    r.SetPicture(SamplePicture());
    return r;
}

inline CardRecord SampleCard() {
    CardRecord record;
    RecordOnlySide side(record);
    ReadCardFile(std::string(OVLET_SAMPLES_DIR) + "/sample.ovt", record, side);
    return record;
}

}  // namespace
