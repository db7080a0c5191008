// The one list of control ids against the dialog templates that use them.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <map>
#include <set>
#include <string>

#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/program_resources.h"

namespace resources = ovlet::resources;

namespace {

TEST(ControlIds, EveryControlOfEveryTemplateHasOneNameAndEveryNameIsUsed) {
    std::map<int, std::string_view> names;
    for (const NamedControlId& named : kNamedControlIds) {
        EXPECT_TRUE(names.emplace(named.id, named.name).second)
            << named.name << " has the number of " << names[named.id];
    }
    std::set<int> used;
    for (int dialog : {kDialogAbout, kDialogCard, kDialogSplash, kDialogQrCode}) {
        SCOPED_TRACE(dialog);
        const platform::DialogTemplate* layout = resources::FindDialogTemplate(dialog);
        ASSERT_NE(layout, nullptr);
        std::set<int> inThisDialog;
        for (const platform::ControlTemplate& control : layout->controls) {
            if (control.id == kIdNone) continue;
            EXPECT_TRUE(names.count(control.id)) << "control " << control.id << " (" << control.text << ") has no name";
            EXPECT_TRUE(inThisDialog.insert(control.id).second) << "control " << control.id << " twice";
            used.insert(control.id);
        }
    }
    for (const NamedControlId& named : kNamedControlIds) {
        if (named.id == kIdCancel) continue;  // Escape's command: no dialog has a Cancel button
        EXPECT_TRUE(used.count(named.id)) << named.name << " names no control";
    }
    EXPECT_EQ(resources::FindDialogTemplate(kDialogAbout)->caption, "About Ovlet Maker");
    EXPECT_EQ(resources::LoadResourceString(kStringAboutMenu), "&About Ovlet Maker");
}

}  // namespace

namespace {

// The icon reads its PNG pictures itself: every size of both programs' icons
// must come out as Qt's own PNG reader sees the file (channel order, top line
// first, transparency kept). Both are compared as they are drawn, with the
// colours premultiplied by their alpha: a pixmap keeps them so, and taking
// the alpha back out rounds differently with the processor's vector units.
TEST(ProgramIcon, EachSizeIsItsPngFilePixelForPixel) {
    for (const char* program : {"ovmake", "ovview"}) {
        const QIcon icon = resources::ProgramIcon(QString::fromLatin1(program));
        for (int side : {16, 32, 48, 64, 128}) {
            SCOPED_TRACE(std::string(program) + " " + std::to_string(side));
            const QImage shown =
                icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage file =
                QImage(QStringLiteral(":/icons/%1-%2.png").arg(QString::fromLatin1(program)).arg(side), "PNG")
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_FALSE(file.isNull());
            EXPECT_EQ(shown, file);
        }
    }
}

}  // namespace
