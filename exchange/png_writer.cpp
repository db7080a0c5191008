#include "exchange/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace ovlet::exchange {
namespace {

// libpng hands the encoded bytes here; a failure to grow the buffer becomes a
// libpng error so that no exception crosses libpng's C frames.
void AppendPngBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        out->insert(out->end(), data, data + size);
    } catch (...) {
        grown = false;
    }
    if (!grown) png_error(png, "out of memory");
}

void FlushPngBytes(png_structp) {}

struct ErrorText {
    char text[200] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<ErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Kept apart so that no object with a destructor lives in the frame that
// setjmp returns to twice.
bool Write(int width, int height, PngChannels channels, const PngRowSource& row, std::vector<std::uint8_t>& out,
           ErrorText& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    const int colourType = channels == PngChannels::Grey  ? PNG_COLOR_TYPE_GRAY
                           : channels == PngChannels::Rgb ? PNG_COLOR_TYPE_RGB
                                                          : PNG_COLOR_TYPE_RGB_ALPHA;
    png_set_write_fn(png, &out, AppendPngBytes, FlushPngBytes);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, row(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

Result<std::vector<std::uint8_t>> EncodePng(int width, int height, PngChannels channels, const PngRowSource& row) {
    std::vector<std::uint8_t> png;
    ErrorText pngError;
    if (!Write(width, height, channels, row, png, pngError)) {
        return ExchangeError{ExchangeError::Kind::PngRefused, pngError.text[0] ? pngError.text : "libpng cannot start"};
    }
    return png;
}

}  // namespace ovlet::exchange
