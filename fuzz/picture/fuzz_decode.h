// Shared set-up of the picture fuzz targets: every decode runs over the bytes
// in memory with smaller picture limits, so a header that asks for a huge
// picture is refused quickly instead of being decoded for seconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "picture/data_source.h"
#include "picture/pic_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet::picture::fuzz {

inline constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 22;
inline constexpr std::int64_t kFuzzMaxBytes = std::int64_t{64} << 20;

// Decodes at each requested depth, and once reduced to fit a small box as
// the picture panel does; every failure must be a CTextException. Whenever a
// full decode succeeds, the header step must tell the same size.
inline void DecodeAllDepths(CPicDecoder& decoder, const std::uint8_t* data, std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return;
    }
    decoder.SetPictureLimits(kFuzzMaxPixels, kFuzzMaxBytes);
    {
        CDataSource source;
        source.OpenData("fuzz", data, static_cast<std::int32_t>(size));
        CWinBmp bitmap;
        try {
            decoder.DecodeSourceToFit(&source, &bitmap, 32, 64, 48);
        } catch (const CTextException&) {
        }
    }
    for (int depth : {0, 8, 32}) {
        CDataSource source;
        source.OpenData("fuzz", data, static_cast<std::int32_t>(size));
        CWinBmp bitmap;
        try {
            decoder.DecodeSource(&source, &bitmap, depth);
        } catch (const CTextException&) {
            // A failed decode leaves the bitmap empty or as it was: its line
            // table must still match its size.
            if (!bitmap.IsEmpty() && bitmap.GetLineTable() == nullptr && bitmap.GetHeight() > 0) {
                __builtin_trap();
            }
            continue;
        }
        try {
            CDataSource again;
            again.OpenData("fuzz", data, static_cast<std::int32_t>(size));
            PictureHeader header = decoder.ReadHeader(&again);
            if (header.width != bitmap.GetWidth() || header.height != bitmap.GetHeight()) {
                __builtin_trap();
            }
        } catch (const CTextException&) {
            __builtin_trap();  // the header of a picture that decodes must read
        }
        // Touch every line, so a line table pointing outside the storage
        // shows under the address sanitizer.
        volatile std::uint8_t sink = 0;
        for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
            const std::uint8_t* line = bitmap.GetLineTable()[y];
            if (bitmap.GetLineBytes() > 0) {
                sink = static_cast<std::uint8_t>(sink + line[0] + line[bitmap.GetLineBytes() - 1]);
            }
        }
    }
}

}  // namespace ovlet::picture::fuzz
