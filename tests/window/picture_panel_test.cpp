// The picture panel keeps only the picture it shows, in the screen's pixels:
// what it shows matches a full decode shrunk the same way, whatever
// reduction the decoder took; the size it reports, and the card window's
// "Actual Image Size", is the picture's own. Run a second time with
// QT_SCALE_FACTOR=2, where a 200 % screen gets twice the pixels.
#include <QImage>
#include <cmath>

#include "controls/picture_static.h"
#include "picture/any_pic_decoder.h"
#include "picture/win_bmp.h"
#include "platform/qt/painter_device.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A photo-like picture: smooth gradients with gentle waves.
QImage Photo() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double wave = 24 * std::sin(x / 23.0) * std::cos(y / 31.0);
            auto clamp = [](double v) { return static_cast<int>(std::min(255.0, std::max(0.0, v))); };
            image.setPixel(x, y,
                           qRgb(clamp(40 + 170.0 * x / kWidth + wave), clamp(200 - 150.0 * y / kHeight + wave),
                                clamp(90 + 60.0 * (x + y) / (kWidth + kHeight) - wave)));
        }
    }
    return image;
}

// The picture decoded in full, then shrunk to `size` the way the panel
// shrinks what it decodes.
QImage FullDecodeShrunk(const std::string& path, QSize size) {
    picture::CWinBmp full;
    controls::SharedDecoder().DecodeFile(path.c_str(), &full, 32);
    const QImage lines = platform::WrapDibLines(full.GetLineTable()[full.GetHeight() - 1], full.GetInfoHeader());
    return lines.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .mirrored(false, true)
        .convertToFormat(QImage::Format_RGB32);
}

struct Difference {
    double mean = 0;
    int worst = 0;
};

Difference Compare(const QImage& a, const QImage& b) {
    Difference d;
    long total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int v : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                total += std::abs(v);
                d.worst = std::max(d.worst, std::abs(v));
            }
        }
    }
    d.mean = static_cast<double>(total) / (3.0 * a.width() * a.height());
    return d;
}

class PicturePanel : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ratio = qApp->devicePixelRatio();
        if (qgetenv("QT_SCALE_FACTOR") == "2") {
            ASSERT_EQ(ratio, 2.0) << "the 200 % run needs a screen of that scale";
        }
        Photo().save(QString::fromStdString(dir / "photo.jpg"), "JPG", 95);
        Photo().save(QString::fromStdString(dir / "photo.png"), "PNG");
    }
    ScratchDir dir;
    qreal ratio = 1;
};

// Panels whose inner areas make the decoder reduce an 800 x 600 JPEG picture
// by 1/8, 1/4, 1/2 and not at all on a screen of scale 1 (on a 200 % screen
// each takes the next larger picture); the PNG picture is always decoded in
// full and shrunk.
TEST_F(PicturePanel, ShowsWhatAFullDecodeShrunkTheSameWayShows) {
    const QSize kPanels[] = {{100, 75}, {200, 150}, {400, 300}, {600, 450}};
    for (const char* file : {"photo.jpg", "photo.png"}) {
        for (QSize panelSize : kPanels) {
            SCOPED_TRACE(std::string(file) + " in " + std::to_string(panelSize.width()));
            HostedPanel panel = MakePanel(panelSize.width(), panelSize.height());
            const auto read = panel->SetPictureFile(dir / file);
            ASSERT_TRUE(read) << read.Error().text;
            EXPECT_EQ(read.Value(), std::make_pair(kWidth, kHeight));
            EXPECT_EQ(panel->PictureSize(), std::make_pair(kWidth, kHeight));

            // The panel keeps the picture at the size it draws it, in device pixels.
            const controls::PicturePlacement place =
                controls::PlacePicture(panelSize.width(), panelSize.height(), kWidth, kHeight);
            const QSize device(static_cast<int>(std::lround(place.width * ratio)),
                               static_cast<int>(std::lround(place.height * ratio)));
            const QImage shown = ShownImage(*panel.panel);
            ASSERT_EQ(shown.size(), device);

            const Difference d = Compare(shown, FullDecodeShrunk(dir / file, device));
            EXPECT_LE(d.mean, 1.0);
            EXPECT_LE(d.worst, 8);
        }
    }
}

// A picture smaller than the panel is shown at its own size: on a 200 %
// screen that is twice its pixels each way.
TEST_F(PicturePanel, SmallPictureTakesTheScreensPixels) {
    Photo().scaled(40, 30).save(QString::fromStdString(dir / "small.png"), "PNG");
    HostedPanel panel = MakePanel(300, 200);
    ASSERT_TRUE(panel->SetPictureFile(dir / "small.png"));
    EXPECT_EQ(panel->PictureSize(), std::make_pair(40, 30));
    EXPECT_EQ(ShownImage(*panel.panel).size(), QSize(40, 30) * ratio);
}

// On a screen of scale 2 a small picture is drawn at the screen's resolution
// from its own pixels, smoothly: never as blocks of 2 x 2 equal pixels. At
// scale 1 it keeps its pixels exactly.
TEST_F(PicturePanel, EnlargedPictureIsSmoothNotBlocky) {
    QImage checker(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < checker.height(); ++y) {
        for (int x = 0; x < checker.width(); ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    checker.save(QString::fromStdString(dir / "checker.png"), "PNG");
    HostedPanel panel = MakePanel(300, 200);
    ASSERT_TRUE(panel->SetPictureFile(dir / "checker.png"));
    const QImage shown = ShownImage(*panel.panel);
    int between = 0;  // neither black nor white
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int grey = qGray(shown.pixel(x, y));
            if (grey > 8 && grey < 247) ++between;
        }
    }
    if (ratio == 1) {
        EXPECT_EQ(between, 0);
        EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), checker);
    } else {
        EXPECT_GT(between, shown.width() * shown.height() / 4);
    }
}

// A very thin picture keeps at least a pixel across: the panel is never empty.
TEST_F(PicturePanel, VeryThinPicturesStayVisible) {
    for (QSize size : {QSize(1, 4000), QSize(4000, 1)}) {
        SCOPED_TRACE(size.width());
        QImage thin(size, QImage::Format_RGB32);
        thin.fill(Qt::white);
        thin.save(QString::fromStdString(dir / "thin.png"), "PNG");
        HostedPanel panel = MakePanel(300, 200);
        ASSERT_TRUE(panel->SetPictureFile(dir / "thin.png"));
        const QImage shown = ShownImage(*panel.panel);
        ASSERT_FALSE(shown.isNull());
        EXPECT_GE(std::min(shown.width(), shown.height()), 1);
        EXPECT_GE(std::max(shown.width(), shown.height()), static_cast<int>(198 * ratio));
        const QImage drawn = panel.widget->grab().toImage();
        int white = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) white += qGray(drawn.pixel(x, y)) > 200;
        }
        EXPECT_GE(white, 198) << "the picture is drawn, not an empty black panel";
    }
}

// The card window shows the picture's own size, not the size it keeps.
TEST_F(PicturePanel, CardWindowShowsTheRealSize) {
    card::CardRecord card;
    card.Company = "Photo";
    std::vector<std::uint8_t> jpeg = FileBytes(dir / "photo.jpg");
    card.SetPicture(jpeg);
    WriteCard(dir / "photo.ovt", card);
    auto window = Open(dir / "photo.ovt");
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("800 x 600"));
    controls::CPictureStatic* panel = window->PicturePanel();
    EXPECT_EQ(panel->PictureSize(), std::make_pair(kWidth, kHeight));
    EXPECT_LT(ShownImage(*panel).width(), kWidth);
    EXPECT_EQ(window->Record().PictureBytes, jpeg) << "the card keeps the picture's bytes unchanged";
}

}  // namespace
}  // namespace ovlet::window
