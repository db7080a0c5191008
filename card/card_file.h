// Reading and writing card files (.ovt).
//
// The codec is free of any window code: what it needs of the card window (the
// two multi-line edit controls, the picture panel) it asks through
// CardWindowSide, which the card window implements and tests and the
// command-line tool implement on their own. It shows nothing: what a read has
// to tell the user comes back as notes (card_notes.h), and the window shows
// the record when the read is done.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "card/card_error.h"
#include "card/card_notes.h"
#include "card/card_record.h"
#include "files/output_file.h"

namespace ovlet::card {

class CardWindowSide {
public:
    virtual ~CardWindowSide() = default;

    // The text of the edit control of a multi-line field (StreetAddress or
    // GeneralInformation), and setting it.
    virtual std::string GetEditText(std::string CardRecord::*field) = 0;
    virtual void SetEditText(std::string CardRecord::*field, const std::string& text) = 0;

    // Asks the picture panel to show the card's picture, handed over in
    // memory (no file is written for it). On success the panel keeps the
    // decoded picture and gives its width and height; on failure it shows no
    // picture and the error (PictureNotShown) says why.
    virtual Result<std::pair<int, int>> SetPictureData(const std::uint8_t* bytes, std::size_t size) = 0;

    // False for a side without a picture panel: the reader then keeps the
    // picture bytes without asking for them to be shown.
    virtual bool ShowsPictures() const { return true; }
};

// A side that keeps the multi-line fields in the record and shows nothing: for
// tools that read and write cards without a window.
class RecordOnlySide : public CardWindowSide {
public:
    explicit RecordOnlySide(CardRecord& target) : record(target) {}
    std::string GetEditText(std::string CardRecord::*field) override;
    void SetEditText(std::string CardRecord::*field, const std::string& text) override;
    Result<std::pair<int, int>> SetPictureData(const std::uint8_t* bytes, std::size_t size) override;
    bool ShowsPictures() const override { return false; }

private:
    CardRecord& record;
};

inline constexpr const char* kCardNotice =
    "If you do not have an Electronic Business Card Viewer, download latest FREE version from "
    "https://ovlet.app/.";

// The most a card holds, checked before anything is allocated for it: a text
// field at most 1 MiB (the fields' typing limits are at most 80 characters,
// and a multi-line text of 1 MiB is some 300 pages), the picture at most
// 128 MiB (a photograph of 100 megapixels is some 30 MiB as a JPEG). A card
// that says it holds more is damaged, and no card over them is written.
inline constexpr std::size_t kMaxCardFieldBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxCardPictureBytes = std::size_t{128} << 20;

// Why a card of the record's fields with a picture of `pictureSize` bytes
// cannot be written (a field or the picture over its limit), or "".
std::string CardOverLimits(const CardRecord& record, std::size_t pictureSize);

struct CardReadOptions {
    // Whether the picture's bytes are read into the record. Without them the
    // reader does not touch the picture at all (it only counts its bytes), so
    // a command that shows a card's text costs no more for a large picture.
    bool readPicture = true;
};

// A card read whole. What the user is still to be told about it (a picture
// that cannot be shown) is in `notes`: a card read with notes is no failure.
struct CardReading {
    bool pictureRead = false;        // picture bytes were taken from the file
    bool pictureShown = false;       // the panel decoded and shows them
    bool pictureShort = false;       // the file held fewer picture bytes than it said
    std::int32_t pictureLength = 0;  // the picture bytes the file holds, read or not
    std::vector<CardNote> notes;     // what to tell the user, in order
};

// The "Actual Image Size" text of a picture: "320 x 200".
std::string PictureSizeText(int width, int height);

// Reads a card file into the record and the window's multi-line controls and
// composes the display strings; what the user is to be told comes back in
// the reading's notes, or as the error's note. The caller shows the record
// when it was read. A card that cannot be read whole fails: CannotOpen (the
// file could not be opened, or is no regular file; nothing changed but the
// path), PastEnd, Damaged or ReadFailed (the fields read so far are kept).
// The file is read, not mapped, through the programs' one reader: only a
// regular file is read, and memory never exceeds the file's size.
Result<CardReading> ReadCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                                 const CardReadOptions& options = {});

// The same over bytes already in memory (the file's contents).
Result<CardReading> ReadCardBytes(const std::uint8_t* data, std::size_t size, CardRecord& record,
                                  CardWindowSide& side, const CardReadOptions& options = {});

// The bytes of a card file before the picture: the multi-line fields are
// taken from `side` into the record, and the picture length is the record's.
std::vector<std::uint8_t> TakeTextsAndEncodeHead(CardRecord& record, CardWindowSide& side);

// The same for a card whose multi-line fields are in the record, followed by
// a picture of `pictureLength` bytes.
std::vector<std::uint8_t> EncodeCardFields(const CardRecord& record, std::int32_t pictureLength);

// The file operations a save uses; tests replace them to inject failures.
using CardFileOps = files::WriteOps;
const CardFileOps& DefaultCardFileOps();

// Writes the record to `path` through the programs' one writer: the new card
// goes to a fresh file beside the target, reaches the disk, and only then
// replaces the target, so a failed save never destroys the card that was
// there; the target keeps its mode (and owner, for root), and a link stays a
// link. `options` may name standard output for "-" or leave the sync to a
// batch. CannotOpen: nothing written (also for a card over the limits);
// WriteFailed: the write failed, and the error's note says so (disk full, or
// the system's reason).
Result<void> WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                           const files::WriteOptions& options = {});
Result<void> WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                           const CardFileOps& ops);

// Writes a card of the record's fields (the multi-line ones from the record
// itself) with `picture` as its picture, whatever the record holds: cards
// made in a batch share one picture instead of a copy each. A picture of 2 GiB
// or more is refused (CannotOpen, saying so).
Result<void> WriteCardWithPicture(const std::string& path, const CardRecord& record, const std::uint8_t* picture,
                                  std::size_t pictureSize, const files::WriteOptions& options = {});

}  // namespace ovlet::card
