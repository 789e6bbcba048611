#include "codecs/wic_factory.h"

#include <objbase.h>

namespace {

// Member order matters: the factory goes before the apartment it lives in.
class ThreadImaging {
public:
    ThreadImaging()
        : comStarted_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
        // A thread already in an apartment of the other kind still has COM.
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_));
    }
    ThreadImaging(const ThreadImaging&) = delete;
    ThreadImaging& operator=(const ThreadImaging&) = delete;
    ~ThreadImaging()
    {
        factory_.Reset();
        if (comStarted_) CoUninitialize();
    }

    IWICImagingFactory* factory() const { return factory_.Get(); }

private:
    bool comStarted_;
    ComPtr<IWICImagingFactory> factory_;
};

}  // namespace

IWICImagingFactory* threadImagingFactory()
{
    thread_local ThreadImaging imaging;
    return imaging.factory();
}
