#include "codecs/jpeg_source_manager.h"

#include <jerror.h>

namespace {

JpegSourceManager& managerOf(j_decompress_ptr info)
{
    return *reinterpret_cast<JpegSourceManager*>(info->src);
}

void doNothing(j_decompress_ptr) {}

boolean fillBuffer(j_decompress_ptr info)
{
    JpegSourceManager& manager = managerOf(info);
    size_t count = manager.ended ? 0 : manager.source->read(manager.buffer, sizeof manager.buffer);
    if (count == 0) {
        manager.ended = true;
        WARNMS(info, JWRN_JPEG_EOF);
        manager.buffer[0] = 0xFF;
        manager.buffer[1] = JPEG_EOI;
        count = 2;
    }
    manager.pub.next_input_byte = manager.buffer;
    manager.pub.bytes_in_buffer = count;
    return TRUE;
}

// A skip past the end stops at the end marker put in there.
void skipBytes(j_decompress_ptr info, long count)
{
    if (count <= 0) return;
    JpegSourceManager& manager = managerOf(info);
    auto left = static_cast<size_t>(count);
    while (left > manager.pub.bytes_in_buffer) {
        left -= manager.pub.bytes_in_buffer;
        fillBuffer(info);
        if (manager.ended) return;
    }
    manager.pub.next_input_byte += left;
    manager.pub.bytes_in_buffer -= left;
}

}  // namespace

jpeg_source_mgr* prepareSource(JpegSourceManager& manager, ByteSource& source)
{
    manager.pub.init_source = doNothing;
    manager.pub.fill_input_buffer = fillBuffer;
    manager.pub.skip_input_data = skipBytes;
    manager.pub.resync_to_restart = jpeg_resync_to_restart;
    manager.pub.term_source = doNothing;
    manager.pub.next_input_byte = nullptr;
    manager.pub.bytes_in_buffer = 0;
    manager.source = &source;
    manager.ended = false;
    return &manager.pub;
}
