#pragma once

#include <oleidl.h>

#include <string>
#include <vector>

// What the server does with the files of a drop; false when it took none of
// them to work on.
using DropReceiver = bool (*)(std::vector<std::wstring> files);

// The object Explorer drops a selection on: it hands the file list to the
// receiver and returns at once; the work runs in the server. A drop the
// receiver takes nothing of fails, with no effect. Each object holds a server
// reference while it lives.
class BatchDropTarget final : public IDropTarget {
public:
    explicit BatchDropTarget(DropReceiver receiver);
    BatchDropTarget(const BatchDropTarget&) = delete;
    BatchDropTarget& operator=(const BatchDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~BatchDropTarget();

    LONG references_ = 1;
    DropReceiver receiver_;
};

// The class object that makes BatchDropTarget objects for COM.
class BatchDropTargetFactory final : public IClassFactory {
public:
    explicit BatchDropTargetFactory(DropReceiver receiver) : receiver_(receiver) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    // Class objects do not keep a local server alive; LockServer does.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    DropReceiver receiver_;
};
