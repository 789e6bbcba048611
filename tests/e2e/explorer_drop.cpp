#include "tests/e2e/explorer_drop.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstring>

#include "base/win32_handles.h"

namespace {

// The least of a data object that carries a file list: a fresh CF_HDROP
// block for every GetData, as a drop source hands out.
class FileDropData final : public IDataObject {
public:
    explicit FileDropData(std::vector<std::wstring> files) : files_(std::move(files)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object) return E_POINTER;
        *object = id == IID_IUnknown || id == IID_IDataObject ? static_cast<IDataObject*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        const HRESULT offered = QueryGetData(format);
        if (offered != S_OK) return offered;
        HGLOBAL block = fileList();
        if (!block) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (!format) return E_INVALIDARG;
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~FileDropData() = default;

    // DROPFILES, then each wide path with its NUL, then one more NUL.
    HGLOBAL fileList() const
    {
        size_t units = 1;
        for (const std::wstring& file : files_) units += file.size() + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
        if (!block) return nullptr;
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* names = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& file : files_) {
            std::memcpy(names, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
            names += file.size() + 1;
        }
        GlobalUnlock(block);
        return block;
    }

    LONG references_ = 1;
    std::vector<std::wstring> files_;
};

template <typename T>
struct ComReleaseTraits {
    using Handle = T*;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle object) noexcept { object->Release(); }
};
template <typename T>
using ComPointer = HandleOwner<ComReleaseTraits<T>>;

}  // namespace

HRESULT dropOnClass(const std::wstring& classId, const std::vector<std::wstring>& files, DWORD* effect)
{
    CLSID id;
    const HRESULT parsed = CLSIDFromString(classId.c_str(), &id);
    if (FAILED(parsed)) return parsed;
    ComPointer<IDropTarget> target;
    const HRESULT created = CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDropTarget,
                                             reinterpret_cast<void**>(target.receive()));
    if (FAILED(created)) return created;
    const ComPointer<IDataObject> data(new FileDropData(files));
    DWORD offered = DROPEFFECT_COPY;
    const HRESULT entered = target.get()->DragEnter(data.get(), MK_RBUTTON, POINTL{}, &offered);
    if (FAILED(entered)) return entered;
    DWORD dropped = DROPEFFECT_COPY;
    const HRESULT result = target.get()->Drop(data.get(), MK_RBUTTON, POINTL{}, &dropped);
    if (effect) *effect = dropped;
    return result;
}

ProgramWatch::~ProgramWatch()
{
    for (const DWORD id : running_) {
        const KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process) TerminateProcess(process.get(), 1);
    }
}

static std::wstring imageOf(DWORD processId)
{
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
    return std::wstring(path, length);
}

bool ProgramWatch::look()
{
    running_.clear();
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(imageOf(entry.th32ProcessID).c_str(), program_.c_str()) != 0) continue;
        running_.insert(entry.th32ProcessID);
        seen_.insert(entry.th32ProcessID);
    }
    return !running_.empty();
}

bool ProgramWatch::waitForEnd(DWORD timeLimitMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeLimitMs;
    while (look()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
    return true;
}

namespace {
struct TitleSearch {
    const ProgramWatch* watch;
    const std::wstring* title;
    HWND found;
};

// A named callback: a lambda converts to no WINAPI (stdcall) function on x86.
BOOL CALLBACK matchTitle(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<TitleSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (!search->watch->seen().count(owner) || *search->title != text || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace

HWND ProgramWatch::windowTitled(const std::wstring& title)
{
    look();
    TitleSearch search{this, &title, nullptr};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
