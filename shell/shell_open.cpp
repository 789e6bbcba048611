#include "shell/shell_open.h"

#include <shellapi.h>

#include <new>
#include <system_error>

#include "base/win32_handles.h"

void openWithShell(const Utf8String& target, HWND owner, const wchar_t* verb)
{
    // Handlers may be COM objects; and the resize command's process ends
    // right after, so the call waits until the shell has handed the file over.
    const ComApartment apartment;
    const WideBuffer file = target.toWide();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | (owner ? 0 : SEE_MASK_FLAG_NO_UI);
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = file.units();
    info.nShow = SW_SHOW;
    ShellExecuteExW(&info);
}

ShellOpenPreload::ShellOpenPreload()
{
    try {
        // Kept loaded for the rest of the process, as the first call would keep them.
        loader_ = std::thread([] {
            for (const wchar_t* library : {L"shell32.dll", L"ole32.dll"}) LoadLibraryW(library);
        });
    } catch (const std::system_error&) {
        // The first call loads them instead.
    } catch (const std::bad_alloc&) {
    }
}

ShellOpenPreload::~ShellOpenPreload()
{
    if (loader_.joinable()) loader_.join();
}
