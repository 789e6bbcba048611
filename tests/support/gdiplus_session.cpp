#include "tests/support/gdiplus_session.h"

#include <windows.h>

#include <gdiplus.h>

GdiplusSession::GdiplusSession()
{
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession()
{
    if (token_ != 0) Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(token_));
}
