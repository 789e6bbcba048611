#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h takes FILE and size_t as known

#include <jpeglib.h>

// libjpeg's error handling for one codec object: an error jumps back to
// runJpegStep instead of exiting, no message is printed, and a warning that
// means lost pixels is remembered. After a failed step, pub.msg_code says why.
struct JpegErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer to it is ours
    std::jmp_buf backToStep;
    bool lostData = false;
    // The file ended before its end marker: pixels are lost only where the
    // decoder cannot tell by itself.
    bool reachedEnd = false;
};

// Fills `errors` and returns what the codec object's err field takes.
jpeg_error_mgr* prepareErrors(JpegErrorManager& errors);

// Runs step(job), whose libjpeg calls may end in an error exit; false when
// one did. The exit jumps over the step's frame, so it must hold no object
// with a destructor.
using JpegStep = void (*)(void* job);
bool runJpegStep(JpegErrorManager& errors, JpegStep step, void* job);
