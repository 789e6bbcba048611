#pragma once

#include <wincodec.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// The calling thread's imaging factory, made on its first call with COM
// started on the thread if it was not; null when WIC cannot be had. Each
// thread has its own, as each has its own apartment.
IWICImagingFactory* threadImagingFactory();
