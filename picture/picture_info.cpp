#include "picture/picture_info.h"

namespace {

class HeaderBytes {
public:
    HeaderBytes(const std::uint8_t* bytes, std::int32_t count) : data(bytes), size(count) {}

    bool Has(std::int64_t offset, std::int64_t count) const {
        return offset >= 0 && count >= 0 && offset <= size && count <= size - offset;
    }
    unsigned U8(std::int64_t offset) const { return data[offset]; }
    unsigned U16Be(std::int64_t offset) const { return (U8(offset) << 8) | U8(offset + 1); }
    unsigned U16Le(std::int64_t offset) const { return U8(offset) | (U8(offset + 1) << 8); }
    std::uint32_t U32Be(std::int64_t offset) const { return (std::uint32_t{U16Be(offset)} << 16) | U16Be(offset + 2); }
    std::int32_t I32Le(std::int64_t offset) const {
        return static_cast<std::int32_t>(U16Le(offset) | (std::uint32_t{U16Le(offset + 2)} << 16));
    }

private:
    const std::uint8_t* data;
    std::int32_t size;
};

// JPEG: walk the marker segments to the first start-of-frame marker, whose
// segment holds precision, height and width.
bool JpegSize(const HeaderBytes& bytes, PictureHeaderSize* result) {
    std::int64_t pos = 2;
    while (bytes.Has(pos, 2)) {
        if (bytes.U8(pos) != 0xFF) {
            ++pos;  // stray bytes between segments, as decoders skip them
            continue;
        }
        unsigned marker = bytes.U8(pos + 1);
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;  // markers without a segment
            continue;
        }
        if (!bytes.Has(pos + 2, 2)) {
            return false;
        }
        unsigned length = bytes.U16Be(pos + 2);
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (!bytes.Has(pos + 5, 4)) {
                return false;
            }
            result->height = bytes.U16Be(pos + 5);
            result->width = bytes.U16Be(pos + 7);
            return true;
        }
        if (length < 2) {
            return false;
        }
        pos += 2 + length;
    }
    return false;
}

}  // namespace

bool ReadHeaderSize(PictureFormat format, const std::uint8_t* data, std::int32_t size, PictureHeaderSize* result) {
    HeaderBytes bytes(data, size);
    switch (format) {
        case PictureFormat::WindowsBitmap:  // BITMAPINFOHEADER width and height
            if (!bytes.Has(18, 8)) {
                return false;
            }
            result->width = bytes.I32Le(18);
            result->height = bytes.I32Le(22);
            return true;
        case PictureFormat::Targa:  // header width and height
            if (!bytes.Has(12, 4)) {
                return false;
            }
            result->width = bytes.U16Le(12);
            result->height = bytes.U16Le(14);
            return true;
        case PictureFormat::MacPict: {  // picture frame: top, left, bottom, right
            if (!bytes.Has(514, 8)) {
                return false;
            }
            auto top = static_cast<std::int16_t>(bytes.U16Be(514));
            auto left = static_cast<std::int16_t>(bytes.U16Be(516));
            auto bottom = static_cast<std::int16_t>(bytes.U16Be(518));
            auto right = static_cast<std::int16_t>(bytes.U16Be(520));
            result->width = right - left;
            result->height = bottom - top;
            return true;
        }
        case PictureFormat::Jpeg:
            return JpegSize(bytes, result);
        case PictureFormat::Png:  // IHDR, the first chunk, after the 8-byte signature
            if (!bytes.Has(12, 12) || bytes.U32Be(12) != 0x49484452) {
                return false;
            }
            result->width = bytes.U32Be(16);
            result->height = bytes.U32Be(20);
            return true;
        default:
            return false;
    }
}
