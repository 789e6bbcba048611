#include "codecs/jpeg_error_manager.h"

#include <jerror.h>

namespace {

JpegErrorManager& managerOf(j_common_ptr info)
{
    return *reinterpret_cast<JpegErrorManager*>(info->err);
}

[[noreturn]] void jumpToStep(j_common_ptr info)
{
    std::longjmp(managerOf(info).backToStep, 1);
}

// Warnings about the file's form rather than its pixels: bytes between
// segments, an unknown JFIF or Adobe version, a broken ICC chunk (read by
// nobody here). Every other warning, libjpeg's "corrupt data" and "premature
// end" ones among them, means pixels were made up.
bool isHarmless(int code)
{
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_BOGUS_ICC;
}

void noteMessage(j_common_ptr info, int level)
{
    if (level >= 0) return;  // trace messages
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF) managerOf(info).reachedEnd = true;
    else if (!isHarmless(code)) managerOf(info).lostData = true;
}

void printNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* prepareErrors(JpegErrorManager& errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jumpToStep;
    errors.pub.emit_message = noteMessage;
    errors.pub.output_message = printNothing;
    errors.lostData = false;
    errors.reachedEnd = false;
    return &errors.pub;
}

bool runJpegStep(JpegErrorManager& errors, JpegStep step, void* job)
{
    if (setjmp(errors.backToStep) != 0) return false;
    step(job);
    return true;
}
