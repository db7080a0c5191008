// The card drawn on the system's own canvas into a picture in memory: the
// sizes of renders and thumbnails, and the colours where the layout puts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "exchange/drawing/card_render.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

TEST(CardRender, RenderAndThumbnailSizes) {
    const card::CardRecord card = SampleCard();
    card::CardRecord noPicture = card;
    noPicture.ReleasePicture();
    struct Case {
        const char* name;
        const card::CardRecord* card;
        bool thumbnail;
        int size;
        int width, height;  // 0: at most size
    };
    const Case cases[] = {
        {"render", &card, false, 1050, 1050, 679},
        {"render, small", &card, false, 200, 200, 129},
        {"thumbnail 256", &card, true, 256, 256, 166},
        {"thumbnail 64 shows the picture", &card, true, 64, 0, 0},
        {"thumbnail 64 without picture", &noPicture, true, 64, 64, 41},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string warning;
        const drawing::Image image = c.thumbnail ? drawing::RenderThumbnail(*c.card, c.size, warning)
                                                 : drawing::RenderCardImage(*c.card, c.size, warning);
        EXPECT_EQ(warning, "");
        ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
        if (c.width) {
            EXPECT_EQ(image.width, c.width);
            EXPECT_EQ(image.height, c.height);
        } else {
            EXPECT_LE(image.width, c.size);
            EXPECT_LE(image.height, c.size);
            EXPECT_EQ(std::max(image.width, image.height), c.size);
        }
    }
}

TEST(CardRender, APictureThatDoesNotDecodeIsLeftOutWithAWarning) {
    card::CardRecord card = SampleCard();
    card.PictureBytes.resize(100);
    card.PictureLength = 100;
    std::string warning;
    const drawing::Image image = drawing::RenderCardImage(card, 400, warning);
    EXPECT_FALSE(image.Empty());
    EXPECT_NE(warning, "");
}

TEST(CardRender, PaperInkPictureAndBandWhereTheLayoutPutsThem) {
    std::string warning;
    const drawing::Image image = drawing::RenderCardImage(SampleCard(), 1050, warning);
    ASSERT_EQ(image.width, 1050);
    ASSERT_EQ(image.height, 679);
    const auto at = [&](int x, int y) {
        return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)];
    };
    struct Spot {
        const char* what;
        int x, y;
        std::uint32_t colour;
    };
    const Spot spots[] = {
        {"paper, top left", 3, 3, 0xFFFAFAF7u},
        {"paper, top right", 1046, 3, 0xFFFAFAF7u},
        {"accent band", 500, 675, 0xFF1F6FD1u},
    };
    for (const Spot& spot : spots) {
        SCOPED_TRACE(spot.what);
        EXPECT_EQ(at(spot.x, spot.y), spot.colour);
    }
    // Ink in the text's half of the card, and the picture's colours in its frame.
    int ink = 0;
    int picture = 0;
    for (int y = 40; y < 620; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = at(x, y);
            const int red = static_cast<int>((pixel >> 16) & 0xFF);
            const int blue = static_cast<int>(pixel & 0xFF);
            if (x > 470 && red < 0x40) ++ink;
            if (x < 430 && blue > 0x50 && red < 0x30) ++picture;
        }
    }
    EXPECT_GT(ink, 2000);
    EXPECT_GT(picture, 10000);
}

}  // namespace
}  // namespace ovlet::exchange

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const ovlet::exchange::drawing::DrawingSession session;
    return RUN_ALL_TESTS();
}
