#include <gtest/gtest.h>

#include "codecs/image_encoder.h"

TEST(ImageEncoder, QualityBlockHoldsOneLongParameterOf95)
{
    const QualityParameters parameters;
    const Gdiplus::EncoderParameters* list = parameters.list();
    ASSERT_EQ(list->Count, 1u);
    const Gdiplus::EncoderParameter& quality = list->Parameter[0];
    EXPECT_TRUE(IsEqualGUID(quality.Guid, Gdiplus::EncoderQuality));
    const GUID expected = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
    EXPECT_TRUE(IsEqualGUID(quality.Guid, expected));
    EXPECT_EQ(quality.NumberOfValues, 1u);
    EXPECT_EQ(quality.Type, 4u);
    ASSERT_NE(quality.Value, nullptr);
    EXPECT_EQ(*static_cast<const ULONG*>(quality.Value), 95u);
}

TEST(ImageEncoder, FindsEncodersByExactMimeType)
{
    for (const WCHAR* mimeType : {L"image/jpeg", L"image/bmp", L"image/png", L"image/gif"}) {
        CLSID clsid = {};
        EXPECT_GE(findEncoderClsid(mimeType, &clsid), 0);
        EXPECT_FALSE(IsEqualGUID(clsid, GUID_NULL));
    }
    CLSID unused = {};
    EXPECT_EQ(findEncoderClsid(L"IMAGE/BMP", &unused), -1);
    EXPECT_EQ(findEncoderClsid(L"image/jpg", &unused), -1);
    EXPECT_EQ(findEncoderClsid(L"", &unused), -1);
}
