#include "shell/batch_drop_target.h"

#include <new>

#include "shell/dropped_files.h"
#include "shell/server_lifetime.h"

BatchDropTarget::BatchDropTarget(DropReceiver receiver) : receiver_(receiver)
{
    addServerReference();
}

BatchDropTarget::~BatchDropTarget()
{
    releaseServerReference();
}

HRESULT BatchDropTarget::QueryInterface(REFIID id, void** object)
{
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG BatchDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG BatchDropTarget::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

static HRESULT offerCopy(DWORD* effect)
{
    if (effect) *effect &= DROPEFFECT_COPY;
    return S_OK;
}

HRESULT BatchDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect)
{
    return offerCopy(effect);
}

HRESULT BatchDropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    return offerCopy(effect);
}

HRESULT BatchDropTarget::DragLeave()
{
    return S_OK;
}

static HRESULT refuse(DWORD* effect, HRESULT why)
{
    if (effect) *effect = DROPEFFECT_NONE;
    return why;
}

HRESULT BatchDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    try {
        if (!receiver_(droppedFiles(data))) return refuse(effect, E_FAIL);
    } catch (const std::bad_alloc&) {
        return refuse(effect, E_OUTOFMEMORY);
    }
    return offerCopy(effect);
}

HRESULT BatchDropTargetFactory::QueryInterface(REFIID id, void** object)
{
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT BatchDropTargetFactory::CreateInstance(IUnknown* outer, REFIID id, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (serverIsStopping()) return CO_E_SERVER_STOPPING;
    BatchDropTarget* target = new (std::nothrow) BatchDropTarget(receiver_);
    if (!target) return E_OUTOFMEMORY;
    const HRESULT result = target->QueryInterface(id, object);
    target->Release();
    return result;
}

HRESULT BatchDropTargetFactory::LockServer(BOOL lock)
{
    if (lock) addServerReference();
    else releaseServerReference();
    return S_OK;
}
