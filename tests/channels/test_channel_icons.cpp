// The icons are built into the program: every image list entry must be there at its size.

#include "ChannelIcons.h"

#include <gtest/gtest.h>

TEST(ChannelIcons, TreeImagesAreAllPresentIn16Pixels)
{
    const QList<QIcon> images = LoadChannelImages();
    ASSERT_EQ(images.size(), 33);
    for (int k = 0; k < images.size(); ++k) {
        ASSERT_FALSE(images[k].isNull()) << "index " << k;
        EXPECT_EQ(images[k].availableSizes(), QList<QSize>({QSize(16, 16)})) << "index " << k;
    }
    // The flags differ from each other and from the spares.
    EXPECT_NE(images[21].pixmap(16).toImage(), images[22].pixmap(16).toImage());
    EXPECT_NE(images[13].pixmap(16).toImage(), images[32].pixmap(16).toImage());
}

TEST(ChannelIcons, WindowIconsHaveTheirSizesAndNothingElseIsAnIcon)
{
    for (int id = 129; id <= 135; ++id) {
        const QIcon icon = LoadWindowIcon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        const int size = id <= 130 ? 16 : 24;
        EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(size, size)})) << id;
        EXPECT_TRUE(icon.pixmap(size).toImage().hasAlphaChannel()) << id;
    }
    EXPECT_TRUE(LoadWindowIcon(128).isNull());
    EXPECT_TRUE(LoadWindowIcon(136).isNull());
}
