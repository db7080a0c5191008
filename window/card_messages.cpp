#include "window/card_messages.h"

#include <QCoreApplication>

#include "card/card_file.h"
#include "card/card_record.h"
#include "picture/text_exception.h"
#include "resources/catalogue/decoder_lines.h"
#include "window/card_text.h"
#include "window/translations.h"

namespace {

constexpr const char* kContext = "CardMessages";

// The English words as the codec and the summary write them; %1 is the part
// that varies from message to message.
struct Pattern {
    const char* text;
    bool namesFile;  // the variable part is a file name, not card text
};

const Pattern kPatterns[] = {
    {QT_TRANSLATE_NOOP("CardMessages", "Unable to open file with this name.  Please try a different name."), false},
    {QT_TRANSLATE_NOOP("CardMessages", "An attempt was made to access an unnamed file past its end."), false},
    {QT_TRANSLATE_NOOP("CardMessages", "The card file is damaged and cannot be read."), false},
    {QT_TRANSLATE_NOOP(
         "CardMessages",
         "The card file is damaged: it ends inside its picture, so only part of the picture can be shown."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages", "Please enter no more than %1 characters."), false},
    {QT_TRANSLATE_NOOP("CardMessages", "The card's picture cannot be shown.\n\n%1"), false},
    {QT_TRANSLATE_NOOP("CardMessages", "This card has no web site address."), false},
    {QT_TRANSLATE_NOOP("CardMessages",
                       "The web site address on this card contains spaces or control characters, so it is not opened."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages",
                       "The web site on this card names a local file, not a web address, so it is not opened."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages",
                       "The web site on this card is a \"%1:\" address, not a web address, so it is not opened."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages", "The web site address on this card has no host name, so it is not opened."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages", "The e-mail address on this card is not a single address, so it is not opened."),
     false},
    {QT_TRANSLATE_NOOP("CardMessages", "Disk full while accessing %1."), true},
    {QT_TRANSLATE_NOOP("CardMessages", "An error occurred while writing %1."), true},
};

constexpr const char* kDecoderErrorHead = QT_TRANSLATE_NOOP("CardMessages", "Decoder error: %1");

// The kinds of fault the picture library's codes name.
struct DecoderKind {
    int code;
    const char* text;
};

const DecoderKind kDecoderKinds[] = {
    {DECERR_SIGNATURE, QT_TRANSLATE_NOOP("CardMessages", "The file is not a picture of the kind it claims to be.")},
    {DECERR_FORMAT,
     QT_TRANSLATE_NOOP("CardMessages", "The picture's data is damaged or of a kind that is not supported.")},
    {DECERR_PATH_NOT_FOUND, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be found.")},
    {DECERR_FILE_NOT_FOUND, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be found.")},
    {DECERR_ACCESS, QT_TRANSLATE_NOOP("CardMessages", "The picture file cannot be read.")},
    {DECERR_UNSUPPORTED,
     QT_TRANSLATE_NOOP("CardMessages", "The picture uses a format or feature that is not supported.")},
    {DECERR_UNKNOWN_TYPE, QT_TRANSLATE_NOOP("CardMessages", "Unknown file type.")},
    {DECERR_NO_MEMORY, QT_TRANSLATE_NOOP("CardMessages", "There is not enough memory to decode the picture.")},
    {DECERR_END_OF_DATA, QT_TRANSLATE_NOOP("CardMessages", "The picture's data ends before the picture is complete.")},
};

}  // namespace

QString DecoderMessageText(int code, const std::string& text) {
    const std::string line = MessageLine(text.c_str());
    if (!CurrentLanguage().empty()) {
        // The library's own fixed texts word for word; for the words of
        // libjpeg and libpng, which have no translations, the kind of fault.
        bool complete = false;
        const std::string translated = catalogue::TranslateDecoderLine(line, &complete);
        if (complete) return QString::fromUtf8(translated);
        for (const DecoderKind& kind : kDecoderKinds) {
            if (kind.code == code) {
                return QCoreApplication::translate(kContext, kDecoderErrorHead)
                    .arg(QCoreApplication::translate(kContext, kind.text));
            }
        }
    }
    return FromAnsi(line);
}

QString CardNoteMessage(const CardNote& note, int decoderCode, const std::string& decoderText) {
    switch (note.id) {
        case CardNoteId::CannotOpen:
            return QCoreApplication::translate(kContext, "Unable to open file with this name.  Please try a different name.");
        case CardNoteId::PastEnd:
            return QCoreApplication::translate(kContext, "An attempt was made to access an unnamed file past its end.");
        case CardNoteId::Damaged:
            return QCoreApplication::translate(kContext, "The card file is damaged and cannot be read.");
        case CardNoteId::PictureNotShown: {
            const std::string reason = note.arguments.empty() ? std::string() : note.arguments.front();
            const QString shown = decoderCode != 0 && reason == decoderText ? DecoderMessageText(decoderCode, reason)
                                                                             : FromAnsi(reason);
            return QCoreApplication::translate(kContext, "The card's picture cannot be shown.\n\n%1").arg(shown);
        }
    }
    return FromAnsi(CardNoteText(note));
}

QString ShortPictureText() {
    return QCoreApplication::translate(kContext, kShortPictureMessage);
}

QString CardMessageText(const std::string& message, int decoderCode, const std::string& decoderText) {
    const std::string_view pictureHead("The card's picture cannot be shown.\n\n");
    if (decoderCode != 0 && message == std::string(pictureHead) + decoderText) {
        return QCoreApplication::translate(kContext, "The card's picture cannot be shown.\n\n%1")
            .arg(DecoderMessageText(decoderCode, decoderText));
    }
    return CardMessageText(message);
}

QString CardMessageText(const std::string& message) {
    for (const auto& [pattern, namesFile] : kPatterns) {
        const std::string_view p(pattern);
        const std::size_t mark = p.find("%1");
        if (mark == std::string_view::npos) {
            if (message == p) return QCoreApplication::translate(kContext, pattern);
            continue;
        }
        const std::string_view prefix = p.substr(0, mark);
        const std::string_view suffix = p.substr(mark + 2);
        if (message.size() < prefix.size() + suffix.size() || !message.starts_with(prefix) ||
            !message.ends_with(suffix)) {
            continue;
        }
        const std::string part = message.substr(prefix.size(), message.size() - prefix.size() - suffix.size());
        return QCoreApplication::translate(kContext, pattern).arg(namesFile ? PathText(part) : FromAnsi(part));
    }
    return FromAnsi(message);
}

QString FieldLimitText(int limit) {
    return QCoreApplication::translate(kContext, kFieldLimitMessage).arg(limit);
}

std::vector<const char*> CardMessagePatterns() {
    std::vector<const char*> patterns;
    for (const Pattern& p : kPatterns) patterns.push_back(p.text);
    return patterns;
}
