#include "ui/progress_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

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

// The window's from WM_INITDIALOG on, which frees it in WM_NCDESTROY.
struct ProgressState {
    PictureBatch* batch;  // null once the window gives the batch's account
    BatchFinished finished;
    AccountRead accountRead;
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

// The state comes as the caller's owner, which keeps it until this takes it.
void onInitDialog(HWND dialog, std::unique_ptr<ProgressState>* handed)
{
    ProgressState* state = handed->release();
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SetWindowTextW(dialog, translate(Utf8String::fromAnsi("Pellavo")).toWide().units());
    setItemCaption(dialog, IDCANCEL, Utf8String::fromAnsi("Cancel"));
    setItemCaption(dialog, IDOK, Utf8String::fromAnsi("OK"));
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

void onAccountRead(HWND dialog, ProgressState* state)
{
    const AccountRead read = std::move(state->accountRead);
    DestroyWindow(dialog);
    if (read) read();
}

// Esc, the window's close box and Cancel all stop a running batch, and all
// put away an account, as OK and Enter do.
void onClose(HWND dialog, ProgressState* state)
{
    if (state->batch) onCancel(dialog, *state->batch);
    else onAccountRead(dialog, state);
}

void onCommand(HWND dialog, ProgressState* state, WORD id)
{
    if (id == IDCANCEL) onClose(dialog, state);
    else if (id == IDOK && !state->batch) onAccountRead(dialog, state);
}

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        onInitDialog(dialog, reinterpret_cast<std::unique_ptr<ProgressState>*>(lParam));
        return 0;
    }
    ProgressState* state = stateOf(dialog);
    if (!state) return 0;
    switch (message) {
    case WM_COMMAND:
        onCommand(dialog, state, LOWORD(wParam));
        break;
    case WM_CLOSE:
        onClose(dialog, state);
        break;
    case WM_TIMER:
        if (wParam == kShowTimer) onShowTimer(dialog);
        break;
    case PictureBatch::kProgressMessage:
        if (state->batch) showProgress(dialog, *state->batch);
        break;
    case PictureBatch::kFinishedMessage:
        onFinished(dialog, state);
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        delete state;
        break;
    }
    return 0;
}

RECT placeIn(HWND dialog, HWND control)
{
    RECT box = {};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// The height the text takes at the control's width, in the dialog's font.
int textHeight(HWND dialog, const WideChar* text, int width)
{
    const ScreenDc screen(GetDC(nullptr));
    if (!screen) return 0;
    const HGDIOBJ previous = SelectObject(screen.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, width, 0};
    DrawTextW(screen.get(), text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(screen.get(), previous);
    return needed.bottom;
}

// The text grows to hold the account, as far as the screen allows, with OK
// under it; the window keeps its middle where it was.
void fitToAccount(HWND dialog, const WideChar* account)
{
    const HWND text = GetDlgItem(dialog, IDC_PROGRESS_TEXT);
    const HWND ok = GetDlgItem(dialog, IDOK);
    const RECT textBox = placeIn(dialog, text);
    const RECT okBox = placeIn(dialog, ok);
    RECT margin = {0, 0, 7, 7};
    MapDialogRect(dialog, &margin);
    RECT window = {};
    RECT client = {};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);

    const int frame = (window.bottom - window.top) - client.bottom;
    const int okHeight = okBox.bottom - okBox.top;
    const int screenHeight = monitor.rcWork.bottom - monitor.rcWork.top;
    const int mostText = screenHeight - frame - textBox.top - 2 * margin.bottom - okHeight;
    const int width = textBox.right - textBox.left;
    const int height = std::max(0, std::min(textHeight(dialog, account, width), mostText));
    SetWindowPos(text, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    const int okTop = textBox.top + height + margin.bottom;
    SetWindowPos(ok, nullptr, okBox.left, okTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    const int windowHeight = frame + okTop + okHeight + margin.bottom;
    const int middle = (window.top + window.bottom) / 2;
    const int top = std::max(static_cast<int>(monitor.rcWork.top),
                             std::min(middle - windowHeight / 2, static_cast<int>(monitor.rcWork.bottom) - windowHeight));
    SetWindowPos(dialog, nullptr, window.left, top, window.right - window.left, windowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
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
    // Freed here if the window fails before WM_INITDIALOG takes it, by the
    // window if it fails after.
    auto state = std::make_unique<ProgressState>(ProgressState{&batch, finished, nullptr});
    HWND dialog = CreateDialogParamW(appInstance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, progressDialogProc,
                                     reinterpret_cast<LPARAM>(&state));
    if (!dialog) return nullptr;
    if (!batch.start(dialog)) PostMessageW(dialog, PictureBatch::kFinishedMessage, 0, 0);
    return dialog;
}

void showBatchAccount(HWND dialog, const Utf8String& account, AccountRead read)
{
    ProgressState* state = stateOf(dialog);
    state->batch = nullptr;
    state->accountRead = std::move(read);
    KillTimer(dialog, kShowTimer);
    ShowWindow(GetDlgItem(dialog, IDC_PROGRESS_BAR), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
    const WideBuffer text = account.toWide();
    SetDlgItemTextW(dialog, IDC_PROGRESS_TEXT, text.units());
    fitToAccount(dialog, text.units());
    const HWND ok = GetDlgItem(dialog, IDOK);
    ShowWindow(ok, SW_SHOW);
    SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
}

void showBatchAccountAlone(const Utf8String& account)
{
    MessageBoxW(nullptr, account.toWide().units(), translate(Utf8String::fromAnsi("Pellavo")).toWide().units(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}
