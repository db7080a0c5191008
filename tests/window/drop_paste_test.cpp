// Files dropped on the windows and pictures pasted into the maker: what the
// scripted desktop is asked and what the card holds afterwards, as after the
// commands they stand for (Import, Open).
#include <zlib.h>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QUrl>

#include <cstring>

#include "controls/picture_static.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/win_bmp.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

const QString kAdvice = QStringLiteral("Ovlet Maker will import the selected image.");
const QString kSaveChanges = QStringLiteral("Do you wish to save your changes to the current document?");

// Drags `data` onto `target` and drops it there, as the desktop does; false
// when the window refuses the drag.
bool Drop(QWidget* target, QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

QMimeData* FileData(const std::string& path) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    return data;
}

std::vector<std::uint8_t> Padded(const std::string& source, std::size_t size) {
    auto bytes = FileBytes(source);
    bytes.resize(size, 0);  // decoders stop at the picture's end marker
    return bytes;
}

struct DropCase {
    const char* name;
    bool viewer;
    int target;  // the control the file is dropped on
    const char* file;
    bool accepted;
    std::vector<QString> messages;  // each message starts so
    std::int32_t pictureLength;     // afterwards; -1: the sample card's picture
    const char* company;            // shown afterwards
};

TEST_F(WindowTest, DroppedFilesAreImportedOrOpened) {
    ScratchDir dir;
    WriteFile(dir / "big.jpg", Padded(SamplesDir() + "/sample.jpg", 35001));
    WriteFile(dir / "small.JPG", Padded(SamplesDir() + "/sample.jpg", 12000));
    WriteFile(dir / "bad.png", {'n', 'o', 't'});
    std::filesystem::create_directory(dir / "folder");
    WriteCard(dir / "other.OVT", CompanyCard("Dropped Co"));
    const DropCase cases[] = {
        {"picture on the Image page",
         false,
         resources::kIdPicture,
         "small.JPG",
         true,
         {},
         12000,
         "Harbour Light Instruments"},
        {"large picture on a field",
         false,
         resources::kIdCompany,
         "big.jpg",
         true,
         {kAdvice},
         35001,
         "Harbour Light Instruments"},
        {"not a picture",
         false,
         resources::kIdPicture,
         "bad.png",
         true,
         {"The picture cannot be imported."},
         -1,
         "Harbour Light Instruments"},
        {"a folder",
         false,
         resources::kIdTabs,
         "folder",
         true,
         {"Error opening graphic file."},
         -1,
         "Harbour Light Instruments"},
        {"card on the maker", false, resources::kIdStreetAddress, "other.OVT", true, {kSaveChanges}, 0, "Dropped Co"},
        {"card on the viewer", true, resources::kIdPicture, "other.OVT", true, {}, 0, "Dropped Co"},
        {"picture on the viewer", true, resources::kIdPicture, "small.JPG", false, {}, -1, "Harbour Light Instruments"},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        ui.calls.clear();
        std::unique_ptr<CardWindowOnQt> window = OpenIn(c.viewer, SamplesDir() + "/sample.ovt");
        const auto sample = window->Record().PictureBytes;
        window->SelectTab(c.target == resources::kIdCompany || c.target == resources::kIdStreetAddress ? 1 : 0);
        std::unique_ptr<QMimeData> data(FileData(dir / c.file));
        EXPECT_EQ(Drop(window->Item(c.target), data.get()), c.accepted);
        const auto messages = Messages();
        ASSERT_EQ(messages.size(), c.messages.size());
        for (std::size_t i = 0; i < messages.size(); ++i) EXPECT_TRUE(messages[i].startsWith(c.messages[i]));
        if (c.pictureLength < 0) {
            EXPECT_EQ(window->Record().PictureBytes, sample);
        } else {
            EXPECT_EQ(window->Record().PictureLength, c.pictureLength);
            if (c.pictureLength > 0) {
                EXPECT_EQ(window->Record().PictureBytes, FileBytes(dir / c.file));
            }
        }
        const QString company = window->ItemText(c.viewer ? resources::kIdCompanyLine : resources::kIdCompany);
        EXPECT_EQ(company, QString::fromUtf8(c.company));
        // A dropped card is the window's card, with its file.
        if (std::string(c.file) == "other.OVT") {
            EXPECT_EQ(window->Record().CurrentPath, dir / "other.OVT");
        }
    }
    // Text dragged into a field is still the field's.
    auto window = Open();
    window->SelectTab(1);
    QMimeData text;
    text.setText(QStringLiteral("typed"));
    Drop(window->Item(resources::kIdCompany), &text);
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("typed"));
}

QImage Gradient(int width, int height, bool transparent, bool noise) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int n = noise ? static_cast<int>(QRandomGenerator::global()->bounded(256)) : 0;
            image.setPixel(x, y,
                           qRgba((x * 255 / width + n) & 255, y * 255 / height, n, transparent && x < 10 ? 0 : 255));
        }
    }
    return image;
}

struct PasteCase {
    const char* name;
    int tab;
    QImage image;       // null: a copied file instead
    const char* magic;  // how the stored picture begins; "": unchanged
    bool advice;
    bool beep;
};

TEST_F(WindowTest, PastedPicturesAreImportedAsJpegOrPng) {
    ScratchDir dir;
    const PasteCase cases[] = {
        {"opaque picture", 0, Gradient(120, 80, false, false), "\xFF\xD8\xFF", false, false},
        {"transparent picture", 0, Gradient(120, 80, true, false), "\x89PNG", false, false},
        {"large photograph", 0, Gradient(640, 480, false, true), "\xFF\xD8\xFF", true, false},
        {"copied picture file", 0, QImage(), "\xFF\xD8\xFF", false, false},
        {"on the Company page the field takes it", 1, Gradient(120, 80, false, false), "", false, false},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.name);
        ui.calls.clear();
        auto window = Open(SamplesDir() + "/sample.ovt");
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        const auto sample = window->Record().PictureBytes;
        window->SelectTab(c.tab);
        window->Item(c.tab == 0 ? resources::kIdPicture : resources::kIdCompany)->setFocus();
        if (c.image.isNull()) {
            QApplication::clipboard()->setMimeData(FileData(SamplesDir() + "/sample.jpg"));
        } else {
            QApplication::clipboard()->setImage(c.image);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        const auto& bytes = window->Record().PictureBytes;
        if (!*c.magic) {
            EXPECT_EQ(bytes, sample);
            continue;
        }
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::strlen(c.magic))),
                  c.magic);
        EXPECT_EQ(Messages().size(), c.advice ? 1u : 0u);
        if (c.advice) {
            EXPECT_TRUE(Messages()[0].startsWith(kAdvice));
        }
        EXPECT_EQ(!ui.Of("beep").empty(), c.beep);
        const QSize size = c.image.isNull() ? QSize(320, 200) : c.image.size();
        EXPECT_EQ(window->ItemText(resources::kIdImageSize),
                  QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
        // What the card stores, the card's own decoder reads, transparency included.
        picture::CWinBmp decoded;
        picture::CDataSource source;
        source.OpenData("pasted", bytes.data(), static_cast<std::int32_t>(bytes.size()));
        controls::SharedDecoder().DecodeSource(&source, &decoded, 32);
        EXPECT_EQ(decoded.GetWidth(), size.width());
        EXPECT_EQ(decoded.HasAlpha(), std::string(c.magic) == "\x89PNG");
    }
    // Nothing to paste: a beep, and the card stays.
    ui.calls.clear();
    auto window = Open();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QApplication::clipboard()->setText(QStringLiteral("words"));
    window->Item(resources::kIdPicture)->setFocus();
    QTest::keyClick(window->Item(resources::kIdPicture), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui.Of("beep").size(), 1u);
    EXPECT_EQ(window->Record().PictureLength, 0);
}

// A width x height PNG of 16-bit RGB samples (a soft ramp), written row by
// row so that even a very large one costs little memory to make.
std::vector<std::uint8_t> Png16(int width, int height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto chunk = [&png](const char* type, const std::vector<std::uint8_t>& data) {
        const auto length = static_cast<std::uint32_t>(data.size());
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<std::uint8_t>(length >> shift));
        std::vector<std::uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        const auto crc = static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<std::uint8_t>(crc >> shift));
    };
    std::vector<std::uint8_t> header;
    for (int value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    header.insert(header.end(), {16, 2, 0, 0, 0});  // 16 bits, RGB, deflate, no filter, not interlaced
    chunk("IHDR", header);
    z_stream z{};
    deflateInit(&z, 1);
    std::vector<std::uint8_t> row(1 + static_cast<std::size_t>(width) * 6), compressed;
    std::vector<std::uint8_t> out(1 << 16);
    for (int y = 0; y <= height; ++y) {
        if (y < height) {
            row[0] = 0;
            for (int x = 0; x < width; ++x) {
                const auto level = static_cast<std::uint16_t>((x * 65535LL) / width);
                const std::uint8_t sample[6] = {static_cast<std::uint8_t>(level >> 8),
                                                static_cast<std::uint8_t>(level),
                                                static_cast<std::uint8_t>(y * 255 / height),
                                                0,
                                                0x80,
                                                0};
                std::memcpy(&row[1 + static_cast<std::size_t>(x) * 6], sample, 6);
            }
            z.next_in = row.data();
            z.avail_in = static_cast<uInt>(row.size());
        }
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            deflate(&z, y < height ? Z_NO_FLUSH : Z_FINISH);
            compressed.insert(compressed.end(), out.data(), out.data() + (out.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    chunk("IDAT", compressed);
    chunk("IEND", {});
    return png;
}

// A picture copied as a PNG file's bytes goes in as Import takes that file,
// however large (8000 x 6000 at 16 bits a sample is what cameras and editors
// copy); a clipboard that claims a picture it cannot give says so.
TEST_F(WindowTest, PastedPictureFilesGoInUnchangedAndARefusalSaysWhy) {
    ScratchDir dir;
    const std::vector<std::uint8_t> large = Png16(8000, 6000);
    WriteFile(dir / "large.png", large);
    auto window = Open();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    window->Item(resources::kIdPicture)->setFocus();
    // Import takes the file...
    ui.fileAnswers = {QString::fromStdString(dir / "large.png")};
    window->ImportPicture();
    ASSERT_EQ(window->Record().PictureBytes, large);
    window->RemovePicture();
    ui.calls.clear();
    // ... and Ctrl+V takes the same bytes.
    auto* copied = new QMimeData;
    copied->setData(QStringLiteral("image/png"),
                    QByteArray(reinterpret_cast<const char*>(large.data()), static_cast<qsizetype>(large.size())));
    QApplication::clipboard()->setMimeData(copied);
    QTest::keyClick(window->Item(resources::kIdPicture), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window->Record().PictureBytes, large);
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("8000 x 6000"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].startsWith(kAdvice));
    EXPECT_TRUE(ui.Of("beep").empty());

    // A picture that cannot be read from the clipboard: a message, the card kept.
    ui.calls.clear();
    auto* unreadable = new QMimeData;
    unreadable->setData(QStringLiteral("application/x-qt-image"), QByteArray("not a picture"));
    QApplication::clipboard()->setMimeData(unreadable);
    QTest::keyClick(window->Item(resources::kIdPicture), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].startsWith(QStringLiteral("The picture on the clipboard cannot be read")));
    EXPECT_EQ(window->Record().PictureBytes, large);
    QApplication::clipboard()->clear();
}

// Pasted text with characters a card cannot hold is refused with a message
// that names them; a single typed one is refused with a beep.
TEST_F(WindowTest, PastedTextACardCannotHoldNamesTheCharacters) {
    const QString pasted = QString::fromUtf8("\u0141\u00f3d\u017a \u20ac Caf\u00e9 \u65e5\u672c \U0001F600");
    const QString refused = QString::fromUtf8("\u0141 \u017a \u65e5 \u672c \U0001F600");
    for (const auto& [tab, id] : {std::pair{1, resources::kIdCompany}, std::pair{1, resources::kIdStreetAddress},
                                  std::pair{3, resources::kIdGeneralInformation}}) {
        SCOPED_TRACE(id);
        ui.calls.clear();
        auto window = Open();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        window->SelectTab(tab);
        window->Item(id)->setFocus();
        window->SetItemText(id, QStringLiteral("Kept"));
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(window->Item(id), Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(window->ItemText(id), QStringLiteral("Kept"));
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0],
                  QStringLiteral("A card cannot hold these characters, so the text was not pasted: ") + refused);
        EXPECT_TRUE(ui.Of("beep").empty());
        // Text the card can hold goes in.
        ui.calls.clear();
        QApplication::clipboard()->setText(QString::fromUtf8("Caf\u00e9 \u20ac"));
        QTest::keyClick(window->Item(id), Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_TRUE(window->ItemText(id).contains(QString::fromUtf8("Caf\u00e9 \u20ac")));
        EXPECT_TRUE(ui.calls.empty());
    }
    QApplication::clipboard()->clear();
}

}  // namespace
}  // namespace ovlet::window
