#include "window/card_messages.h"

#include "card/card_file.h"
#include "card/card_record.h"
#include "picture/text_exception.h"
#include "platform/face.h"
#include "platform/text_mark.h"
#include "resources/catalogue/catalogue.h"
#include "resources/catalogue/decoder_lines.h"
#include "window/card_text.h"

namespace ovlet::window {
namespace {

constexpr const char* kContext = "CardMessages";

// The words of every note, as the codec writes them (card/card_notes.h); %1
// is the part that varies from message to message.
struct NoteWords {
    card::CardNoteId id;
    const char* text;
};

const NoteWords kNoteWords[] = {
    {card::CardNoteId::CannotOpen,
     QT_TRANSLATE_NOOP("CardMessages", "Unable to open file with this name.  Please try a different name.")},
    {card::CardNoteId::PastEnd,
     QT_TRANSLATE_NOOP("CardMessages", "An attempt was made to access an unnamed file past its end.")},
    {card::CardNoteId::Damaged, QT_TRANSLATE_NOOP("CardMessages", "The card file is damaged and cannot be read.")},
    {card::CardNoteId::PictureNotShown, QT_TRANSLATE_NOOP("CardMessages", "The card's picture cannot be shown.\n\n%1")},
    {card::CardNoteId::DiskFull, QT_TRANSLATE_NOOP("CardMessages", "Disk full while accessing %1.")},
    {card::CardNoteId::WriteFailed, QT_TRANSLATE_NOOP("CardMessages", "An error occurred while writing %1.")},
    {card::CardNoteId::NoWebSite, QT_TRANSLATE_NOOP("CardMessages", "This card has no web site address.")},
    {card::CardNoteId::WebSiteHasSpaces,
     QT_TRANSLATE_NOOP(
         "CardMessages",
         "The web site address on this card contains spaces or control characters, so it is not opened.")},
    {card::CardNoteId::WebSiteIsLocal,
     QT_TRANSLATE_NOOP("CardMessages",
                       "The web site on this card names a local file, not a web address, so it is not opened.")},
    {card::CardNoteId::WebSiteScheme,
     QT_TRANSLATE_NOOP("CardMessages",
                       "The web site on this card is a \"%1:\" address, not a web address, so it is not opened.")},
    {card::CardNoteId::WebSiteNoHost,
     QT_TRANSLATE_NOOP("CardMessages", "The web site address on this card has no host name, so it is not opened.")},
    {card::CardNoteId::EMailNotSingle,
     QT_TRANSLATE_NOOP("CardMessages",
                       "The e-mail address on this card is not a single address, so it is not opened.")},
};

// The short picture's message, in the catalogue beside the notes.
[[maybe_unused]] constexpr const char* kShortPictureWords = QT_TRANSLATE_NOOP(
    "CardMessages", "The card file is damaged: it ends inside its picture, so only part of the picture can be shown.");
// The field limit's message (card/card_record.h), likewise.
[[maybe_unused]] constexpr const char* kFieldLimitWords =
    QT_TRANSLATE_NOOP("CardMessages", "Please enter no more than %1 characters.");

const char* WordsOf(card::CardNoteId id) {
    for (const NoteWords& words : kNoteWords) {
        if (words.id == id) return words.text;
    }
    return nullptr;
}

constexpr const char* kDecoderErrorHead = QT_TRANSLATE_NOOP("CardMessages", "Decoder error: %1");

// The kinds of fault the picture library's codes name.
struct DecoderKind {
    int code;
    const char* text;
};

const DecoderKind kDecoderKinds[] = {
    {picture::DECERR_SIGNATURE,
     QT_TRANSLATE_NOOP("CardMessages", "The file is not a picture of the kind it claims to be.")},
    {picture::DECERR_FORMAT,
     QT_TRANSLATE_NOOP("CardMessages", "The picture's data is damaged or of a kind that is not supported.")},
    {picture::DECERR_PATH_NOT_FOUND, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be found.")},
    {picture::DECERR_FILE_NOT_FOUND, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be found.")},
    {picture::DECERR_ACCESS, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be read.")},
    {picture::DECERR_UNSUPPORTED,
     QT_TRANSLATE_NOOP("CardMessages", "The picture uses a format or feature that is not supported.")},
    {picture::DECERR_UNKNOWN_TYPE, QT_TRANSLATE_NOOP("CardMessages", "Unknown file type.")},
    {picture::DECERR_NO_MEMORY, QT_TRANSLATE_NOOP("CardMessages", "There is not enough memory to decode the picture.")},
    {picture::DECERR_END_OF_DATA,
     QT_TRANSLATE_NOOP("CardMessages", "The picture's data ends before the picture is complete.")},
};

std::string Tr(const char* text) {
    return platform::Translate(kContext, text);
}

std::string Fill(const std::string& pattern, const std::string& argument) {
    return catalogue::FillPlaceholders(pattern, {argument});
}

}  // namespace

std::string DecoderMessageText(int code, const std::string& text) {
    const std::string line = picture::MessageLine(text.c_str());
    if (!catalogue::Language().empty()) {
        // The library's own fixed texts word for word; for the words of
        // libjpeg and libpng, which have no translations, the kind of fault.
        bool complete = false;
        const std::string translated = catalogue::TranslateDecoderLine(line, &complete);
        if (complete) return translated;
        for (const DecoderKind& kind : kDecoderKinds) {
            if (kind.code == code) {
                return Fill(Tr(kDecoderErrorHead), Tr(kind.text));
            }
        }
    }
    return FromAnsi(line);
}

std::string CardNoteMessage(const card::CardNote& note, int decoderCode, const std::string& decoderText) {
    const char* words = WordsOf(note.id);
    if (!words) return FromAnsi(card::CardNoteText(note));
    const std::string message = Tr(words);
    const std::string first = note.arguments.empty() ? std::string() : note.arguments.front();
    switch (note.id) {
        case card::CardNoteId::PictureNotShown:
            return Fill(message, decoderCode != 0 && first == decoderText ? DecoderMessageText(decoderCode, first)
                                                                          : FromAnsi(first));
        case card::CardNoteId::DiskFull:
            return Fill(message, first);
        case card::CardNoteId::WriteFailed: {
            // The path and the system's reason, both in the file system's encoding.
            const std::string place = note.arguments.size() > 1 ? first + ": " + note.arguments[1] : first;
            return Fill(message, place);
        }
        case card::CardNoteId::WebSiteScheme:
            return Fill(message, FromAnsi(first));
        default:
            return message;
    }
}

std::string CardNoteMessage(const card::CardNote& note) {
    return CardNoteMessage(note, 0, {});
}

std::string ShortPictureText() {
    return Tr(kShortPictureMessage);
}

std::string FieldLimitText(int limit) {
    return Fill(Tr(card::kFieldLimitMessage), std::to_string(limit));
}

std::vector<std::pair<card::CardNoteId, const char*>> CardNoteWords() {
    std::vector<std::pair<card::CardNoteId, const char*>> words;
    for (const NoteWords& w : kNoteWords) words.emplace_back(w.id, w.text);
    return words;
}

}  // namespace ovlet::window
