#pragma once

#include "codecs/byte_source.h"
#include "codecs/jpeg_error_manager.h"

// Feeds libjpeg from a ByteSource, 64 KiB at a time. Bytes that end before
// libjpeg is done are followed by an end marker and a "premature end"
// warning, as with libjpeg's own file reader.
struct JpegSourceManager {
    jpeg_source_mgr pub;  // first, so that libjpeg's pointer to it is ours
    ByteSource* source = nullptr;
    bool ended = false;
    JOCTET buffer[64 * 1024];
};

// Fills `manager` to read `source` and returns what the decompressor's src
// field takes once it is created.
jpeg_source_mgr* prepareSource(JpegSourceManager& manager, ByteSource& source);
