#include "tests/support/picture_encoders.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace ovlet::test_support {

Bytes EncodeJpeg(JpegKind kind, int width, int height, const Bytes& pixels, int quality, bool progressive,
                 JpegChroma chroma) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    int components = 3;
    switch (kind) {
        case JpegKind::Grey:
            components = 1;
            c.in_color_space = JCS_GRAYSCALE;
            break;
        case JpegKind::CmykAdobe:
        case JpegKind::YcckAdobe:
            components = 4;
            c.in_color_space = JCS_CMYK;
            break;
        default:
            c.in_color_space = JCS_RGB;
            break;
    }
    c.input_components = components;
    jpeg_set_defaults(&c);
    if (kind == JpegKind::Rgb) {
        jpeg_set_colorspace(&c, JCS_RGB);
    } else if (kind == JpegKind::YcckAdobe) {
        jpeg_set_colorspace(&c, JCS_YCCK);
    }
    if (chroma == JpegChroma::Full) {
        for (int i = 0; i < c.num_components; ++i) {
            c.comp_info[i].h_samp_factor = 1;
            c.comp_info[i].v_samp_factor = 1;
        }
    }
    jpeg_set_quality(&c, quality, TRUE);
    if (progressive) {
        jpeg_simple_progression(&c);
    }
    jpeg_start_compress(&c, TRUE);
    Bytes row(static_cast<std::size_t>(width) * static_cast<std::size_t>(components));
    while (c.next_scanline < c.image_height) {
        const std::uint8_t* source = pixels.data() + c.next_scanline * row.size();
        for (std::size_t i = 0; i < row.size(); ++i) {
            // Adobe CMYK files store the inks inverted.
            row[i] = components == 4 ? static_cast<std::uint8_t>(255 - source[i]) : source[i];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    Bytes result(buffer, buffer + size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return result;
}

namespace {

void WriteToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

}  // namespace

Bytes EncodePng(const PngPicture& picture) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test picture");
    }
    png_set_write_fn(png, &out, WriteToBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 picture.bitDepth, picture.colourType, picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < picture.palette.size(); i += 3) {
        palette.push_back({picture.palette[i], picture.palette[i + 1], picture.palette[i + 2]});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (!picture.transparency.empty()) {
        png_set_tRNS(png, info, picture.transparency.data(), static_cast<int>(picture.transparency.size()), nullptr);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    std::vector<Bytes> copies = picture.rows;
    for (Bytes& row : copies) {
        rows.push_back(row.data());
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace ovlet::test_support
