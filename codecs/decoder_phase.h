#pragma once

#include <new>

#include "codecs/picture_decoder.h"

// Where a decoder stands: each step is taken once, in order, and any failure
// ends it.
enum class DecoderPhase { Fresh, HeaderRead, Started, Done };

// Reads a fresh decoder's head by `read`, once. On any failure, running out
// of memory included, the state is dropped and spent.
template <typename State, typename Read>
DecodeStatus readHeaderOnce(State& state, Read read)
{
    if (state.phase != DecoderPhase::Fresh) return DecodeStatus::NotForThisDecoder;
    DecodeStatus status = DecodeStatus::OutOfMemory;
    try {
        status = read();
    } catch (const std::bad_alloc&) {
    }
    if (status != DecodeStatus::Decoded) {
        state = State();
        state.phase = DecoderPhase::Done;
        return status;
    }
    state.phase = DecoderPhase::HeaderRead;
    return DecodeStatus::Decoded;
}
