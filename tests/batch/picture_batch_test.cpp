#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/picture_batch.h"
#include "tests/support/failing_allocations.h"
#include "tests/support/utf8_conversion.h"

// No thread can be had while every allocation fails, not even the first
// worker's: the batch says so for each picture, unless it was cancelled.
TEST(PictureBatch, PicturesOfABatchThatCouldNotStartCountAsNeverBegunUnlessCancelled)
{
    const std::vector<std::wstring> pictures = {L"C:\\Photos\\one.jpg", L"C:\\Photos\\two.png", L"D:\\three.gif"};
    for (const bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled ? "cancelled" : "not cancelled");
        PictureBatch batch(pictures, Preset{{800, 600}, {}});
        if (cancelled) batch.cancel();
        bool started = true;
        {
            const FailingAllocations failing(0);
            started = batch.start(nullptr);
        }
        EXPECT_FALSE(started);
        EXPECT_TRUE(batch.copies().empty());
        const std::vector<FailedPicture> failures = batch.failures();
        ASSERT_EQ(failures.size(), cancelled ? 0 : pictures.size());
        for (size_t i = 0; i < failures.size(); ++i) {
            EXPECT_EQ(wideOf(failures[i].path), pictures[i]);
            EXPECT_FALSE(failures[i].outcome.has_value()) << toUtf8(pictures[i]);
        }
    }
}
