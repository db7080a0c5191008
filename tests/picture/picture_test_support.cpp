#include "tests/picture/picture_test_support.h"

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include <jpeglib.h>

#include "picture/data_source.h"

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("ovlet-picture-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

Bytes EncodeJpeg(JpegKind kind, int width, int height, const Bytes& pixels, int quality, bool progressive) {
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
    for (int i = 0; i < c.num_components; ++i) {
        c.comp_info[i].h_samp_factor = 1;
        c.comp_info[i].v_samp_factor = 1;
    }
    jpeg_set_quality(&c, quality, TRUE);
    if (progressive) {
        jpeg_simple_progression(&c);
    }
    jpeg_start_compress(&c, TRUE);
    Bytes row(static_cast<std::size_t>(width * components));
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

void DecodeBytes(CPicDecoder& decoder, const Bytes& bytes, CWinBmp& bitmap, int depth) {
    CDataSource source;
    source.OpenData("memory", bytes.data(), static_cast<std::int32_t>(bytes.size()));
    decoder.DecodeSource(&source, &bitmap, depth);
}

Bgra PixelAt(const CWinBmp& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.GetLineTable()[y] + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

std::filesystem::path CorpusPath(const std::string& relative) {
    return std::filesystem::path(OVLET_CORPUS_DIR) / relative;
}

std::vector<ManifestEntry> ReadManifest() {
    std::ifstream in(CorpusPath("MANIFEST.tsv"));
    if (!in) {
        // A missing corpus must fail the run, never leave the tables empty.
        throw std::runtime_error("cannot read the corpus manifest " + CorpusPath("MANIFEST.tsv").string());
    }
    std::vector<ManifestEntry> entries;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t')) {
            fields.push_back(field);
        }
        if (fields.size() < 5) {
            continue;
        }
        ManifestEntry entry;
        entry.path = fields[0];
        entry.format = fields[1];
        entry.expected = fields[2];
        entry.width = fields[3] == "-" ? -1 : std::stol(fields[3]);
        entry.height = fields[4] == "-" ? -1 : std::stol(fields[4]);
        entry.notes = fields.size() > 7 ? fields[7] : "";
        entries.push_back(entry);
    }
    return entries;
}
