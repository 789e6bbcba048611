#include "shell/shell_open.h"

#include <windows.h>

#include <shellapi.h>

#include "app/win32_handles.h"

void openWithShell(const Utf8String& target)
{
    // Handlers may be COM objects; and the process usually ends right after,
    // so the call waits until the shell has handed the file over.
    const ComApartment apartment;
    const WideBuffer file = target.toWide();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.units();
    info.nShow = SW_SHOW;
    ShellExecuteExW(&info);
}
