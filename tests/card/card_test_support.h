// Helpers shared by the card tests: a window side that records what the codec
// asks of it, and the names of the card and of the test files they share.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "card/card_file.h"
#include "card/codepage.h"
#include "tests/support/test_files.h"

namespace ovlet::card {

// A window side with its own two multi-line controls and a scripted picture panel.
class FakeWindow : public CardWindowSide {
public:
    std::string street;
    std::string info;
    bool decodes = true;  // whether the panel can show the pictures it is given
    int width = 64;
    int height = 48;
    std::vector<test_support::Bytes> shownBytes;  // the pictures the panel was given

    std::string GetEditText(std::string CardRecord::*field) override {
        return field == &CardRecord::StreetAddress ? street : info;
    }
    void SetEditText(std::string CardRecord::*field, const std::string& text) override {
        (field == &CardRecord::StreetAddress ? street : info) = text;
    }
    Result<std::pair<int, int>> SetPictureData(const std::uint8_t* bytes, std::size_t size) override {
        shownBytes.emplace_back(bytes, bytes + size);
        if (!decodes) return CardError{CardError::Kind::PictureNotShown, "Decoder error: unknown file type.", {}};
        return std::pair{width, height};
    }
};

// How a card read or write failed, for tables: the error's kind, or
// kNoFailure when it did not.
using Failure = std::optional<CardError::Kind>;
inline constexpr Failure kNoFailure{};
template <class T>
Failure FailureOf(const Result<T>& result) {
    return result ? kNoFailure : Failure{result.Error().kind};
}

// The notes a read gives the window, in order: the reading's, or the one of
// its error.
inline std::vector<CardNote> NotesOf(const Result<CardReading>& result) {
    return result ? result->notes : std::vector<CardNote>{result.Error().note};
}

}  // namespace ovlet::card
