#include "shell/server_lifetime.h"

#include <windows.h>

// Long enough for the client that started the server, or one that holds its
// class, to make its object; short enough that an idle server does not stay
// around.
constexpr UINT kLingerMs = 3000;

static ULONG references = 0;
static UINT_PTR lingerTimer = 0;
static bool stopping = false;

static void CALLBACK onLingerEnd(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, lingerTimer);
    lingerTimer = 0;
    if (references > 0 || stopping) return;
    stopping = true;
    PostQuitMessage(0);
}

void lingerUntilUsed()
{
    if (lingerTimer) KillTimer(nullptr, lingerTimer);
    lingerTimer = SetTimer(nullptr, 0, kLingerMs, onLingerEnd);
    // Without a timer the server would wait forever for a client.
    if (!lingerTimer) onLingerEnd(nullptr, 0, 0, 0);
}

void addServerReference()
{
    references = CoAddRefServerProcess();
    // COM suspends the class objects when the count reaches zero; a client
    // that still held the class brought it back, so it serves again.
    if (references == 1) CoResumeClassObjects();
}

void releaseServerReference()
{
    references = CoReleaseServerProcess();
    if (references == 0) lingerUntilUsed();
}

bool serverIsStopping()
{
    return stopping;
}
