#include "tests/support/gdiplus_encoders.h"

#include <gdiplus.h>

#include <cwchar>
#include <vector>

bool findEncoder(const wchar_t* mimeType, CLSID* encoder)
{
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> storage(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mimeType) == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}
