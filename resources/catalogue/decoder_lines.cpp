#include "resources/catalogue/decoder_lines.h"

#include <iterator>
#include <vector>

#include "resources/catalogue/catalogue.h"

namespace ovlet::catalogue {
namespace {

constexpr const char* kContext = "DecoderLines";

// What RaiseDecoderError puts before every detail.
constexpr std::string_view kHeadPattern = TranslateLater("DecoderLines", "Decoder error: %1");

// The details the decoders raise, as they write them (without the line
// break some end in); %1, %2 are the parts that vary.
constexpr const char* kDetails[] = {
    TranslateLater("DecoderLines", "Unknown file type."),
    TranslateLater("DecoderLines", "Unknown picture type (starts with %1)"),
    TranslateLater("DecoderLines", "Unknown picture type (no bytes)"),
    TranslateLater("DecoderLines", "%1 picture: a type this library does not decode"),
    TranslateLater("DecoderLines", "Library not compiled for this file type."),
    TranslateLater("DecoderLines", "Opening %1 failed"),
    TranslateLater("DecoderLines", "Picture has a negative width or height."),
    TranslateLater("DecoderLines", "Picture too large: %1 x %2 pixels."),
    TranslateLater("DecoderLines", "Illegal bitmap depth."),
    TranslateLater("DecoderLines", "Bitmap decoder: This isn't a bitmap."),
    TranslateLater("DecoderLines", "Bitmap decoder: BITMAPINFOHEADER has wrong size."),
    TranslateLater("DecoderLines", "Bitmap decoder: compressed bitmap stored top-down."),
    TranslateLater("DecoderLines", "Decoding bmp: Illegal bpp value."),
    TranslateLater("DecoderLines", "Encountered delta escape."),
    TranslateLater("DecoderLines", "JPEG image has more than %1 scans."),
    TranslateLater("DecoderLines", "JPEG image has more scans than its size warrants."),
    TranslateLater("DecoderLines", "JPEG data stalled."),
    TranslateLater("DecoderLines", "Unsupported color conversion request"),
    TranslateLater("DecoderLines", "Error decoding pict: Version number missing."),
    TranslateLater("DecoderLines", "Illegal version number."),
    TranslateLater("DecoderLines", "PICT contained only vector data!"),
    TranslateLater("DecoderLines", "Error decoding pict: region size below 2."),
    TranslateLater("DecoderLines", "Unknown pattern type in pixPat."),
    TranslateLater("DecoderLines", "PICT file contains unrecognized quicktime data."),
    TranslateLater("DecoderLines", "Library not compiled for PICT/JPEG."),
    TranslateLater("DecoderLines", "pixel value greater than colour table size."),
    TranslateLater("DecoderLines", "Illegal bpp value in unpackbits: %1"),
    TranslateLater("DecoderLines", "Bad bits per pixel in expandBuf8."),
    TranslateLater("DecoderLines", "Interlaced PNG picture too wide for its height."),
    TranslateLater("DecoderLines", "PNG rows do not match the bitmap lines."),
    TranslateLater("DecoderLines", "Out of memory for the PNG decoder."),
    TranslateLater("DecoderLines", "Unknown TGA pixel depth."),
    TranslateLater("DecoderLines", "Unknown TGA image type."),
    TranslateLater("DecoderLines", "Unknown TGA colour map entry size."),
};

// Thrown by the byte sources without the head.
constexpr std::string_view kEndOfData = TranslateLater("DecoderLines", "End of file reached while decoding.");

bool IsMarker(std::string_view pattern, std::size_t at) {
    return at + 1 < pattern.size() && pattern[at] == '%' && pattern[at + 1] >= '1' && pattern[at + 1] <= '9';
}

// Whether `text` has the shape of `pattern`, each %1 to %9 standing for one
// or more characters; the parts they stood for go to `parts` by number.
bool Match(std::string_view pattern, std::string_view text, std::vector<std::string>& parts) {
    std::size_t mark = pattern.find('%');
    while (mark != std::string_view::npos && !IsMarker(pattern, mark)) mark = pattern.find('%', mark + 1);
    if (mark == std::string_view::npos) return pattern == text;
    if (text.substr(0, mark) != pattern.substr(0, mark)) return false;
    const auto number = static_cast<std::size_t>(pattern[mark + 1] - '1');
    const std::string_view rest = pattern.substr(mark + 2);
    text.remove_prefix(mark);
    // The shortest part that lets the rest match.
    for (std::size_t length = 1; length <= text.size(); ++length) {
        if (Match(rest, text.substr(length), parts)) {
            if (parts.size() <= number) parts.resize(number + 1);
            parts[number] = std::string(text.substr(0, length));
            return true;
        }
    }
    return false;
}

// The detail translated when it is one of the decoders' own.
bool TranslateDetail(std::string_view detail, std::string& translated) {
    for (const char* pattern : kDetails) {
        std::vector<std::string> parts;
        if (Match(pattern, detail, parts)) {
            translated = FillPlaceholders(Translate(kContext, pattern), parts);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string TranslateDecoderLine(std::string_view line, bool* complete) {
    if (complete) *complete = false;
    if (Language().empty()) {
        if (complete) *complete = true;
        return std::string(line);
    }
    if (line == kEndOfData) {
        if (complete) *complete = true;
        return Translate(kContext, kEndOfData);
    }
    const std::string_view head = kHeadPattern.substr(0, kHeadPattern.find('%'));
    if (!line.starts_with(head)) return std::string(line);
    const std::string_view detail = line.substr(head.size());
    std::string translated;
    const bool known = TranslateDetail(detail, translated);
    if (complete) *complete = known;
    return FillPlaceholders(Translate(kContext, kHeadPattern), {known ? translated : std::string(detail)});
}

const char* const* DecoderLinePatterns(std::size_t& count) {
    count = std::size(kDetails);
    return kDetails;
}

}  // namespace ovlet::catalogue
