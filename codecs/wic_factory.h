#pragma once

#include <wincodec.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// A thread's imaging factory, with COM started on the thread, for as long as
// the owner lives: the thread's decoders and encoders use it. One made while
// the thread has one already uses that one, so a worker can hold one for all
// its pictures and each picture one of its own.
class ThreadImaging {
public:
    ThreadImaging();
    ThreadImaging(const ThreadImaging&) = delete;
    ThreadImaging& operator=(const ThreadImaging&) = delete;
    ~ThreadImaging();

private:
    bool owner_ = false;
    bool comStarted_ = false;
    ComPtr<IWICImagingFactory> factory_;
};

// The calling thread's factory; null while no ThreadImaging lives on it, or
// when WIC cannot be had.
IWICImagingFactory* threadImagingFactory();
