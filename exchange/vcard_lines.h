// The lines of a vCard file: physical lines, the logical lines that folding
// and the 2.1 encodings make of them, and a property's name, group and
// parameters. No Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ovlet::exchange::vcard {

// Physical lines of the file. A line ends in LF, CR LF, any run of CRs before
// an LF (CR CR LF, as some phones write) or a CR alone.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : data(text) {}

    bool Peek(std::string_view& line) const;
    bool Next(std::string_view& line);
    // The 1-based number of the line last taken by Next.
    std::size_t number() const { return lineNumber; }
    // Bytes looked at so far, counted so that tests can tell linear work
    // from quadratic without a clock.
    std::size_t examined() const { return bytesExamined; }

private:
    std::string_view data;
    std::size_t position = 0;
    std::size_t lineNumber = 0;
    // The end of the run of bare CRs that `position` is in: each of them
    // ends a line, and the run is scanned once, not again for each of them.
    std::size_t bareCrEnd = 0;
    mutable std::size_t bytesExamined = 0;
};

struct LogicalLine {
    std::size_t number = 0;  // the line it starts on
    std::string text;
    bool tooLong = false;  // longer than the limit; `text` holds only its start
};

// One property line with its folded continuations joined. vCard 2.1 keeps the
// white space that starts a continuation, 3.0 and 4.0 drop it; quoted-printable
// values continue after a line ending in '='; 2.1 base64 data runs on to a
// blank line. False at the end of the file.
bool NextLogical(LineCursor& cursor, LogicalLine& out, bool v21, std::size_t maxBytes);

struct Param {
    std::string name;  // upper case
    std::vector<std::string> values;
};

struct Property {
    std::size_t line = 0;
    std::string group;  // upper case, "" when none
    std::string name;   // upper case
    std::vector<Param> params;
    std::string value;  // raw, still encoded and escaped

    const Param* Find(std::string_view paramName) const;
    std::string First(std::string_view paramName) const;
    bool HasType(std::string_view type) const;
};

// Splits "group.NAME;param=value;...:value"; `caret` undoes RFC 6868 escapes
// in parameter values. False when the line has no colon or no name.
bool ParseProperty(std::string_view line, bool caret, Property& prop);

// True for "BEGIN:VCARD" (what = "BEGIN") or "END:VCARD", in any case, with a group or not.
bool IsCardLine(std::string_view text, std::string_view what);

}  // namespace ovlet::exchange::vcard
