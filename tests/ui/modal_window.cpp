#include "tests/ui/modal_window.h"

#include "tests/support/window_reading.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr int kMaxTicks = 500;

struct Watch {
    HWND owner;
    const std::function<void(HWND, int)>* onTick;
    ModalRun run;
};

struct DialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchOtherDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (window == search->owner || className(window) != L"#32770") return TRUE;
    search->found = window;
    return FALSE;
}

// Any other dialog of the thread, owned by the owner or not, so that a box
// opened without its owner is still reached (and the test can tell) instead
// of blocking the run. Only dialogs count: Wine gives threads other windows
// of its own (IME).
HWND otherDialog(HWND owner)
{
    DialogSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchOtherDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The timer's id is the watch itself, so that no global state is needed.
void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    Watch* watch = reinterpret_cast<Watch*>(id);
    HWND window = otherDialog(watch->owner);
    if (!window) return;
    if (watch->run.ticks >= kMaxTicks) {
        watch->run.forced = true;
        EndDialog(window, 0);
        return;
    }
    (*watch->onTick)(window, watch->run.ticks++);
}

}  // namespace

ModalRun driveModalWindow(HWND owner, const std::function<void()>& action,
                          const std::function<void(HWND dialog, int tick)>& onTick)
{
    Watch watch{owner, &onTick, {}};
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(&watch);
    SetTimer(owner, id, kTickMs, onTimer);
    action();
    KillTimer(owner, id);
    return watch.run;
}

MessageBoxSeen closeMessageBoxDuring(HWND owner, const std::function<void()>& action)
{
    MessageBoxSeen seen;
    const ModalRun run = driveModalWindow(owner, action, [&seen](HWND box, int) {
        seen.shown = true;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.caption = windowText(box);
        seen.text = messageBoxText(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    seen.forced = run.forced;
    return seen;
}
