#pragma once

#include "text/utf8_string.h"

// The COM server that "-serve WxH" starts (COM adds -Embedding): it serves
// the size's class, resizes the pictures of every drop in one batch at a
// time, shows what was written and ends a moment after its last client.
void runBatchServer(const Utf8String& arguments);
