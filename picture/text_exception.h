// The one error type of the picture library, its codes, and the trace channel
// that decoders write progress lines to.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace ovlet::picture {

// Error codes, the same in every decoder. 7 and 9 are unused.
enum : int {
    DECERR_SIGNATURE = 1,       // data is not of the decoder's format, or a wrong version
    DECERR_FORMAT = 2,          // malformed or unsupported content inside a recognised format
    DECERR_PATH_NOT_FOUND = 3,  // the file's folder does not exist
    DECERR_FILE_NOT_FOUND = 4,  // the file does not exist, or opening failed otherwise
    DECERR_ACCESS = 5,          // access denied, or the file cannot be mapped
    DECERR_UNSUPPORTED = 6,     // a format or feature this build does not decode; libjpeg errors
    DECERR_UNKNOWN_TYPE = 8,    // the data matches no known format
    DECERR_NO_MEMORY = 10,      // a decoder could not allocate a working table
    DECERR_END_OF_DATA = 11,    // the data ended before the picture was complete
};

// Thrown by a byte source when a read passes the end of the data. It carries
// no "Decoder error: " prefix because it is thrown directly, not raised.
inline constexpr const char* kEndOfDataText = "End of file reached while decoding.\n";

class CTextException : public std::exception {
public:
    CTextException(int code, const char* text);
    CTextException(const CTextException&) = default;
    CTextException& operator=(const CTextException&) = default;
    ~CTextException() override = default;

    virtual int GetCode() const { return code; }
    virtual const char* GetText() const { return text.c_str(); }
    const char* what() const noexcept override { return text.c_str(); }

private:
    std::int32_t code;
    std::string text;
};

// A message of the library (its own texts end in a line break; libjpeg's
// and libpng's may hold more) as one line for a report: white space at both
// ends trimmed and every line break inside turned into a space.
std::string MessageLine(const char* text);

// Hands text to the trace sink when level <= the trace level and a sink is
// set; otherwise does nothing. The text is passed on unchanged: a sink that
// shows it on a terminal makes it safe there.
void TraceMessage(int level, const char* text);

// TraceMessage with printf formatting; a line longer than 255 characters is
// cut.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void TraceFormat(int level, const char* format, ...);

// Formats "Decoder error: %s\n" (cut to 255 characters), traces it at level 0
// and throws it as a CTextException with the given code.
[[noreturn]] void RaiseDecoderError(int code, const char* text);

// Process-wide trace settings: nothing is traced until a program sets a sink
// (the ovlet tool does for --verbose and OVLET_TRACE). Levels: 0 the errors
// raised, 1 each decode, 2 the formats' steps, 3 their details. A null sink
// switches the trace off.
using TraceSink = void (*)(const char* text);
inline constexpr int kTraceAll = 3;
void SetTraceLevel(int level);
void SetTraceSink(TraceSink sink);

}  // namespace ovlet::picture
