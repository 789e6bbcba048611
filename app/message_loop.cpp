#include "app/message_loop.h"

void dispatchDialogMessage(HWND dialog, MSG& message)
{
    if (dialog && IsDialogMessageW(dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(HWND dialog)
{
    MSG message = {};
    // GetMessageW gives -1 on an error, which must end the loop too.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatchDialogMessage(dialog, message);
    return static_cast<int>(message.wParam);
}

// The top-level window of a message's window when that is a dialog.
static HWND dialogOf(HWND window)
{
    const HWND top = window ? GetAncestor(window, GA_ROOT) : nullptr;
    return top && GetClassLongPtrW(top, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG) ? top : nullptr;
}

void runDialogsMessageLoop()
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatchDialogMessage(dialogOf(message.hwnd), message);
}
