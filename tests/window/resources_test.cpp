// The one list of control ids against the dialog templates that use them.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "picture/resource_registry.h"
#include "picture/win_bmp.h"
#include "platform/qt/template_dialog.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/program_pictures.h"

namespace ovlet::window {
namespace {

TEST(ControlIds, EveryControlOfEveryTemplateHasOneNameAndEveryNameIsUsed) {
    std::map<int, std::string_view> names;
    for (const resources::NamedControlId& named : resources::kNamedControlIds) {
        EXPECT_TRUE(names.emplace(named.id, named.name).second)
            << named.name << " has the number of " << names[named.id];
    }
    std::set<int> used;
    for (int dialog :
         {resources::kDialogAbout, resources::kDialogCard, resources::kDialogSplash, resources::kDialogQrCode}) {
        SCOPED_TRACE(dialog);
        const platform::DialogTemplate* layout = resources::FindDialogTemplate(dialog);
        ASSERT_NE(layout, nullptr);
        std::set<int> inThisDialog;
        for (const platform::ControlTemplate& control : layout->controls) {
            if (control.id == resources::kIdNone) continue;
            EXPECT_TRUE(names.count(control.id)) << "control " << control.id << " (" << control.text << ") has no name";
            EXPECT_TRUE(inThisDialog.insert(control.id).second) << "control " << control.id << " twice";
            used.insert(control.id);
        }
    }
    for (const resources::NamedControlId& named : resources::kNamedControlIds) {
        if (named.id == resources::kIdCancel) continue;  // Escape's command: no dialog has a Cancel button
        EXPECT_TRUE(used.count(named.id)) << named.name << " names no control";
    }
    EXPECT_EQ(resources::FindDialogTemplate(resources::kDialogAbout)->caption, "About Ovlet Maker");
    EXPECT_EQ(resources::LoadResourceString(resources::kStringAboutMenu), "&About Ovlet Maker");
}

}  // namespace

namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::span<const std::uint8_t> IconFileOf(std::string_view program, int side) {
    for (const resources::IconFile& file : resources::ProgramIcons()) {
        if (file.program == program && file.side == side) return file.bytes;
    }
    return {};
}

// The programs carry the files of resources/ byte for byte: every bitmap
// there, by the number its name gives, and each program's icon in the sizes
// the windows show.
TEST(ProgramPictures, AreTheFilesOfTheResourcesFolder) {
    const std::filesystem::path folder = std::filesystem::path(OVLET_SOURCE_DIR) / "resources";
    std::set<int> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "bitmaps")) {
        onDisk.insert(std::stoi(entry.path().stem().string()));
    }
    std::set<int> carried;
    for (const resources::BitmapFile& bitmap : resources::ProgramBitmaps()) {
        SCOPED_TRACE(bitmap.id);
        EXPECT_TRUE(carried.insert(bitmap.id).second) << "carried twice";
        EXPECT_EQ(std::vector<std::uint8_t>(bitmap.bytes.begin(), bitmap.bytes.end()),
                  FileBytes(folder / "bitmaps" / (std::to_string(bitmap.id) + ".bmp")));
    }
    EXPECT_EQ(carried, onDisk);
    for (const char* program : {"ovmake", "ovview"}) {
        for (int side : {16, 32, 48, 64, 128}) {
            SCOPED_TRACE(std::string(program) + " " + std::to_string(side));
            const std::span<const std::uint8_t> bytes = IconFileOf(program, side);
            EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                      FileBytes(folder / "icons" / (std::string(program) + "-" + std::to_string(side) + ".png")));
        }
    }
}

// Each bitmap resource is its BMP file's bitmap, as Qt's own BMP reader sees
// it; a number no file has is no bitmap.
TEST(ProgramPictures, EachBitmapResourceLoadsAsItsFile) {
    for (const resources::BitmapFile& bitmap : resources::ProgramBitmaps()) {
        SCOPED_TRACE(bitmap.id);
        picture::CWinBmp loaded;
        ASSERT_TRUE(loaded.LoadFromResource(bitmap.id));
        const QImage file = QImage::fromData(bitmap.bytes.data(), static_cast<int>(bitmap.bytes.size()), "BMP");
        ASSERT_FALSE(file.isNull());
        EXPECT_EQ(loaded.GetWidth(), file.width());
        EXPECT_EQ(loaded.GetHeight(), file.height());
    }
    picture::CWinBmp none;
    EXPECT_FALSE(none.LoadFromResource(1));
    EXPECT_TRUE(picture::FindBitmapResource(1).empty());
}

// The icon reads its PNG pictures itself: every size of both programs' icons
// must come out as Qt's own PNG reader sees the file (channel order, top line
// first, transparency kept). Both are compared as they are drawn, with the
// colours premultiplied by their alpha: a pixmap keeps them so, and taking
// the alpha back out rounds differently with the processor's vector units.
TEST(ProgramIcon, EachSizeIsItsPngFilePixelForPixel) {
    for (const char* program : {"ovmake", "ovview"}) {
        const QIcon icon = platform::IconOf(program);
        for (int side : {16, 32, 48, 64, 128}) {
            SCOPED_TRACE(std::string(program) + " " + std::to_string(side));
            const QImage shown =
                icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const std::span<const std::uint8_t> bytes = IconFileOf(program, side);
            const QImage file = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "PNG")
                                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_FALSE(file.isNull());
            EXPECT_EQ(shown, file);
        }
    }
}

}  // namespace
}  // namespace ovlet::window
