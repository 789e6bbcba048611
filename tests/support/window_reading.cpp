#include "tests/support/window_reading.h"

std::wstring windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<size_t>(GetClassNameW(window, name, 256)));
}

std::wstring itemText(HWND dialog, int controlId)
{
    return windowText(GetDlgItem(dialog, controlId));
}

// The lines of a list, read by its control's count, length and text messages.
static std::vector<std::wstring> linesOf(HWND dialog, int controlId, UINT getCount, UINT getLength, UINT getText)
{
    std::vector<std::wstring> lines;
    const LRESULT count = SendDlgItemMessageW(dialog, controlId, getCount, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendDlgItemMessageW(dialog, controlId, getLength, index, 0);
        if (length < 0) continue;
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        SendDlgItemMessageW(dialog, controlId, getText, index, reinterpret_cast<LPARAM>(&line[0]));
        line.resize(static_cast<size_t>(length));
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> listBoxLines(HWND dialog, int controlId)
{
    return linesOf(dialog, controlId, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> comboBoxLines(HWND dialog, int controlId)
{
    return linesOf(dialog, controlId, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

static BOOL CALLBACK matchTextStatic(HWND window, LPARAM data)
{
    const std::wstring text = windowText(window);
    if (_wcsicmp(className(window).c_str(), L"Static") != 0 || text.empty()) return TRUE;
    *reinterpret_cast<std::wstring*>(data) = text;
    return FALSE;
}

std::wstring messageBoxText(HWND box)
{
    std::wstring text;
    EnumChildWindows(box, matchTextStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::wstring menuText(HMENU menu, UINT position)
{
    const int length = GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetMenuStringW(menu, position, &text[0], length + 1, MF_BYPOSITION)));
    return text;
}

wchar_t accessKey(const std::wstring& text)
{
    for (size_t at = 0; at + 1 < text.size(); ++at) {
        if (text[at] != L'&') continue;
        if (text[at + 1] == L'&') {
            ++at;
            continue;
        }
        return text[at + 1];
    }
    return 0;
}

wchar_t upperCase(wchar_t letter)
{
    // CharUpperW takes a single character in the low word of its pointer.
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(letter))));
}
