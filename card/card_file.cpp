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

void DecodePicture(CardRecord& record, CardWindowSide& side, CardReadResult& result) {
    // The panel decodes the bytes where they are: reading a card writes no file.
    int width = 0;
    int height = 0;
    std::string error;
    result.pictureShown = side.SetPictureData(record.PictureBytes.data(),
                                              static_cast<std::size_t>(record.PictureLength), width, height, error);
    if (result.pictureShown) {
        record.ImageSizeText = PictureSizeText(width, height);
    } else {
        // The bytes stay in the record and are saved again unchanged.
        record.ImageSizeText = "N/A";
        result.notes.push_back({CardMessageIcon::Exclamation, CardNoteId::PictureNotShown, {error}});
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

bool RecordOnlySide::SetPictureData(const std::uint8_t*, std::size_t, int&, int&, std::string& error) {
    error = "no picture panel";
    return false;
}

namespace {

CardReadResult ReadCard(CardByteReader& reader, CardRecord& record, CardWindowSide& side,
                        const CardReadOptions& options) {
    CardReadResult result;

    auto stopOn = [&](ArchiveStringStatus status) {
        if (reader.Failed()) {
            result.notes.push_back({CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}});
            result.outcome = CardReadOutcome::ReadFailed;
        } else if (status != ArchiveStringStatus::PastEnd) {
            result.notes.push_back({CardMessageIcon::Stop, CardNoteId::Damaged, {}});
            result.outcome = CardReadOutcome::Damaged;
        } else {
            result.notes.push_back({CardMessageIcon::Stop, CardNoteId::PastEnd, {}});
            result.outcome = CardReadOutcome::PastEnd;
        }
        return result;
    };

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

CardReadResult ReadCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                            const CardReadOptions& options) {
    record.CurrentPath = path;
    record.CurrentFileLabel = path;
    ovlet::files::InputFile file;
    if (!file.Open(path)) {
        record.CurrentPath.clear();
        CardReadResult result;
        result.notes.push_back({CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}});
        result.outcome = CardReadOutcome::CannotOpen;
        result.error = file.Error().Describe();
        return result;
    }
    CardReadResult result;
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
            if (!file.Read(bytes.data() + used, 1 << 16, got) || used > ovlet::files::kMaxTextFileBytes) {
                if (file.Error().Describe().empty())
                    result.error = "cannot read " + path + ": it tells no size and goes on past " +
                                   ovlet::files::SizeText(ovlet::files::kMaxTextFileBytes);
                result.notes.push_back({CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}});
                record.CurrentPath.clear();
                result.outcome = CardReadOutcome::ReadFailed;
                if (result.error.empty()) result.error = file.Error().Describe();
                return result;
            }
            bytes.resize(used + got);
        } while (got > 0);
        CardByteReader reader(bytes.data(), bytes.size());
        result = ReadCard(reader, record, side, options);
    }
    if (result.outcome == CardReadOutcome::ReadFailed) {
        record.CurrentPath.clear();
        result.error = file.Error().Describe();
    }
    return result;
}

CardReadResult ReadCardBytes(const std::uint8_t* data, std::size_t size, CardRecord& record, CardWindowSide& side,
                             const CardReadOptions& options) {
    CardByteReader reader(data, size);
    return ReadCard(reader, record, side, options);
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
    if (ovlet::files::MeansDiskFull(error)) return {CardMessageIcon::Exclamation, CardNoteId::DiskFull, {path}};
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

CardWriteResult WriteCardParts(const std::string& path, const std::vector<std::uint8_t>& head,
                               const std::uint8_t* picture, std::size_t pictureSize,
                               const ovlet::files::WriteOptions& options) {
    ovlet::files::OutputFile file(options);
    if (!file.Open(path)) return {CardWriteOutcome::CannotOpen, file.Error().Describe(), {}};
    if (file.Write(head.data(), head.size()) && file.Write(picture, pictureSize) && file.Commit()) return {};
    if (file.Failure() == ovlet::files::WriteFailure::CannotOpen) return {CardWriteOutcome::CannotOpen, file.Error().Describe(), {}};
    const CardNote note = WriteFailedNote(path, file.ErrorNumber());
    return {CardWriteOutcome::WriteFailed, CardNoteText(note), note};
}

}  // namespace

const CardFileOps& DefaultCardFileOps() {
    return ovlet::files::DefaultWriteOps();
}

CardWriteResult WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                              const ovlet::files::WriteOptions& options) {
    const std::vector<std::uint8_t> head = TakeTextsAndEncodeHead(record, side);
    const bool picture = record.HasPicture();
    if (const std::string why = CardOverLimits(record, picture ? static_cast<std::size_t>(record.PictureLength) : 0);
        !why.empty()) {
        return {CardWriteOutcome::CannotOpen, "cannot write " + path + ": " + why, {}};
    }
    return WriteCardParts(path, head, picture ? record.PictureBytes.data() : nullptr,
                          picture ? static_cast<std::size_t>(record.PictureLength) : 0, options);
}

CardWriteResult WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                              const CardFileOps& ops) {
    ovlet::files::WriteOptions options;
    options.ops = &ops;
    return WriteCardFile(path, record, side, options);
}

CardWriteResult WriteCardWithPicture(const std::string& path, const CardRecord& record, const std::uint8_t* picture,
                                     std::size_t pictureSize, const ovlet::files::WriteOptions& options) {
    if (const std::string why = CardOverLimits(record, pictureSize); !why.empty()) {
        return {CardWriteOutcome::CannotOpen, "cannot write " + path + ": " + why, {}};
    }
    const std::vector<std::uint8_t> head = EncodeCardFields(record, static_cast<std::int32_t>(pictureSize));
    return WriteCardParts(path, head, picture, pictureSize, options);
}

}  // namespace ovlet::card
