#include "card/archive_string.h"

#include <algorithm>
#include <cstring>

#include "card/codepage.h"
#include "files/input_file.h"

namespace ovlet::card {

namespace {

constexpr std::size_t kFileBufferBytes = 1 << 14;

}  // namespace

CardByteReader::CardByteReader(files::InputFile& input) : file(&input), size(input.Size()) {
    buffer.reserve(kFileBufferBytes);
}

bool CardByteReader::Fill() {
    if (bufferPosition < buffer.size()) return true;
    buffer.resize(kFileBufferBytes);
    bufferPosition = 0;
    std::size_t got = 0;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kFileBufferBytes, Remaining()));
    if (!file->Read(buffer.data(), want, got)) failed = true;
    buffer.resize(got);
    if (got < want) {
        // Shorter than it was when opened: it ends here.
        size = position + got;
    }
    return got > 0;
}

std::size_t CardByteReader::ReadSome(std::uint8_t* out, std::size_t count) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, Remaining()));
    if (data || !file) {
        if (n > 0) std::memcpy(out, data + position, n);
        position += n;
        return n;
    }
    std::size_t done = std::min(n, buffer.size() - bufferPosition);
    if (done > 0) std::memcpy(out, buffer.data() + bufferPosition, done);
    bufferPosition += done;
    position += done;
    if (n - done >= kFileBufferBytes) {
        // A large block (a picture) goes straight from the file into place.
        std::size_t got = 0;
        if (!file->Read(out + done, n - done, got)) failed = true;
        position += got;
        done += got;
        if (done < n) size = position;
        return done;
    }
    while (done < n && Fill()) {
        const std::size_t take = std::min(n - done, buffer.size() - bufferPosition);
        std::memcpy(out + done, buffer.data() + bufferPosition, take);
        bufferPosition += take;
        done += take;
        position += take;
    }
    return done;
}

bool CardByteReader::ReadExactly(std::uint8_t* out, std::size_t count) {
    if (count > Remaining()) return false;
    return ReadSome(out, count) == count;
}

bool CardByteReader::ReadU8(std::uint8_t& value) {
    return ReadExactly(&value, 1);
}

bool CardByteReader::ReadU16(std::uint16_t& value) {
    std::uint8_t b[2];
    if (!ReadExactly(b, 2)) return false;
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool CardByteReader::ReadU32(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!ReadExactly(b, 4)) return false;
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

namespace {

constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongLength = 0xFFFF;

enum class LengthKind { Length, WideMarker, PastEnd };

LengthKind ReadLength(CardByteReader& reader, std::uint32_t& length) {
    std::uint8_t b = 0;
    if (!reader.ReadU8(b)) return LengthKind::PastEnd;
    if (b < 0xFF) {
        length = b;
        return LengthKind::Length;
    }
    std::uint16_t w = 0;
    if (!reader.ReadU16(w)) return LengthKind::PastEnd;
    if (w == kWideMarker) return LengthKind::WideMarker;
    if (w == kLongLength) {
        return reader.ReadU32(length) ? LengthKind::Length : LengthKind::PastEnd;
    }
    length = w;
    return LengthKind::Length;
}

}  // namespace

ArchiveStringStatus ReadArchiveString(CardByteReader& reader, std::string& out, std::uint64_t maxBytes) {
    std::uint32_t length = 0;
    LengthKind kind = ReadLength(reader, length);
    if (kind == LengthKind::PastEnd) return ArchiveStringStatus::PastEnd;
    const bool wide = kind == LengthKind::WideMarker;
    if (wide) {
        kind = ReadLength(reader, length);
        if (kind == LengthKind::PastEnd) return ArchiveStringStatus::PastEnd;
        // A second marker leaves no length to read: the file is damaged.
        if (kind == LengthKind::WideMarker) return ArchiveStringStatus::Damaged;
    }
    // Compare with what remains before taking anything, so a hostile length
    // never turns into an allocation.
    const std::uint64_t byteCount = wide ? std::uint64_t{length} * 2 : length;
    if (byteCount > maxBytes) return ArchiveStringStatus::TooLong;
    if (byteCount > reader.Remaining()) return ArchiveStringStatus::PastEnd;
    const auto count = static_cast<std::size_t>(byteCount);
    if (wide) {
        std::vector<std::uint8_t> units(count);
        if (!reader.ReadExactly(units.data(), count)) return ArchiveStringStatus::PastEnd;
        out = AnsiFromUtf16Le(units.data(), count);
    } else {
        out.resize(count);
        if (!reader.ReadExactly(reinterpret_cast<std::uint8_t*>(out.data()), count)) {
            return ArchiveStringStatus::PastEnd;
        }
    }
    return ArchiveStringStatus::Ok;
}

void WriteArchiveString(std::vector<std::uint8_t>& out, std::string_view text) {
    const std::size_t length = text.size();
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    if (length < 0xFF) {
        out.push_back(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        out.push_back(0xFF);
        put16(static_cast<std::uint32_t>(length));
    } else {
        out.push_back(0xFF);
        put16(0xFFFF);
        const auto l = static_cast<std::uint32_t>(length);
        put16(l & 0xFFFF);
        put16(l >> 16);
    }
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace ovlet::card
