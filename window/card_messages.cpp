#include "window/card_messages.h"

#include <QCoreApplication>

#include "card/card_file.h"
#include "card/card_record.h"
#include "window/card_text.h"

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

}  // namespace

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
