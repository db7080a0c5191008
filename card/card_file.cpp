#include "card/card_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "card/archive_string.h"
#include "card/card_summary.h"
#include "files/file_status.h"
#include "files/input_file.h"

namespace ovlet::card {

namespace {

constexpr std::uint8_t kVersionOne[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};  // 1.0 as an IEEE double

void DecodePicture(CardRecord& record, CardWindowSide& side, CardReading& reading) {
    // The panel decodes the bytes where they are: reading a card writes no file.
    const Result<std::pair<int, int>> shown =
        side.SetPictureData(record.PictureBytes.data(), static_cast<std::size_t>(record.PictureLength));
    reading.pictureShown = static_cast<bool>(shown);
    if (shown) {
        record.ImageSizeText = PictureSizeText(shown->first, shown->second);
    } else {
        // The bytes stay in the record and are saved again unchanged.
        record.ImageSizeText = "N/A";
        reading.notes.push_back(
            {CardMessageIcon::Exclamation, CardNoteId::PictureNotShown, {shown.Error().Describe()}});
    }
}

}  // namespace

std::string PictureSizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

const char* CardNotePattern(CardNoteId id) {
    switch (id) {
        case CardNoteId::CannotOpen: return kCannotOpenCardMessage;
        case CardNoteId::PastEnd: return kPastEndMessage;
        case CardNoteId::Damaged: return kDamagedMessage;
        case CardNoteId::PictureNotShown: return kPictureNotShownMessage;
        case CardNoteId::DiskFull: return kDiskFullMessage;
        case CardNoteId::WriteFailed: return kWriteFailedMessage;
        case CardNoteId::NoWebSite: return kNoWebSiteMessage;
        case CardNoteId::WebSiteHasSpaces: return kWebSiteHasSpacesMessage;
        case CardNoteId::WebSiteIsLocal: return kWebSiteIsLocalMessage;
        case CardNoteId::WebSiteScheme: return kWebSiteSchemeMessage;
        case CardNoteId::WebSiteNoHost: return kWebSiteNoHostMessage;
        case CardNoteId::EMailNotSingle: return kEMailNotSingleMessage;
    }
    return kCannotOpenCardMessage;
}

std::string CardNoteText(const CardNote& note) {
    std::string text(CardNotePattern(note.id));
    if (const std::size_t mark = text.find("%1"); mark != std::string::npos) {
        std::string argument;
        for (const std::string& part : note.arguments) argument += (argument.empty() ? "" : ": ") + part;
        text.replace(mark, 2, argument);
    }
    return text;
}

std::string RecordOnlySide::GetEditText(std::string CardRecord::*field) {
    return record.*field;
}

void RecordOnlySide::SetEditText(std::string CardRecord::*field, const std::string& text) {
    record.*field = text;
}

Result<std::pair<int, int>> RecordOnlySide::SetPictureData(const std::uint8_t*, std::size_t) {
    return CardError{CardError::Kind::PictureNotShown, "no picture panel", {}};
}

namespace {

// The failure of a read that stopped: the reader's own, or the file's end or
// damage. Its text is the caller's, who knows the file's name.
CardError ReadStopped(const CardByteReader& reader, ArchiveStringStatus status) {
    if (reader.Failed()) {
        return {CardError::Kind::ReadFailed, {}, {CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}}};
    }
    if (status != ArchiveStringStatus::PastEnd) {
        return {CardError::Kind::Damaged, {}, {CardMessageIcon::Stop, CardNoteId::Damaged, {}}};
    }
    return {CardError::Kind::PastEnd, {}, {CardMessageIcon::Stop, CardNoteId::PastEnd, {}}};
}

Result<CardReading> ReadCard(CardByteReader& reader, CardRecord& record, CardWindowSide& side,
                             const CardReadOptions& options) {
    CardReading result;
    auto stopOn = [&](ArchiveStringStatus status) { return ReadStopped(reader, status); };

    // The version, the reserved word and the picture length are raw bytes: a
    // short read of them is not an error. No version is rejected.
    std::uint8_t version[8];
    reader.ReadSome(version, sizeof version);
    std::string text;
    if (auto status = ReadArchiveString(reader, text); status != ArchiveStringStatus::Ok) return stopOn(status);
    std::uint8_t reserved[4];
    reader.ReadSome(reserved, sizeof reserved);

    for (const auto& field : kCardFields) {
        if (auto status = ReadArchiveString(reader, text, kMaxCardFieldBytes); status != ArchiveStringStatus::Ok) {
            return stopOn(status);
        }
        record.*field.member = text;
        if (field.multiLine) side.SetEditText(field.member, text);
    }

    std::uint8_t lengthBytes[4] = {0, 0, 0, 0};
    reader.ReadSome(lengthBytes, sizeof lengthBytes);
    if (reader.Failed()) return stopOn(ArchiveStringStatus::PastEnd);
    std::int32_t length = 0;
    std::memcpy(&length, lengthBytes, sizeof length);
    if (length > 0) {
        // A picture block shorter than its stated length keeps the bytes that
        // are there; no unset byte ever reaches the decoder or a saved file.
        const auto present =
            static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(length), reader.Remaining()));
        // More picture than a card holds is never read; counting it costs nothing.
        if (options.readPicture && present > kMaxCardPictureBytes) return stopOn(ArchiveStringStatus::TooLong);
        if (options.readPicture) {
            std::vector<std::uint8_t> bytes(present);
            bytes.resize(reader.ReadSome(bytes.data(), present));
            if (reader.Failed()) return stopOn(ArchiveStringStatus::PastEnd);
            result.pictureLength = static_cast<std::int32_t>(bytes.size());
            record.SetPicture(std::move(bytes));
            result.pictureRead = result.pictureLength > 0;
            if (result.pictureRead && side.ShowsPictures()) DecodePicture(record, side, result);
        } else {
            record.ReleasePicture();
            result.pictureLength = static_cast<std::int32_t>(present);
        }
        result.pictureShort = static_cast<std::uint64_t>(result.pictureLength) < static_cast<std::uint64_t>(length);
    } else {
        record.ReleasePicture();
    }

    ComposeSummary(record);
    return result;
}

}  // namespace

Result<CardReading> ReadCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                                 const CardReadOptions& options) {
    record.CurrentPath = path;
    record.CurrentFileLabel = path;
    const CardNote cannotOpen{CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}};
    files::InputFile file;
    if (!file.Open(path)) {
        record.CurrentPath.clear();
        return CardError{CardError::Kind::CannotOpen, file.Error().Describe(), cannotOpen};
    }
    Result<CardReading> result = CardReading{};
    if (file.SizeKnown()) {
        CardByteReader reader(file);
        result = ReadCard(reader, record, side, options);
    } else {
        // A file that gives no size (an empty one, or the kernel's own) is
        // read to its end first, up to a bound, as some of the kernel's files
        // go on for ever; what it holds is then all there is.
        std::vector<std::uint8_t> bytes;
        std::size_t got = 0;
        do {
            const std::size_t used = bytes.size();
            bytes.resize(used + (1 << 16));
            if (!file.Read(bytes.data() + used, 1 << 16, got) || used > files::kMaxTextFileBytes) {
                record.CurrentPath.clear();
                return CardError{CardError::Kind::ReadFailed,
                                 file.Error().Describe().empty()
                                     ? "cannot read " + path + ": it tells no size and goes on past " +
                                           files::SizeText(files::kMaxTextFileBytes)
                                     : file.Error().Describe(),
                                 cannotOpen};
            }
            bytes.resize(used + got);
        } while (got > 0);
        CardByteReader reader(bytes.data(), bytes.size());
        result = ReadCard(reader, record, side, options);
    }
    if (result) return result;
    CardError failure = result.Error();
    if (failure.kind == CardError::Kind::ReadFailed) {
        record.CurrentPath.clear();
        failure.text = file.Error().Describe();
    } else {
        failure.text = "card " + path + " is damaged or truncated";
    }
    return failure;
}

Result<CardReading> ReadCardBytes(const std::uint8_t* data, std::size_t size, CardRecord& record,
                                  CardWindowSide& side, const CardReadOptions& options) {
    CardByteReader reader(data, size);
    Result<CardReading> result = ReadCard(reader, record, side, options);
    if (result) return result;
    CardError failure = result.Error();
    failure.text = "the card is damaged or truncated";
    return failure;
}

std::vector<std::uint8_t> EncodeCardFields(const CardRecord& record, std::int32_t pictureLength) {
    std::vector<std::uint8_t> out;
    out.reserve(512);
    out.insert(out.end(), std::begin(kVersionOne), std::end(kVersionOne));
    WriteArchiveString(out, kCardNotice);
    out.insert(out.end(), 4, 0);  // reserved word
    for (const auto& field : kCardFields) WriteArchiveString(out, record.*field.member);
    const auto u = static_cast<std::uint32_t>(pictureLength);
    for (unsigned i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    return out;
}

std::vector<std::uint8_t> TakeTextsAndEncodeHead(CardRecord& record, CardWindowSide& side) {
    for (const auto& field : kCardFields) {
        if (field.multiLine) record.*field.member = side.GetEditText(field.member);
    }
    return EncodeCardFields(record, record.HasPicture() ? record.PictureLength : 0);
}

namespace {

CardNote WriteFailedNote(const std::string& path, int error) {
    if (files::MeansDiskFull(error)) return {CardMessageIcon::Exclamation, CardNoteId::DiskFull, {path}};
    return {CardMessageIcon::Exclamation, CardNoteId::WriteFailed, {path, std::strerror(error)}};
}

}  // namespace

std::string CardOverLimits(const CardRecord& record, std::size_t pictureSize) {
    for (const auto& field : kCardFields) {
        if ((record.*field.member).size() > kMaxCardFieldBytes) {
            return std::string(field.name) + " is longer than a card may hold (1 MiB)";
        }
    }
    return pictureSize > kMaxCardPictureBytes ? "the picture is larger than a card may hold (128 MiB)" : "";
}

namespace {

Result<void> WriteCardParts(const std::string& path, const std::vector<std::uint8_t>& head, const std::uint8_t* picture,
                            std::size_t pictureSize, const files::WriteOptions& options) {
    files::OutputFile file(options);
    if (!file.Open(path)) return CardError{CardError::Kind::CannotOpen, file.Error().Describe(), {}};
    if (file.Write(head.data(), head.size()) && file.Write(picture, pictureSize) && file.Commit()) return {};
    if (file.Failure() == files::WriteFailure::CannotOpen) {
        return CardError{CardError::Kind::CannotOpen, file.Error().Describe(), {}};
    }
    const CardNote note = WriteFailedNote(path, file.ErrorNumber());
    return CardError{CardError::Kind::WriteFailed, CardNoteText(note), note};
}

// A card over the limits is refused before any file is touched.
CardError OverLimits(const std::string& path, const std::string& why) {
    return {CardError::Kind::CannotOpen, "cannot write " + path + ": " + why, {}};
}

}  // namespace

const CardFileOps& DefaultCardFileOps() {
    return files::DefaultWriteOps();
}

Result<void> WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                           const files::WriteOptions& options) {
    const std::vector<std::uint8_t> head = TakeTextsAndEncodeHead(record, side);
    const bool picture = record.HasPicture();
    if (const std::string why = CardOverLimits(record, picture ? static_cast<std::size_t>(record.PictureLength) : 0);
        !why.empty()) {
        return OverLimits(path, why);
    }
    return WriteCardParts(path, head, picture ? record.PictureBytes.data() : nullptr,
                          picture ? static_cast<std::size_t>(record.PictureLength) : 0, options);
}

Result<void> WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                           const CardFileOps& ops) {
    files::WriteOptions options;
    options.ops = &ops;
    return WriteCardFile(path, record, side, options);
}

Result<void> WriteCardWithPicture(const std::string& path, const CardRecord& record, const std::uint8_t* picture,
                                  std::size_t pictureSize, const files::WriteOptions& options) {
    if (const std::string why = CardOverLimits(record, pictureSize); !why.empty()) return OverLimits(path, why);
    const std::vector<std::uint8_t> head = EncodeCardFields(record, static_cast<std::int32_t>(pictureSize));
    return WriteCardParts(path, head, picture, pictureSize, options);
}

}  // namespace ovlet::card
