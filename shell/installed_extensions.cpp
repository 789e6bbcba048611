#include "shell/installed_extensions.h"

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <new>

#include "base/win32_handles.h"
#include "shell/picture_extensions.h"

using Microsoft::WRL::ComPtr;

// Far above any codec's list, even a camera-RAW codec's few dozen types,
// so that a broken length is never allocated.
constexpr UINT kMaxExtensionListUnits = 32768;

// A decoder's extension list, or empty when it gives none.
static Utf8String extensionListOf(IWICBitmapCodecInfo& decoder)
{
    UINT length = 0;
    if (FAILED(decoder.GetFileExtensions(0, nullptr, &length)) || length == 0 || length > kMaxExtensionListUnits)
        return Utf8String();
    // The length counts the terminating NUL; one unit more in case a codec's does not.
    std::vector<wchar_t> list(length + 1, L'\0');
    UINT written = 0;
    if (FAILED(decoder.GetFileExtensions(length, list.data(), &written))) return Utf8String();
    return Utf8String::fromWide(list.data(), 0);
}

// False when WIC cannot be asked.
static bool addDecoderExtensions(std::vector<Utf8String>& extensions)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return false;
    ComPtr<IEnumUnknown> decoders;
    if (FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &decoders)))
        return false;
    ComPtr<IUnknown> component;
    ULONG fetched = 0;
    while (decoders->Next(1, component.ReleaseAndGetAddressOf(), &fetched) == S_OK && fetched == 1 && component) {
        ComPtr<IWICBitmapCodecInfo> decoder;
        if (SUCCEEDED(component.As(&decoder))) addPictureExtensions(extensionListOf(*decoder.Get()), extensions);
    }
    return true;
}

std::vector<Utf8String> installedPictureExtensions()
{
    try {
        // The COM pointers are all released before the apartment ends.
        const ComApartment apartment;
        std::vector<Utf8String> extensions = ownPictureExtensions();
        return addDecoderExtensions(extensions) ? extensions : fallbackPictureExtensions();
    } catch (const std::bad_alloc&) {
        return {};
    }
}
