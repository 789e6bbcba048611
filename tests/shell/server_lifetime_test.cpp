#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "shell/batch_drop_target.h"
#include "shell/server_lifetime.h"

// Pumps this thread's messages, as the server does, for the time given; true
// when the quit message came in it.
static bool quitsWithin(UINT milliseconds)
{
    const UINT_PTR limit = SetTimer(nullptr, 0, milliseconds, nullptr);
    MSG message = {};
    bool quit = true;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == limit) {
            quit = false;
            break;
        }
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, limit);
    return quit;
}

static HRESULT makeTarget(BatchDropTargetFactory& factory)
{
    IDropTarget* target = nullptr;
    const HRESULT result = factory.CreateInstance(nullptr, IID_IDropTarget, reinterpret_cast<void**>(&target));
    if (target) target->Release();
    return result;
}

// The server ends once, so this is the process's one run of its lifetime.
// COM does not carry LockServer across processes in Wine 8 (its proxy answers
// E_NOTIMPL), so the class object is called here as Explorer's would be.
TEST(ServerLifetime, LockServerHoldsTheServerPastItsLingerUntilUnlocked)
{
    BatchDropTargetFactory factory([](std::vector<std::wstring>) { return false; });
    lingerUntilUsed();
    ASSERT_EQ(factory.LockServer(TRUE), S_OK);
    // Twice the linger, and an object made and gone meanwhile.
    EXPECT_FALSE(quitsWithin(3000));
    EXPECT_EQ(makeTarget(factory), S_OK);
    EXPECT_FALSE(quitsWithin(3000)) << "the server ended while locked";
    EXPECT_FALSE(serverIsStopping());

    ASSERT_EQ(factory.LockServer(FALSE), S_OK);
    EXPECT_TRUE(quitsWithin(15000)) << "the server did not end once unlocked";
    EXPECT_TRUE(serverIsStopping());
    EXPECT_EQ(makeTarget(factory), CO_E_SERVER_STOPPING);
}
