// Text between the card's code page (Windows-1252) and Qt.
#pragma once

#include <QString>
#include <optional>
#include <string>

QString FromAnsi(const std::string& ansi);
// Nothing when the text holds a character the code page cannot store.
std::optional<std::string> ToAnsi(const QString& text);
// Every character of the text can be stored in the code page.
bool FitsAnsi(const QString& text);

// A path as the file system names it, for showing, and back.
QString PathText(const std::string& path);
std::string PathBytes(const QString& path);
