#include "exchange/vcard_lines.h"

#include <algorithm>

#include "exchange/vcard_text.h"

namespace ovlet::exchange::vcard {

bool LineCursor::Peek(std::string_view& line) const {
    if (position >= data.size()) return false;
    std::size_t end = position;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
    bytesExamined += end - position + 1;
    line = data.substr(position, end - position);
    return true;
}

bool LineCursor::Next(std::string_view& line) {
    if (!Peek(line)) return false;
    position += line.size();
    if (position < bareCrEnd || (position < data.size() && data[position] == '\n')) {
        ++position;  // one more CR of a run already known to end without an LF, or the LF
    } else if (position < data.size() && data[position] == '\r') {
        std::size_t end = position;
        while (end < data.size() && data[end] == '\r') ++end;
        bytesExamined += end - position;
        if (end < data.size() && data[end] == '\n') {
            position = end + 1;
        } else {
            bareCrEnd = end;
            ++position;
        }
    }
    ++lineNumber;
    return true;
}

namespace {

bool IsFolded(std::string_view line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// The transfer encoding a property's name and parameters name: ENCODING=...,
// or the bare values of vCard 2.1 ("PHOTO;JPEG;B:", "NOTE;QUOTED-PRINTABLE:").
void JudgeEncoding(std::string_view header, bool& quotedPrintable, bool& base64) {
    std::size_t pos = header.find(';');
    while (pos != std::string_view::npos) {
        const std::size_t next = header.find(';', pos + 1);
        std::string_view param = Trim(header.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1));
        if (IStartsWith(param, "ENCODING=")) param = Trim(param.substr(9));
        if (IEquals(param, "QUOTED-PRINTABLE")) quotedPrintable = true;
        if (IEquals(param, "BASE64") || IEquals(param, "B")) base64 = true;
        pos = next;
    }
}

}  // namespace

bool NextLogical(LineCursor& cursor, LogicalLine& out, bool v21, std::size_t maxBytes) {
    std::string_view line;
    if (!cursor.Next(line)) return false;
    out.number = cursor.number();
    out.tooLong = line.size() > maxBytes;
    out.text.assign(line.substr(0, std::min(line.size(), maxBytes)));
    // The encoding is judged once the name and parameters are complete, so
    // that a long line is scanned once, not again for every line it continues on.
    bool headerKnown = false;
    bool quotedPrintable = false;
    bool base64 = false;
    std::size_t scanned = 0;
    auto learnHeader = [&] {
        if (headerKnown) return;
        const std::size_t colon = out.text.find(':', scanned);
        if (colon == std::string::npos) {
            scanned = out.text.size();
            return;
        }
        headerKnown = true;
        JudgeEncoding(std::string_view(out.text).substr(0, colon), quotedPrintable, base64);
    };
    std::string_view next;
    while (cursor.Peek(next)) {
        learnHeader();
        std::string_view add;
        if (quotedPrintable && !out.text.empty() && out.text.back() == '=') {
            // A soft line break (RFC 2045 section 6.7, rule 5) comes before
            // folding: writers fold after it ("=" CR LF SPACE), some inside an
            // encoded character, and the white space that starts the next
            // line is the fold's, as ez-vcard and evolution read it.
            out.text.pop_back();
            add = IsFolded(next) ? next.substr(1) : next;
        } else if (IsFolded(next)) {
            add = v21 ? next : next.substr(1);
        } else if (v21 && base64 && !next.empty() && next.find(':') == std::string_view::npos) {
            add = next;
        } else {
            break;
        }
        cursor.Next(next);
        if (out.tooLong || out.text.size() + add.size() > maxBytes) {
            out.tooLong = true;
            out.text.resize(std::min<std::size_t>(out.text.size(), 64));
            continue;
        }
        out.text.append(add);
    }
    return true;
}

const Param* Property::Find(std::string_view paramName) const {
    for (const auto& p : params) {
        if (p.name == paramName) return &p;
    }
    return nullptr;
}

std::string Property::First(std::string_view paramName) const {
    const Param* p = Find(paramName);
    return p && !p->values.empty() ? p->values.front() : std::string();
}

bool Property::HasType(std::string_view type) const {
    for (const auto& p : params) {
        if (p.name != "TYPE") continue;
        for (const auto& v : p.values) {
            if (IEquals(v, type)) return true;
        }
    }
    return false;
}

namespace {

// vCard 2.1 writes some parameters without a name ("TEL;WORK;VOICE:", "PHOTO;JPEG;B:").
const char* BareParamName(std::string_view value) {
    if (IEquals(value, "QUOTED-PRINTABLE") || IEquals(value, "BASE64") || IEquals(value, "B") ||
        IEquals(value, "8BIT") || IEquals(value, "7BIT")) {
        return "ENCODING";
    }
    if (IEquals(value, "INLINE") || IEquals(value, "URL") || IEquals(value, "CID") || IEquals(value, "CONTENT-ID")) {
        return "VALUE";
    }
    return "TYPE";
}

void AddParam(Property& prop, std::string_view text, bool caret) {
    Param param;
    std::string_view values = text;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        param.name = BareParamName(Trim(text));
    } else {
        param.name = Upper(Trim(text.substr(0, eq)));
        values = text.substr(eq + 1);
    }
    // Values are separated by commas outside double quotes.
    std::string current;
    bool quoted = false;
    auto flush = [&] {
        std::string v = caret ? CaretDecode(current) : current;
        if (!v.empty()) param.values.push_back(std::move(v));
        current.clear();
    };
    // A quoted TYPE is still a list ("work,voice"); other quoted values keep their commas.
    const bool list = param.name == "TYPE";
    for (char c : values) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && (!quoted || list)) {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    prop.params.push_back(std::move(param));
}

}  // namespace

bool ParseProperty(std::string_view line, bool caret, Property& prop) {
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';' && line[i] != ':') ++i;
    if (i == line.size()) return false;
    std::string_view name = Trim(line.substr(0, i));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        prop.group = Upper(name.substr(0, dot));
        name = name.substr(dot + 1);
    }
    prop.name = Upper(name);
    while (line[i] == ';') {
        const std::size_t start = ++i;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ';' && line[i] != ':'))) {
            if (line[i] == '"') quoted = !quoted;
            ++i;
        }
        if (i == line.size()) return false;
        if (i > start) AddParam(prop, line.substr(start, i - start), caret);
    }
    prop.value = std::string(line.substr(i + 1));
    return !prop.name.empty();
}

bool IsCardLine(std::string_view text, std::string_view what) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view name = Trim(text.substr(0, colon));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(dot + 1);
    return IEquals(name, what) && IEquals(Trim(text.substr(colon + 1)), "VCARD");
}

}  // namespace ovlet::exchange::vcard
