#include "picture/text_exception.h"

#include <cstdarg>
#include <cstdio>

namespace ovlet::picture {

namespace {

// Trace settings: level 0 and no sink unless a program sets them.
int traceLevel = 0;
TraceSink traceSink = nullptr;

// Line buffers of the decoder messages hold 256 characters including the end.
constexpr std::size_t kMessageBufferSize = 256;

}  // namespace

CTextException::CTextException(int errorCode, const char* message) : code(errorCode), text(message ? message : "") {}

std::string MessageLine(const char* text) {
    std::string line;
    bool lineBreak = false;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n' || *c == '\r') {
            lineBreak = true;
            continue;
        }
        if (lineBreak && !line.empty() && line.back() != ' ' && *c != ' ') line += ' ';
        lineBreak = false;
        line += *c;
    }
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
}

void TraceMessage(int level, const char* text) {
    if (level > traceLevel || !traceSink) {
        return;
    }
    traceSink(text);
}

void TraceFormat(int level, const char* format, ...) {
    char line[kMessageBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TraceMessage(level, line);
}

void RaiseDecoderError(int code, const char* text) {
    char line[kMessageBufferSize];
    std::snprintf(line, sizeof line, "Decoder error: %s\n", text);
    TraceMessage(0, line);
    throw CTextException(code, line);
}

void SetTraceLevel(int level) {
    traceLevel = level;
}

void SetTraceSink(TraceSink sink) {
    traceSink = sink;
}

}  // namespace ovlet::picture
