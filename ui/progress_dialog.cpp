#include "ui/progress_dialog.h"

#include <commctrl.h>

#include "base/app_state.h"
#include "base/win32_handles.h"
#include "batch/picture_batch.h"
#include "batch/progress_text.h"
#include "i18n/translation_table.h"
#include "ui/captions.h"
#include "ui/resource.h"

namespace {

// A batch that ends within a moment needs no window at all.
constexpr UINT kShowDelayMs = 1000;
constexpr UINT_PTR kShowTimer = 1;

// Belongs to the window from WM_INITDIALOG on, which frees it when it goes.
struct ProgressState {
    PictureBatch* batch;
    BatchFinished finished;
    bool ownedByWindow;
};

ProgressState* stateOf(HWND dialog)
{
    return reinterpret_cast<ProgressState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void showProgress(HWND dialog, const PictureBatch& batch)
{
    const size_t done = batch.finished();
    const size_t atHand = done < batch.total() ? done + 1 : batch.total();
    const Utf8String text =
        progressText(translate(progressTextKey()), static_cast<uint32_t>(atHand), static_cast<uint32_t>(batch.total()));
    SetDlgItemTextW(dialog, IDC_PROGRESS_TEXT, text.toWide().units());
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETPOS, done, 0);
}

void onInitDialog(HWND dialog, ProgressState* state)
{
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->ownedByWindow = true;
    SetWindowTextW(dialog, translate(Utf8String::fromAnsi("Pellavo")).toWide().units());
    setItemCaption(dialog, IDCANCEL, Utf8String::fromAnsi("Cancel"));
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, static_cast<LPARAM>(state->batch->total()));
    showProgress(dialog, *state->batch);
    SetTimer(dialog, kShowTimer, kShowDelayMs, nullptr);
}

void onCancel(HWND dialog, PictureBatch& batch)
{
    batch.cancel();
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
}

void onShowTimer(HWND dialog)
{
    KillTimer(dialog, kShowTimer);
    ShowWindow(dialog, SW_SHOW);
}

void onFinished(HWND dialog, ProgressState* state)
{
    KillTimer(dialog, kShowTimer);
    state->finished(dialog);
}

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        onInitDialog(dialog, reinterpret_cast<ProgressState*>(lParam));
        return 0;
    }
    ProgressState* state = stateOf(dialog);
    if (!state) return 0;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) onCancel(dialog, *state->batch);
        break;
    case WM_CLOSE:
        onCancel(dialog, *state->batch);
        break;
    case WM_TIMER:
        if (wParam == kShowTimer) onShowTimer(dialog);
        break;
    case PictureBatch::kProgressMessage:
        showProgress(dialog, *state->batch);
        break;
    case PictureBatch::kFinishedMessage:
        onFinished(dialog, state);
        break;
    case WM_NCDESTROY:
        delete state;
        break;
    }
    return 0;
}

}  // namespace

// The progress bar's class comes from comctl32, loaded here rather than
// imported: loading it registers window classes, which costs every other
// run of the program (Install, a single resize) a connection to the desktop.
static bool registerProgressBar()
{
    static const Module commonControls(LoadLibraryW(L"comctl32.dll"));
    if (!commonControls) return false;
    using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitControls>(
        reinterpret_cast<void*>(GetProcAddress(commonControls.get(), "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    return init && init(&controls);
}

HWND startBatchWithProgress(PictureBatch& batch, BatchFinished finished)
{
    if (!registerProgressBar()) return nullptr;
    auto* state = new ProgressState{&batch, finished, false};
    HWND dialog = CreateDialogParamW(appInstance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, progressDialogProc,
                                     reinterpret_cast<LPARAM>(state));
    if (!dialog) {
        if (!state->ownedByWindow) delete state;
        return nullptr;
    }
    if (!batch.start(dialog)) PostMessageW(dialog, PictureBatch::kFinishedMessage, 0, 0);
    return dialog;
}
