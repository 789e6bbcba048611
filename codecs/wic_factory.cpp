#include "codecs/wic_factory.h"

#include <objbase.h>

// A plain pointer, as its owner lives on the thread's stack: thread_local
// objects with destructors are not safe with MinGW's threads.
static thread_local IWICImagingFactory* currentFactory = nullptr;

ThreadImaging::ThreadImaging()
{
    if (currentFactory) return;
    // A thread already in an apartment of the other kind still has COM.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    owner_ = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_)));
    if (owner_) currentFactory = factory_.Get();
}

ThreadImaging::~ThreadImaging()
{
    if (owner_) currentFactory = nullptr;
    factory_.Reset();
    if (comStarted_) CoUninitialize();
}

IWICImagingFactory* threadImagingFactory()
{
    return currentFactory;
}
