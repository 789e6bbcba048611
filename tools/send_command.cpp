// Posts a WM_COMMAND to a running program's dialog, found by its title, as
// pressing a button or a menu item would: scripts/screenshots.sh opens the
// About box this way, since no one is at the keyboard.
// Usage: send_command.exe TITLE ID
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    HWND dialog = FindWindowW(L"#32770", argv[1]);
    if (!dialog) return 1;
    // Posted, not sent: the command may open a modal box that would hold this
    // program until it closes.
    const auto id = static_cast<WORD>(std::wcstoul(argv[2], nullptr, 10));
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
}
