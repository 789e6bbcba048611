#include "tests/e2e/dialog_session.h"

#include "base/win32_handles.h"
#include "tests/e2e/pellavo_copies.h"
#include "tests/support/window_reading.h"

// Long enough for a slow machine under Wine; reaching it means a hang.
constexpr DWORD kTimeLimitMs = 30000;
constexpr DWORD kPollMs = 50;

namespace {

// Asks until the answer is yes (a window, true) or the time limit has passed.
template <typename Probe>
auto pollFor(Probe probe) -> decltype(probe())
{
    for (DWORD waited = 0; waited < kTimeLimitMs; waited += kPollMs) {
        if (const auto answer = probe()) return answer;
        Sleep(kPollMs);
    }
    return {};
}

std::wstring programOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
    return std::wstring(path, length);
}

struct DialogSearch {
    const std::wstring* program;  // the main dialog: a visible one of this program without owner
    HWND owner;                   // or a box: another dialog of the owner's thread
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (className(window) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    const bool wanted = search->program ? !GetWindow(window, GW_OWNER) &&
                                              _wcsicmp(programOf(window).c_str(), search->program->c_str()) == 0
                                        : window != search->owner;
    if (!wanted) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

DialogSession::DialogSession(const std::wstring& executable) : executable_(executable)
{
    run_ = std::async(std::launch::async, runInJob, executable, quotedPath(executable), kTimeLimitMs);
    window_ = pollFor([this] {
        DialogSearch search{&executable_, nullptr, nullptr};
        EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
}

DialogSession::~DialogSession()
{
    if (run_.valid()) close();
}

bool DialogSession::command(WORD id) const
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, kTimeLimitMs, &result) != 0;
}

HWND DialogSession::messageBox() const
{
    DialogSearch search{nullptr, window_, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(window_, nullptr), matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<MessageBoxTexts> DialogSession::commandShowingBox(WORD id, int item) const
{
    // Posted: the box's modal loop holds the command until the box is closed.
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return boxShown(item);
}

std::optional<MessageBoxTexts> DialogSession::boxShown(int item) const
{
    HWND box = pollFor([this] { return messageBox(); });
    if (!box) return std::nullopt;
    MessageBoxTexts texts{windowText(box), messageBoxText(box), item != 0 ? itemText(box, item) : std::wstring()};
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    // Once the box is gone, a message sent is taken after the command has returned.
    pollFor([box] { return !IsWindow(box); });
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kTimeLimitMs, &result);
    return texts;
}

ChildRun DialogSession::close()
{
    if (IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    return run_.get();
}
