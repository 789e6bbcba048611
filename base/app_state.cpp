#include "base/app_state.h"

#include <gdiplus.h>

#include <mutex>

HINSTANCE appInstance = nullptr;
ULONG_PTR gdiplusToken = 0;

// Started by whichever thread first needs it: most resizes never do.
static std::mutex gdiplusLock;

bool startGdiplus()
{
    const std::lock_guard<std::mutex> lock(gdiplusLock);
    if (gdiplusToken != 0) return true;
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) == Gdiplus::Ok) return true;
    gdiplusToken = 0;
    return false;
}

void stopGdiplus()
{
    const std::lock_guard<std::mutex> lock(gdiplusLock);
    if (gdiplusToken == 0) return;
    Gdiplus::GdiplusShutdown(gdiplusToken);
    gdiplusToken = 0;
}
