#pragma once

#include "codecs/gdiplus_headers.h"

// The position of the encoder whose MIME type equals mimeType exactly (letter
// case matters) in GDI+'s encoder list, with its class id filled in; or -1.
int findEncoderClsid(const WCHAR* mimeType, CLSID* clsid);

// The encoder parameters of every save, whatever the format: quality 95.
class QualityParameters {
public:
    static constexpr ULONG kQuality = 95;

    QualityParameters();
    QualityParameters(const QualityParameters&) = delete;
    QualityParameters& operator=(const QualityParameters&) = delete;

    const Gdiplus::EncoderParameters* list() const { return &list_; }

private:
    Gdiplus::EncoderParameters list_;
    ULONG quality_ = kQuality;
};
