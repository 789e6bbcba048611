#include <gtest/gtest.h>

#include <windows.h>

#include "imaging/output_file.h"
#include "tests/support/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf8_conversion.h"

TEST(OutputFile, ClaimsTheFirstFreeNameWithoutTouchingTakenOnes)
{
    const TempFolder folder;
    const Utf8String base = utf8Of(folder.file(L"photo"));
    const Utf8String extension = Utf8String::fromAnsi("jpg");
    const ImageSize size{800, 450};

    Utf8String claimed;
    ASSERT_TRUE(claimOutputFile(base, size, extension, claimed));
    EXPECT_EQ(wideOf(claimed), folder.file(L"photo_800x450.jpg"));

    // The name just claimed exists, empty; a folder takes the next one.
    ASSERT_TRUE(writeFileText(folder.file(L"photo_800x450.jpg"), "earlier copy"));
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"photo_800x450_1.jpg").c_str(), nullptr));
    ASSERT_TRUE(claimOutputFile(base, size, extension, claimed));
    EXPECT_EQ(wideOf(claimed), folder.file(L"photo_800x450_2.jpg"));
    EXPECT_EQ(readFileText(folder.file(L"photo_800x450.jpg")), std::string("earlier copy"));
    EXPECT_EQ(readFileText(folder.file(L"photo_800x450_2.jpg")), std::string());

    EXPECT_FALSE(claimOutputFile(utf8Of(folder.file(L"no such folder\\photo")), size, extension, claimed));
}
