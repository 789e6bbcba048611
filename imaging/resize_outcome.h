#pragma once

// How the resize of one picture ended; everything but Written left no copy.
enum class ResizeOutcome {
    Written,
    NotAPicture,     // no decoder takes the file's bytes
    Unreadable,      // the file cannot be opened or ends early, or its data is corrupt
    Unwritable,      // no copy can be created or written beside it
    TooLarge,        // the picture or its copy is beyond what can be made
    OutOfMemory,     // memory ran out on the way, which may not happen alone
    NoInstalledCodec,  // a kind of picture Windows knows, but no codec installed reads it
};
