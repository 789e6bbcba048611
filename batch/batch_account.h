#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/resize_outcome.h"
#include "text/utf8_string.h"

// A picture of a batch that gave no copy, and why: how its resize ended, or
// no outcome when the batch could not begin it.
struct FailedPicture {
    Utf8String path;
    std::optional<ResizeOutcome> outcome;
};

// The failed pictures an account names; one more line counts the rest, so
// that the window it fills stays well within any screen.
constexpr size_t kNamedFailures = 10;
// A longer file name loses its middle, so that no line runs off the window.
constexpr uint32_t kLongestShownName = 60;

// The account a batch ends with when pictures gave no copy, in the current
// language: how many copies were made of how many pictures, then each failed
// picture by its file name with the reason, the first kNamedFailures of them.
Utf8String batchAccount(uint32_t copies, uint32_t pictures, const std::vector<FailedPicture>& failures);
