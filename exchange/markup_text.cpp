#include "exchange/markup_text.h"

namespace ovlet::exchange {

std::string EscapeMarkup(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            case '\n':
            case '\t':
                out += static_cast<char>(c);
                break;
            case '\r':
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "\xEF\xBF\xBD";
                } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
                    out += "\xEF\xBF\xBD";  // a C1 control (U+0080 to U+009F)
                    ++i;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

}  // namespace ovlet::exchange
