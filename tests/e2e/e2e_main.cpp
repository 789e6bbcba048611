#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "codecs/wic_factory.h"
#include "tests/support/gdiplus_session.h"
#include "tests/support/file_system.h"
#include "tests/e2e/test_programs.h"

// Usage: e2e_tests [gtest options] --pellavo=<path of pellavo.exe>
int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const std::wstring option = L"--pellavo=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument.compare(0, option.size(), option) == 0) setPellavoPath(argument.substr(option.size()));
    }
    if (pellavoPath().empty() || !pathExists(pellavoPath())) {
        std::fprintf(stderr, "e2e_tests: name pellavo.exe with --pellavo=<path>\n");
        return 2;
    }
    if (!pathExists(recorderPath())) {
        std::fprintf(stderr, "e2e_tests: open_recorder.exe is not beside e2e_tests.exe\n");
        return 2;
    }
    // Windows always has a desktop; Wine starts a process for it when a
    // program first needs one, as a COM apartment does. Started by a copy
    // under test, it would stay in the copy's job, which then never ends.
    GetDesktopWindow();
    // Started before the tests make and read pictures, stopped after the last.
    const GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        std::fprintf(stderr, "e2e_tests: GDI+ did not start\n");
        return 2;
    }
    // Copies read back through the program's WIC decoder.
    const ThreadImaging imaging;
    return RUN_ALL_TESTS();
}
