#include "ui/about_dialog.h"

#include "base/app_state.h"
#include "base/win32_handles.h"
#include "shell/registration_scope.h"
#include "shell/shell_open.h"
#include "ui/captions.h"
#include "ui/maker_addresses.h"
#include "ui/resource.h"

// The dialog grows with its font on a screen of more dots per inch; from
// 144 (150 %) on, the banner has a larger version, drawn for that size.
static int bannerForScreen()
{
    const ScreenDc screen(GetDC(nullptr));
    const bool large = screen && GetDeviceCaps(screen.get(), LOGPIXELSY) >= 144;
    return large ? IDB_BANNER_LARGE : IDB_BANNER;
}

// The banner is the dialog's to delete: a static control never deletes the
// picture it is given.
static void showBanner(HWND dialog)
{
    Bitmap banner(static_cast<HBITMAP>(
        LoadImageW(appInstance, MAKEINTRESOURCEW(bannerForScreen()), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!banner) return;
    SendDlgItemMessageW(dialog, IDC_BANNER, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner.get()));
    // The control holds it now, until takeBackBanner.
    banner.release();
}

static void takeBackBanner(HWND dialog)
{
    const Bitmap banner(
        reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, IDC_BANNER, STM_SETIMAGE, IMAGE_BITMAP, 0)));
}

static void onInitDialog(HWND dialog)
{
    showBanner(dialog);
    SetDlgItemTextW(dialog, IDC_WEB_PAGE_BUTTON, Utf8String::fromAnsi(kMakerWebPage).toWide().units());
    applyAboutCaptions(dialog);
    // Where the verbs go, so that a user can tell whether the others get them.
    const bool forAll = registrationScope() == RegistrationScope::AllUsers;
    setItemCaption(dialog, IDC_SCOPE_TEXT, Utf8String::fromAnsi(forAll ? "for all users" : "for this user"));
}

static void onCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDOK:
    // Esc comes as IDCANCEL.
    case IDCANCEL:
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
        EndDialog(dialog, 0);
        break;
    case WM_DESTROY:
        takeBackBanner(dialog);
        EndDialog(dialog, 0);
        break;
    }
    return 0;
}
