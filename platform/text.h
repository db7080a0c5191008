// Text between the card's code page (Windows-1252) and Qt.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace platform {

QString FromAnsi(const std::string& ansi);
// Nothing when the text holds a character the code page cannot store.
std::optional<std::string> ToAnsi(const QString& text);
// Every character of the code page can be stored.
bool FitsAnsi(const QString& text);

}  // namespace platform
