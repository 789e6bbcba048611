#include <gtest/gtest.h>

#include "tests/support/gdiplus_session.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const GdiplusSession gdiplus;
    if (!gdiplus.started()) return 1;
    return RUN_ALL_TESTS();
}
