#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/image_size.h"

// What the computing code does with plain ASCII text, written again with
// std::string and the C library, to hold the program's results against.

int32_t modelToInt(const char* text);
int32_t modelFind(const std::string& text, const std::string& needle, uint32_t start, bool ignoreCase);
int32_t modelCompare(const std::string& left, const std::string& right, bool ignoreCase);
std::string modelMid(const std::string& text, uint32_t start, uint32_t count);
bool modelParseSize(const std::string& text, ImageSize& size);

// Replaces the first match again and again, searching from the start each
// time. False when that takes more than stepBudget replacements or grows the
// text past byteBudget: some pairs never end ("ab" by "bbaa" in "aab"),
// which is a hang of the caller's choosing, not a wrong result.
bool modelReplaceAll(std::string& text, const std::string& needle, const std::string& replacement,
                     size_t stepBudget, size_t byteBudget);
