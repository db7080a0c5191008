#include "picture/pixel_rows.h"

#include <cstring>

#include "picture/bmp.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define OVLET_HAVE_SSSE3_PATH 1
#endif

namespace ovlet::picture::rows {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
// Rows of at least this many pixels are written past the cache.
constexpr std::int64_t kStreamingMinimum = 256;

// Four pixels from three little-endian words of the 12 stored bytes.
inline void ExpandFour(const std::uint8_t* src, std::uint32_t out[4]) {
    std::uint32_t a, b, c;
    std::memcpy(&a, src, 4);
    std::memcpy(&b, src + 4, 4);
    std::memcpy(&c, src + 8, 4);
    out[0] = (a & 0x00FFFFFFu) | kOpaque;
    out[1] = (a >> 24) | ((b & 0xFFFFu) << 8) | kOpaque;
    out[2] = (b >> 16) | ((c & 0xFFu) << 16) | kOpaque;
    out[3] = (c >> 8) | kOpaque;
}

inline void ExpandOne(const std::uint8_t* src, std::uint8_t* dest) {
    dest[0] = src[0];
    dest[1] = src[1];
    dest[2] = src[2];
    dest[3] = 0xFF;
}

#if defined(OVLET_HAVE_SSSE3_PATH)
// With SSSE3 one byte shuffle moves four pixels into their lanes. Returns
// how many pixels it wrote; the caller finishes the rest. Like the SSE2 loop
// below, each load takes 4 bytes past the 12 it uses.
__attribute__((target("ssse3"))) std::int64_t ExpandWithShuffle(const std::uint8_t* src, std::uint8_t* dest,
                                                                std::int64_t count, bool stream) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaque));
    std::int64_t i = 0;
    for (; i + 10 <= count; i += 8) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i + 12));
        a = _mm_or_si128(_mm_shuffle_epi8(a, order), alpha);
        b = _mm_or_si128(_mm_shuffle_epi8(b, order), alpha);
        auto* out = reinterpret_cast<__m128i*>(dest + 4 * i);
        if (stream) {
            _mm_stream_si128(out, a);
            _mm_stream_si128(out + 1, b);
        } else {
            _mm_store_si128(out, a);
            _mm_store_si128(out + 1, b);
        }
    }
    return i;
}

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

// Blue and red of four pixels trade places in one shuffle. Returns how many
// pixels it wrote.
__attribute__((target("ssse3"))) std::int64_t SwapRedBlueWithShuffle(const std::uint8_t* src, std::uint8_t* dest,
                                                                     std::int64_t count, std::uint32_t opaque) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
    std::int64_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
        v = _mm_or_si128(_mm_shuffle_epi8(v, order), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + 4 * i), v);
    }
    return i;
}
#endif

}  // namespace

void ExpandBgrToBgra(const std::uint8_t* src, std::uint8_t* dest, std::int64_t count) {
    std::int64_t i = 0;
#if defined(__SSE2__)
    // Up to a 16-byte boundary of the destination one pixel at a time, then
    // four at a time with stores that do not fill the cache: a picture of
    // many megabytes would only evict what the caller needs next.
    while (i < count && (reinterpret_cast<std::uintptr_t>(dest + 4 * i) & 15) != 0) {
        ExpandOne(src + 3 * i, dest + 4 * i);
        ++i;
    }
    // Each pixel's three bytes move to their own 32-bit lane by a byte shift
    // of the 16 loaded bytes; a mask keeps the lane and the alpha is set.
    // The load takes 4 bytes past the 12 it uses, so it stops 6 pixels short
    // of the end of the row.
    const __m128i lane0 = _mm_set_epi32(0, 0, 0, 0x00FFFFFF);
    const __m128i lane1 = _mm_set_epi32(0, 0, 0x00FFFFFF, 0);
    const __m128i lane2 = _mm_set_epi32(0, 0x00FFFFFF, 0, 0);
    const __m128i lane3 = _mm_set_epi32(0x00FFFFFF, 0, 0, 0);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaque));
    // Short runs (the raw packets of run-length data) are stored the usual
    // way: a streaming store of part of a cache line costs more than it saves.
    const bool stream = count >= kStreamingMinimum;
#if defined(OVLET_HAVE_SSSE3_PATH)
    if (HasSsse3()) {
        i += ExpandWithShuffle(src + 3 * i, dest + 4 * i, count - i, stream);
    }
#endif
    for (; i + 6 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
        __m128i p = _mm_or_si128(_mm_and_si128(v, lane0), _mm_and_si128(_mm_slli_si128(v, 1), lane1));
        p = _mm_or_si128(p, _mm_and_si128(_mm_slli_si128(v, 2), lane2));
        p = _mm_or_si128(p, _mm_and_si128(_mm_slli_si128(v, 3), lane3));
        p = _mm_or_si128(p, alpha);
        if (stream) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(dest + 4 * i), p);
        } else {
            _mm_store_si128(reinterpret_cast<__m128i*>(dest + 4 * i), p);
        }
    }
#endif
    for (; i + 4 <= count; i += 4) {
        std::uint32_t p[4];
        ExpandFour(src + 3 * i, p);
        std::memcpy(dest + 4 * i, p, sizeof p);
    }
    for (; i < count; ++i) {
        ExpandOne(src + 3 * i, dest + 4 * i);
    }
}

void FinishRows() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

void LineToRgba(const CBmp& bitmap, std::int32_t y, std::uint8_t* out) {
    const std::uint8_t* line = bitmap.GetLineTable()[y];
    const std::int32_t width = bitmap.GetWidth();
    const RGBQuad* palette = bitmap.GetPalette();
    auto fromPalette = [&](std::int32_t x, unsigned index) {
        const RGBQuad& entry = palette[index];
        std::uint8_t* p = out + 4 * x;
        p[0] = entry.red;
        p[1] = entry.green;
        p[2] = entry.blue;
        p[3] = 255;
    };
    switch (bitmap.GetBitsPerPixel()) {
        case 1:
            for (std::int32_t x = 0; x < width; ++x) fromPalette(x, (unsigned{line[x / 8]} >> (7 - x % 8)) & 1u);
            return;
        case 4:
            for (std::int32_t x = 0; x < width; ++x) fromPalette(x, (unsigned{line[x / 2]} >> (x % 2 ? 0 : 4)) & 0xFu);
            return;
        case 8:
            for (std::int32_t x = 0; x < width; ++x) fromPalette(x, line[x]);
            return;
        case 16:
            for (std::int32_t x = 0; x < width; ++x) {
                unsigned w = line[2 * x] | (unsigned{line[2 * x + 1]} << 8);
                std::uint8_t* p = out + 4 * x;
                p[0] = static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3);
                p[1] = static_cast<std::uint8_t>(((w >> 5) & 0x1F) << 3);
                p[2] = static_cast<std::uint8_t>((w & 0x1F) << 3);
                p[3] = 255;
            }
            return;
        case 24:
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint8_t* p = out + 4 * x;
                p[0] = line[3 * x + 2];
                p[1] = line[3 * x + 1];
                p[2] = line[3 * x];
                p[3] = 255;
            }
            return;
        default: {
            // Blue and red trade places.
            const std::uint32_t opaque = bitmap.HasAlpha() ? 0 : 0xFF000000u;
            std::int32_t x = 0;
#if defined(OVLET_HAVE_SSSE3_PATH)
            if (HasSsse3()) {
                x = static_cast<std::int32_t>(SwapRedBlueWithShuffle(line, out, width, opaque));
            }
#endif
            for (; x < width; ++x) {
                std::uint32_t p;
                std::memcpy(&p, line + 4 * x, 4);
                p = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16) | opaque;
                std::memcpy(out + 4 * x, &p, 4);
            }
            return;
        }
    }
}

}  // namespace ovlet::picture::rows
