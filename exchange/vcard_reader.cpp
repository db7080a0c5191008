// Reading the cards of a vCard file, one at a time.
#include <limits>
#include <optional>

#include "exchange/vcard.h"
#include "exchange/vcard_builder.h"
#include "exchange/vcard_lines.h"
#include "exchange/vcard_text.h"

namespace ovlet::exchange::vcard {
namespace {

class FileReader {
public:
    FileReader(std::string_view bytes, const CardSink& cardSink, const ReadLimits& readLimits, std::size_t cardLimit,
               bool unicode, ReadSummary& result)
        : cursor(bytes),
          sink(cardSink),
          limits(readLimits),
          maxCards(cardLimit),
          unicodeFile(unicode),
          summary(result) {}

    void Run();

private:
    // Hands the card on; false when the sink wants no more.
    bool FinishCard();
    // Starts a card at `line`; false, with the error reported, when the file
    // has already given as many cards as are read.
    bool StartCard(std::size_t line);

    LineCursor cursor;
    const CardSink& sink;
    const ReadLimits& limits;
    std::size_t maxCards;
    bool unicodeFile;
    ReadSummary& summary;
    std::optional<CardBuilder> current;  // the card being read
    bool stopped = false;
};

bool FileReader::FinishCard() {
    ImportedCard card = current->Finish();
    current.reset();
    ++summary.cards;
    if (!sink(std::move(card))) stopped = true;
    return !stopped;
}

bool FileReader::StartCard(std::size_t line) {
    if (summary.cards >= maxCards) {
        summary.errors.push_back(
            {line, "", "the file holds more than " + std::to_string(maxCards) + " cards; the rest was not read"});
        return false;
    }
    current.emplace(line, limits, unicodeFile);
    return true;
}

void FileReader::Run() {
    LogicalLine line;
    bool warnedOutside = false;
    int nested = 0;             // depth inside a card embedded in the current one
    bool agentPending = false;  // the last property was an AGENT introducing an embedded card
    while (!stopped && NextLogical(cursor, line, current && current->v21(), limits.maxLineBytes)) {
        if (Trim(line.text).empty()) continue;
        if (!current) {
            if (IsCardLine(line.text, "BEGIN")) {
                if (!StartCard(line.number)) return;
            } else if (!warnedOutside) {
                summary.warnings.push_back({line.number, "", "text outside any card was ignored"});
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
            current->Error(
                line.number, "",
                "the line is longer than " + std::to_string(limits.maxLineBytes) + " bytes; it was not read");
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
            current->Error(line.number, "", "the card ends without END:VCARD (a new card begins here)");
            if (!FinishCard() || !StartCard(line.number)) return;
            continue;
        }
        agentPending = false;
        if (!current->Count(line.number)) continue;
        Property prop;
        prop.line = line.number;
        // RFC 6868's caret escapes are 4.0's only: 3.0 reads by RFC 2426, as
        // evolution does and as our 3.0 export is written.
        if (!ParseProperty(line.text, current->dialect() == Dialect::V40, prop)) {
            current->Warn(line.number, "", "the line is not a property (" + Excerpt(line.text) + "); ignored");
            continue;
        }
        if (prop.name == "AGENT") {
            current->Unmapped(line.number, "AGENT", "an agent's card has no field");
            if (Trim(prop.value).empty()) agentPending = true;
            if (IEquals(Trim(prop.value), "BEGIN:VCARD")) nested = 1;
            continue;
        }
        current->Add(prop);
    }
    if (current && !stopped) {
        current->Error(cursor.number(), "", "the card ends without END:VCARD (the file ends first)");
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
        converted = Utf8FromUtf16(bytes.substr(2), bigMark, invalid);
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

}  // namespace ovlet::exchange::vcard
