#include "base/app_state.h"

#include <gdiplus.h>

HINSTANCE appInstance = nullptr;
ULONG_PTR gdiplusToken = 0;

bool startGdiplus()
{
    if (gdiplusToken != 0) return true;
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) == Gdiplus::Ok) return true;
    gdiplusToken = 0;
    return false;
}

void stopGdiplus()
{
    if (gdiplusToken == 0) return;
    Gdiplus::GdiplusShutdown(gdiplusToken);
    gdiplusToken = 0;
}
