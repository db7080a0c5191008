#include "card/archive_string.h"

#include <cstring>

#include "card/codepage.h"

bool CardByteReader::ReadU8(std::uint8_t& value) {
    if (Remaining() < 1) return false;
    value = data_[pos_++];
    return true;
}

bool CardByteReader::ReadU16(std::uint16_t& value) {
    if (Remaining() < 2) return false;
    value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
}

bool CardByteReader::ReadU32(std::uint32_t& value) {
    if (Remaining() < 4) return false;
    value = static_cast<std::uint32_t>(data_[pos_]) | (static_cast<std::uint32_t>(data_[pos_ + 1]) << 8) |
            (static_cast<std::uint32_t>(data_[pos_ + 2]) << 16) | (static_cast<std::uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return true;
}

std::size_t CardByteReader::ReadSome(std::uint8_t* out, std::size_t count) {
    const std::size_t n = count < Remaining() ? count : Remaining();
    if (n > 0) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return n;
}

const std::uint8_t* CardByteReader::Take(std::size_t count) {
    if (count > Remaining()) return nullptr;
    const std::uint8_t* p = data_ + pos_;
    pos_ += count;
    return p;
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

ArchiveStringStatus ReadArchiveString(CardByteReader& reader, std::string& out) {
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
    if (byteCount > reader.Remaining()) return ArchiveStringStatus::PastEnd;
    const std::uint8_t* bytes = reader.Take(static_cast<std::size_t>(byteCount));
    if (wide) {
        out = codepage::AnsiFromUtf16Le(bytes, static_cast<std::size_t>(byteCount));
    } else {
        out.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(byteCount));
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
