#include "ui/about_dialog.h"

#include "shell/shell_open.h"
#include "ui/captions.h"
#include "ui/maker_addresses.h"
#include "ui/resource.h"

static void onInitDialog(HWND dialog)
{
    SetDlgItemTextW(dialog, IDC_WEB_PAGE_BUTTON, Utf8String::fromAnsi(kMakerWebPage).toWide().units());
    applyAboutCaptions(dialog);
}

static void onCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDOK:
        EndDialog(dialog, 0);
        break;
    case IDC_WEB_PAGE_BUTTON:
        openWithShell(Utf8String::fromAnsi(kMakerWebPage), dialog, nullptr);
        break;
    case IDC_FEEDBACK_BUTTON:
        openWithShell(Utf8String::fromAnsi(kFeedbackAddress), dialog, nullptr);
        break;
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        break;
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam));
        break;
    case WM_CLOSE:
    case WM_DESTROY:
        EndDialog(dialog, 0);
        break;
    }
    return 0;
}
