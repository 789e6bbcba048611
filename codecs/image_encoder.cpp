#include "codecs/image_encoder.h"

#include <cwchar>
#include <memory>
#include <new>

int findEncoderClsid(const WCHAR* mimeType, CLSID* clsid)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return -1;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[bytes]);
    if (!buffer) return -1;
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return -1;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && std::wcscmp(encoders[i].MimeType, mimeType) == 0) {
            *clsid = encoders[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

QualityParameters::QualityParameters()
{
    list_.Count = 1;
    list_.Parameter[0].Guid = Gdiplus::EncoderQuality;
    list_.Parameter[0].NumberOfValues = 1;
    list_.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    list_.Parameter[0].Value = &quality_;
}
