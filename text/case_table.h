#pragma once

#include <cstdint>

// Returned by upperCaseOf for a code point that has no uppercase form.
constexpr uint32_t kNoUpperCase = 0;

// The uppercase form of a code point from the case table (U+0041..U+33D4,
// U+A640..U+AA4A, U+FB00..U+FFDB), or kNoUpperCase.
uint32_t upperCaseOf(uint32_t codePoint);
