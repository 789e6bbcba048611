#include <gtest/gtest.h>

#include "base/app_state.h"

// In-process tests of the Windows code run with GDI+ started, as the program does.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!startGdiplus()) return 1;
    const int result = RUN_ALL_TESTS();
    stopGdiplus();
    return result;
}
