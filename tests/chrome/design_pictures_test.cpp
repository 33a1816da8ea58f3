#include <gtest/gtest.h>

#include "chrome/design_pictures.h"
#include "chrome/zones.h"

namespace {

// Pixels dark enough to be ink of a glyph, text or box border.
int inkPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 140;
    return n;
}

} // namespace

TEST(DesignPictures, BarSizes) {
    EXPECT_EQ(chrome::menuBarPicture().size(), QSize(551, 19));
    EXPECT_EQ(chrome::toolbarPicture().size(), QSize(800, 51));
    EXPECT_EQ(chrome::drawingBarPicture().size(), QSize(671, 26));
    EXPECT_EQ(chrome::chartBarPicture().size(), QSize(422, 49));
    // Drawn once.
    EXPECT_EQ(&chrome::toolbarPicture(), &chrome::toolbarPicture());
}

TEST(DesignPictures, EveryHotSpotLiesOverDrawnContentAndHasItsLooks) {
    for (int i = 0; i <= 100; ++i) {
        const QImage* bar = chrome::barPictureOf(i);
        const auto zone = chrome::zoneOf(i);
        const bool laidOut = zone != chrome::Zone::None && zone != chrome::Zone::ExtraArea;
        ASSERT_EQ(bar != nullptr, laidOut) << i;
        if (!bar) {
            EXPECT_TRUE(chrome::hotSpotPicture(i, chrome::Look::Hover).isNull()) << i;
            continue;
        }
        const QRect r = chrome::hotSpotPixelRect(i);
        ASSERT_TRUE(bar->rect().contains(r)) << i;
        const QImage normal = bar->copy(r);
        EXPECT_GE(inkPixels(normal), 5) << "nothing drawn under hot-spot " << i;

        const QImage hover = chrome::hotSpotPicture(i, chrome::Look::Hover);
        const QImage pressed = chrome::hotSpotPicture(i, chrome::Look::Pressed);
        EXPECT_EQ(hover.size(), r.size()) << i;
        EXPECT_EQ(pressed.size(), r.size()) << i;
        EXPECT_NE(hover, normal) << i;
        EXPECT_NE(pressed, hover) << i;
    }
}

TEST(DesignPictures, SmallPictures) {
    EXPECT_EQ(chrome::lookInCoverPicture().size(), QSize(5, 22));
    const QImage& chart = chrome::chartToolbarPicture();
    EXPECT_FALSE(chart.isNull());
    EXPECT_GE(inkPixels(chart), 50);
}
