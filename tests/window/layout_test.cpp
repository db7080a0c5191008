// The windows as drawn: every text inside its box and clear of the field
// beside it, every bitmap whole in its button, group captions inside their
// page. The metrics are those of the dialog font in logical pixels, which
// are the same at every scale factor.
#include <QLabel>
#include <QMouseEvent>

#include "controls/hover_button.h"
#include "maker/splash_dialog.h"
#include "picture/win_bmp.h"
#include "platform/qt/controls_basic.h"
#include "resources/program_pictures.h"
#include "viewer/viewer_dialog.h"
#include "window/about_dialog.h"
#include "window/translations.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

// A toolbar bitmap as Qt's own BMP reader sees its file.
QImage BitmapFileImage(int id) {
    for (const resources::BitmapFile& bitmap : resources::ProgramBitmaps()) {
        if (bitmap.id == id) return QImage::fromData(bitmap.bytes.data(), static_cast<int>(bitmap.bytes.size()), "BMP");
    }
    return {};
}

// Checks the controls the dialog shows now.
void ExpectTextsFitAndKeepClear(platform::TemplateDialog& dialog) {
    const auto labels = dialog.findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->isHidden() || label->text().isEmpty() || label->wordWrap()) continue;
        SCOPED_TRACE(label->text().toStdString());
        const QFontMetrics metrics(label->font());
        const int textWidth = metrics.horizontalAdvance(label->text());
        EXPECT_LE(textWidth, label->width())
            << "too wide by " << textWidth - label->width() << " of " << label->width();
        EXPECT_LE(metrics.height(), label->height());
        EXPECT_EQ(label->font().stretch(), dialog.font().stretch()) << "no label is drawn narrowed";
        // Nothing that shows beside it on the same line starts before its text ends.
        const QRect text(label->geometry().topLeft(), QSize(textWidth, label->height()));
        for (QWidget* other : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == label || other->isHidden() || qobject_cast<platform::GroupFrame*>(other) ||
                qobject_cast<platform::TabControl*>(other)) {
                continue;
            }
            const QRect box = other->geometry();
            if (box.left() < text.left() || box.bottom() < text.top() || box.top() > text.bottom()) continue;
            EXPECT_GT(box.left(), text.right() + 1) << "touches " << other->metaObject()->className();
        }
    }
    for (auto* group : dialog.findChildren<platform::GroupFrame*>()) {
        if (group->isHidden() || group->Title().isEmpty()) continue;
        SCOPED_TRACE(group->Title().toStdString());
        EXPECT_LE(QFontMetrics(group->font()).horizontalAdvance(group->Title()) + 10, group->width());
        if (auto* tabs = dialog.findChild<platform::TabControl*>()) {
            EXPECT_GT(group->y(), tabs->y() + tabs->PageTop()) << "the caption sits inside the page";
        }
    }
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        const controls::CHoverButton* hover = platform::qt::Hosted<controls::CHoverButton>(button);
        if (!hover) continue;
        SCOPED_TRACE(button->toolTip().toStdString());
        picture::CWinBmp bitmap;
        ASSERT_TRUE(bitmap.LoadFromResource(static_cast<std::uint16_t>(hover->CurrentBitmap())));
        EXPECT_GE(button->width(), bitmap.GetWidth());
        EXPECT_GE(button->height(), bitmap.GetHeight());
    }
}

// In English and in every language the programs speak: a translation that
// would not fit its box is shortened, never clipped.
TEST_F(WindowTest, EveryTextFitsItsBoxAndEveryBitmapItsButton) {
    for (const std::string& language : {std::string(), std::string("de"), std::string("fr"), std::string("es")}) {
        SCOPED_TRACE("language " + language);
        ASSERT_TRUE(InstallTranslations(language));
        auto maker = Open(SamplesDir() + "/sample.ovt");
        auto viewer = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
        for (CardWindowOnQt* window :
             {static_cast<CardWindowOnQt*>(maker.get()), static_cast<CardWindowOnQt*>(viewer.get())}) {
            for (std::size_t tab = 0; tab < window->Form().pages.size(); ++tab) {
                SCOPED_TRACE(window->windowTitle().toStdString() + " page " + std::to_string(tab));
                window->SelectTab(static_cast<int>(tab));
                ExpectTextsFitAndKeepClear(*window);
            }
        }
        for (const AboutForm* form : {&maker::kMakerAbout, &viewer::kViewerAbout}) {
            AboutOnQt about(*form);
            SCOPED_TRACE(about.dialog.windowTitle().toStdString());
            ExpectTextsFitAndKeepClear(about.dialog);
        }
    }
    InstallTranslations({});
}

// The toolbar bitmaps are 35 pixels square and the Remove bitmaps 23, larger
// than the layout's buttons: each button grows to hold its bitmap, inside its
// frame, and shows every pixel of it, the hot look's frame included.
TEST_F(WindowTest, ToolbarBitmapsAreDrawnWhole) {
    auto window = Open();
    const std::pair<int, int> buttons[] = {
        {resources::kIdNew, 134}, {resources::kIdSave, 141}, {resources::kIdExit, 153}, {resources::kIdRemove, 162}};
    for (const auto& [id, hotBitmap] : buttons) {
        SCOPED_TRACE(id);
        controls::CHoverButton* hover = window->HoverButton(id);
        ASSERT_NE(hover, nullptr);
        QWidget* button = window->Item(id);
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        ASSERT_EQ(hover->CurrentBitmap(), static_cast<std::uint32_t>(hotBitmap));
        const QImage expected = BitmapFileImage(hotBitmap).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull());
        const QImage drawn = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(drawn.width(), expected.width());
        ASSERT_GE(drawn.height(), expected.height());
        const QPoint at((drawn.width() - expected.width()) / 2, (drawn.height() - expected.height()) / 2);
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                differing += drawn.pixel(at + QPoint(x, y)) != expected.pixel(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
    const auto box = [&window](int id) {
        const QWidget* item = window->Item(id);
        return item ? item->geometry() : QRect();
    };
    for (int id : {resources::kIdNew, resources::kIdOpen, resources::kIdSave, resources::kIdSaveAs,
                   resources::kIdImport, resources::kIdHelp, resources::kIdAbout, resources::kIdExit}) {
        EXPECT_TRUE(box(resources::kIdToolbarFrame).contains(box(id))) << id;
    }
    EXPECT_LT(box(resources::kIdNew).right(), box(resources::kIdOpen).left());
}

}  // namespace
}  // namespace ovlet::window
