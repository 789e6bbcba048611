#include "ui/size_list_box.h"

#include <algorithm>
#include <cwchar>

#include "base/win32_handles.h"
#include "i18n/preset_description.h"
#include "settings/size_list.h"
#include "ui/resource.h"

void showSizeList(HWND dialog)
{
    const HWND list = GetDlgItem(dialog, IDC_SIZE_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    // The widest line decides how far the box scrolls sideways; the screen
    // measures it in the box's font as the box would.
    const ScreenDc screen(GetDC(nullptr));
    const HGDIOBJ font = SelectObject(screen.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (int32_t i = 0; i < sizeList.count(); ++i) {
        const WideBuffer text = listedPresetText(sizeList.at(i)).toWide();
        const LRESULT line = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.units()));
        if (line >= 0) SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(line), i);
        SIZE extent = {};
        if (GetTextExtentPoint32W(screen.get(), text.units(), static_cast<int>(wcslen(text.units())), &extent))
            widest = std::max(widest, extent.cx);
    }
    SelectObject(screen.get(), font);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + GetSystemMetrics(SM_CXEDGE) * 2), 0);
}

int32_t entryOfLine(HWND dialog, LRESULT line)
{
    if (line < 0) return -1;
    return static_cast<int32_t>(SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETITEMDATA, line, 0));
}

int32_t selectedEntry(HWND dialog)
{
    return entryOfLine(dialog, SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETCURSEL, 0, 0));
}

void selectEntry(HWND dialog, int32_t entry)
{
    const LRESULT lines = SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT line = 0; line < lines; ++line) {
        if (entryOfLine(dialog, line) == entry)
            SendDlgItemMessageW(dialog, IDC_SIZE_LIST, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    }
}
