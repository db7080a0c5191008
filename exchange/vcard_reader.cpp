// Reading the cards of a vCard file, one at a time.
#include <limits>
#include <optional>

#include "exchange/vcard.h"
#include "exchange/vcard_builder.h"
#include "exchange/vcard_lines.h"
#include "exchange/vcard_text.h"

namespace vcard {
namespace {

using lines::IsCardLine;
using text::Excerpt;
using text::IEquals;
using text::Trim;

class FileReader {
public:
    FileReader(std::string_view bytes, const CardSink& sink, const ReadLimits& limits, std::size_t maxCards,
               bool unicodeFile, ReadSummary& summary)
        : cursor_(bytes),
          sink_(sink),
          limits_(limits),
          maxCards_(maxCards),
          unicodeFile_(unicodeFile),
          summary_(summary) {}

    void Run();

private:
    // Hands the card on; false when the sink wants no more.
    bool FinishCard();
    // Starts a card at `line`; false, with the error reported, when the file
    // has already given as many cards as are read.
    bool StartCard(std::size_t line);

    lines::LineCursor cursor_;
    const CardSink& sink_;
    const ReadLimits& limits_;
    std::size_t maxCards_;
    bool unicodeFile_;
    ReadSummary& summary_;
    std::optional<CardBuilder> card_;
    bool stopped_ = false;
};

bool FileReader::FinishCard() {
    ImportedCard card = card_->Finish();
    card_.reset();
    ++summary_.cards;
    if (!sink_(std::move(card))) stopped_ = true;
    return !stopped_;
}

bool FileReader::StartCard(std::size_t line) {
    if (summary_.cards >= maxCards_) {
        summary_.errors.push_back(
            {line, "", "the file holds more than " + std::to_string(maxCards_) + " cards; the rest was not read"});
        return false;
    }
    card_.emplace(line, limits_, unicodeFile_);
    return true;
}

void FileReader::Run() {
    lines::LogicalLine line;
    bool warnedOutside = false;
    int nested = 0;             // depth inside a card embedded in the current one
    bool agentPending = false;  // the last property was an AGENT introducing an embedded card
    while (!stopped_ && lines::NextLogical(cursor_, line, card_ && card_->v21(), limits_.maxLineBytes)) {
        if (Trim(line.text).empty()) continue;
        if (!card_) {
            if (IsCardLine(line.text, "BEGIN")) {
                if (!StartCard(line.number)) return;
            } else if (!warnedOutside) {
                summary_.warnings.push_back({line.number, "", "text outside any card was ignored"});
                warnedOutside = true;
            }
            continue;
        }
        if (nested > 0) {
            if (IsCardLine(line.text, "BEGIN")) ++nested;
            if (IsCardLine(line.text, "END")) --nested;
            continue;
        }
        if (line.tooLong) {
            card_->Error(line.number, "",
                         "the line is longer than " + std::to_string(limits_.maxLineBytes) + " bytes; it was not read");
            agentPending = false;
            continue;
        }
        if (IsCardLine(line.text, "END")) {
            FinishCard();
            agentPending = false;
            continue;
        }
        if (IsCardLine(line.text, "BEGIN")) {
            if (agentPending) {
                nested = 1;
                agentPending = false;
                continue;
            }
            card_->Error(line.number, "", "the card ends without END:VCARD (a new card begins here)");
            if (!FinishCard() || !StartCard(line.number)) return;
            continue;
        }
        agentPending = false;
        if (!card_->Count(line.number)) continue;
        lines::Property prop;
        prop.line = line.number;
        if (!lines::ParseProperty(line.text, !card_->v21(), prop)) {
            card_->Warn(line.number, "", "the line is not a property (" + Excerpt(line.text) + "); ignored");
            continue;
        }
        if (prop.name == "AGENT") {
            card_->Unmapped(line.number, "AGENT", "an agent's card has no field");
            if (Trim(prop.value).empty()) agentPending = true;
            if (IEquals(Trim(prop.value), "BEGIN:VCARD")) nested = 1;
            continue;
        }
        card_->Add(prop);
    }
    if (card_ && !stopped_) {
        card_->Error(cursor_.number(), "", "the card ends without END:VCARD (the file ends first)");
        FinishCard();
    }
}

ReadSummary Read(std::string_view bytes, const CardSink& sink, const ReadLimits& limits, std::size_t maxCards) {
    ReadSummary summary;
    std::string converted;
    bool unicodeFile = false;
    const bool littleMark = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool bigMark = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (littleMark || bigMark) {
        std::size_t invalid = 0;
        converted = text::Utf8FromUtf16(bytes.substr(2), bigMark, invalid);
        if (invalid > 0) {
            summary.errors.push_back({0, "",
                                      "the UTF-16 text is damaged: " + std::to_string(invalid) +
                                          (invalid == 1 ? " unit" : " units") + " became U+FFFD"});
        }
        bytes = converted;
        unicodeFile = true;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    FileReader(bytes, sink, limits, maxCards, unicodeFile, summary).Run();
    if (summary.cards == 0) summary.errors.push_back({0, "", "the file holds no vCard (no BEGIN:VCARD line)"});
    return summary;
}

}  // namespace

ReadSummary ReadVCards(std::string_view bytes, const CardSink& sink, const ReadLimits& limits) {
    return Read(bytes, sink, limits, std::numeric_limits<std::size_t>::max());
}

ReadResult DecodeVCards(std::string_view bytes, const ReadLimits& limits) {
    ReadResult result;
    ReadSummary summary = Read(
        bytes,
        [&](ImportedCard&& card) {
            result.cards.push_back(std::move(card));
            return true;
        },
        limits, limits.maxCards);
    result.errors = std::move(summary.errors);
    result.warnings = std::move(summary.warnings);
    return result;
}

}  // namespace vcard
