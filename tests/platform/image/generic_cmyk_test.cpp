// Conversion of bitmaps to the generic CMYK profile.
#include "platform/image/generic_cmyk.h"

#include <gtest/gtest.h>

TEST(GenericCMYK, ConvertsThroughTheShippedProfile)
{
    EXPECT_FALSE(genericCMYKProfilePath().isEmpty()) << "libgs-common's default_cmyk.icc is installed by tools/setup.sh";

    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, Qt::white);
    image.setPixelColor(1, 0, Qt::black);
    image.setPixelColor(2, 0, Qt::red);
    image.setPixelColor(3, 0, Qt::transparent);
    const BitmapRep rep(image);
    const BitmapRep cmyk = convertToGenericCMYK(rep);
    ASSERT_TRUE(cmyk.isCMYK());
    EXPECT_EQ(cmyk.samplesPerPixel(), 4);
    EXPECT_FALSE(cmyk.hasAlpha());
    EXPECT_EQ(cmyk.size(), rep.size());

    unsigned int s[4];
    cmyk.getPixel(s, 0, 0);
    EXPECT_LE(s[0] + s[1] + s[2] + s[3], 4u) << "white takes no ink";
    cmyk.getPixel(s, 1, 0);
    EXPECT_GT(s[3], 200u) << "black is mostly K";
    cmyk.getPixel(s, 2, 0);
    EXPECT_GT(s[1], 200u);
    EXPECT_GT(s[2], 200u);
    EXPECT_LT(s[0], 40u) << "red is magenta and yellow";
    cmyk.getPixel(s, 3, 0);
    EXPECT_LE(s[0] + s[1] + s[2] + s[3], 4u) << "transparent pixels lie over white paper";

    EXPECT_TRUE(convertToGenericCMYK(BitmapRep()).isNull());
    const BitmapRep already = BitmapRep::cmykBitmap(2, 2, true);
    EXPECT_EQ(convertToGenericCMYK(already).samplesPerPixel(), 5) << "CMYK bitmaps pass unchanged";
}
