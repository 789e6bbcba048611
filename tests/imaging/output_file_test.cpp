#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "imaging/output_file.h"
#include "imaging/resize_command.h"
#include "imaging/resize_picture.h"
#include "tests/support/failing_allocations.h"
#include "tests/support/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"
#include "tests/support/utf8_conversion.h"

TEST(OutputFile, ClaimsTheFirstFreeNameWithoutTouchingTakenOnes)
{
    const TempFolder folder;
    const Utf8String base = utf8Of(folder.file(L"photo"));
    const Utf8String extension = Utf8String::fromAnsi("jpg");
    const ImageSize size{800, 450};

    ClaimedOutputFile claimed = claimOutputFile(base, size, extension);
    ASSERT_TRUE(claimed);
    EXPECT_EQ(wideOf(claimed.path()), folder.file(L"photo_800x450.jpg"));
    // The name just claimed exists, held so that nobody else opens it until
    // the copy is written through the claim, and stays once kept.
    EXPECT_EQ(readFileText(folder.file(L"photo_800x450.jpg")), std::nullopt);
    EXPECT_TRUE(claimed.write({'c', 'o', 'p', 'y'}));
    claimed.keep();
    EXPECT_FALSE(claimed.write({'x'}));
    claimed = ClaimedOutputFile();
    EXPECT_EQ(readFileText(folder.file(L"photo_800x450.jpg")), std::string("copy"));

    // A folder takes the next name.
    ASSERT_TRUE(writeFileText(folder.file(L"photo_800x450.jpg"), "earlier copy"));
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"photo_800x450_1.jpg").c_str(), nullptr));
    claimed = claimOutputFile(base, size, extension);
    ASSERT_TRUE(claimed);
    EXPECT_EQ(wideOf(claimed.path()), folder.file(L"photo_800x450_2.jpg"));
    EXPECT_EQ(readFileText(folder.file(L"photo_800x450.jpg")), std::string("earlier copy"));
    // Not kept, the claim goes with its owner, and only it.
    claimed = ClaimedOutputFile();
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::wstring>{L"photo_800x450.jpg", L"photo_800x450_1.jpg"}));

    EXPECT_FALSE(claimOutputFile(utf8Of(folder.file(L"no such folder\\photo")), size, extension));
}

TEST(OutputFile, MemoryThatRunsOutAnywhereLeavesOnlyThePicture)
{
    const struct {
        const wchar_t* name;
        PictureFormat format;
    } pictures[] = {{L"photo.jpg", PictureFormat::Jpeg}, {L"drawing.png", PictureFormat::Png}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(toUtf8(picture.name));
        const TempFolder folder;
        ASSERT_TRUE(makePicture(folder.file(picture.name), 64, 48, picture.format, kFourColours));
        const std::vector<std::wstring> onlyThePicture = {picture.name};
        const Utf8String path = utf8Of(folder.file(picture.name));
        const ImageSize requested{32, 32};

        // Every allocation in turn is the first that fails, until the run needs none of those refused.
        size_t succeeding = 0;
        for (;; ++succeeding) {
            ASSERT_LT(succeeding, 100000u) << "the resize never got through";
            ResizeOutcome outcome = ResizeOutcome::TooLarge;
            Utf8String copy;
            try {
                const FailingAllocations failing(succeeding);
                outcome = resizePictureFile(path, Preset{requested, {}}, copy);
            } catch (const std::bad_alloc&) {
            }
            if (outcome == ResizeOutcome::Written) break;
            ASSERT_EQ(folderEntries(folder.path()), onlyThePicture) << "allocation " << succeeding << " refused";
        }
        ASSERT_TRUE(DeleteFileW(folder.file(picture.format == PictureFormat::Jpeg ? L"photo_32x24.jpg"
                                                                                 : L"drawing_32x24.png").c_str()));

        // The command makes every allocation the resize makes, and more before it.
        const Utf8String command = utf8Of(L"-size 32x32 \"" + folder.file(picture.name) + L"\"");
        for (size_t refused = 0; refused < succeeding; ++refused) {
            bool thrown = false;
            try {
                const FailingAllocations failing(refused);
                runResizeCommand(command);
            } catch (...) {
                thrown = true;
            }
            EXPECT_FALSE(thrown) << "allocation " << refused << " refused";
            ASSERT_EQ(folderEntries(folder.path()), onlyThePicture) << "allocation " << refused << " refused";
        }
    }
}
