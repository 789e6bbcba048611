#include "shell/dropped_files.h"

#include <windows.h>

#include <shellapi.h>

#include "base/win32_handles.h"

// The longest path Win32 takes, "\\?\" paths included.
constexpr UINT kLongestPath = 32767;

std::vector<std::wstring> droppedFiles(IDataObject* data)
{
    std::vector<std::wstring> files;
    if (!data) return files;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    if (FAILED(data->GetData(&format, medium.receive())) || medium.get().tymed != TYMED_HGLOBAL) return files;
    const auto drop = static_cast<HDROP>(medium.get().hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0 || length > kLongestPath) continue;
        std::wstring file(length + 1, L'\0');
        if (DragQueryFileW(drop, i, file.data(), length + 1) != length) continue;
        file.resize(length);
        files.push_back(std::move(file));
    }
    return files;
}
