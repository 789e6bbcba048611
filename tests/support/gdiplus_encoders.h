#pragma once

#include <windows.h>

// The class identifier of the GDI+ encoder for a MIME type ("image/png").
bool findEncoder(const wchar_t* mimeType, CLSID* encoder);
