#include "platform/text.h"

#include "card/codepage.h"

namespace platform {

QString FromAnsi(const std::string& ansi) {
    return QString::fromStdString(codepage::Utf8FromAnsi(ansi));
}

std::optional<std::string> ToAnsi(const QString& text) {
    return codepage::AnsiFromUtf8(text.toStdString());
}

bool FitsAnsi(const QString& text) {
    return ToAnsi(text).has_value();
}

}  // namespace platform
