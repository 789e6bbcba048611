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
