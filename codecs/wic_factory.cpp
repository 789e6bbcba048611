#include "codecs/wic_factory.h"

#include <objbase.h>

// A plain pointer, as its owner lives on the thread's stack: thread_local
// objects with destructors are not safe with MinGW's threads.
static thread_local ThreadImaging* currentImaging = nullptr;

ThreadImaging::ThreadImaging()
{
    if (currentImaging) return;
    owner_ = true;
    currentImaging = this;
}

ThreadImaging::~ThreadImaging()
{
    if (!owner_) return;
    currentImaging = nullptr;
    factory_.Reset();
    if (comStarted_) CoUninitialize();
}

IWICImagingFactory* ThreadImaging::factory()
{
    if (tried_) return factory_.Get();
    tried_ = true;
    // A thread already in an apartment of the other kind still has COM.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_));
    return factory_.Get();
}

IWICImagingFactory* threadImagingFactory()
{
    return currentImaging ? currentImaging->factory() : nullptr;
}
