#pragma once

#include <wincodec.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// A thread's imaging factory for as long as the owner lives, made with COM
// on the thread the first time a decoder or encoder asks for it: pictures the
// program's own codecs read never start COM. One made while the thread has
// one already leaves it to that one, so a worker can hold one for all its
// pictures and each picture one of its own.
class ThreadImaging {
public:
    ThreadImaging();
    ThreadImaging(const ThreadImaging&) = delete;
    ThreadImaging& operator=(const ThreadImaging&) = delete;
    ~ThreadImaging();

    IWICImagingFactory* factory();

private:
    bool owner_ = false;
    bool comStarted_ = false;
    bool tried_ = false;
    ComPtr<IWICImagingFactory> factory_;
};

// The calling thread's factory; null while no ThreadImaging lives on it, or
// when WIC cannot be had.
IWICImagingFactory* threadImagingFactory();
