#include "window/card_text.h"

#include <QFile>

#include "card/codepage.h"

QString FromAnsi(const std::string& ansi) {
    return QString::fromStdString(codepage::Utf8FromAnsi(ansi));
}

std::optional<std::string> ToAnsi(const QString& text) {
    return codepage::AnsiFromUtf8(text.toStdString());
}

bool FitsAnsi(const QString& text) {
    return ToAnsi(text).has_value();
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
