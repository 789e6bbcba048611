#include "batch/copy_openings.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "base/win32_handles.h"
#include "batch/copy_folders.h"
#include "shell/shell_open.h"

using ItemIdList = CoTaskMemory<ITEMIDLIST>;

static void openFolderSelecting(const FolderCopies& group)
{
    const ItemIdList folder(ILCreateFromPathW(group.folder.toWide().units()));
    if (!folder) return;
    std::vector<ItemIdList> copies;
    std::vector<PCUITEMID_CHILD> children;
    for (const Utf8String& name : group.names) {
        const Utf8String path = Utf8String::concat(Utf8String::concat(group.folder, Utf8String::fromAnsi("\\")), name);
        ItemIdList copy(ILCreateFromPathW(path.toWide().units()));
        if (!copy) continue;
        children.push_back(ILFindLastID(copy.get()));
        copies.push_back(std::move(copy));
    }
    if (children.empty()) return;
    if (SUCCEEDED(SHOpenFolderAndSelectItems(folder.get(), static_cast<UINT>(children.size()), children.data(), 0)))
        return;
    // Without the shell's window list (its Explorer is not running, or not
    // answering) nothing can be selected: the folder is at least opened.
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_IDLIST | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"explore";
    info.lpIDList = folder.get();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}

void openCopies(const std::vector<std::wstring>& copies)
{
    std::vector<Utf8String> paths;
    for (const std::wstring& copy : copies) paths.push_back(Utf8String::fromWide(copy.c_str(), 0));
    if (paths.size() == 1) {
        openWithShell(paths.front());
        return;
    }
    for (const FolderCopies& group : copiesByFolder(paths)) openFolderSelecting(group);
}
