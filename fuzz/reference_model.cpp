#include "fuzz/reference_model.h"

#include <cerrno>
#include <cstdlib>

static std::string upperAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

int32_t modelToInt(const char* text)
{
    while (*text == ' ') ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (*text < '0' || *text > '9') return -1;
    errno = 0;
    const long long magnitude = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE) return -1;
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return -1;
    return static_cast<int32_t>(value);
}

int32_t modelFind(const std::string& text, const std::string& needle, uint32_t start, bool ignoreCase)
{
    if (needle.empty() || start >= text.size()) return -1;
    const size_t found = ignoreCase ? upperAscii(text).find(upperAscii(needle), start) : text.find(needle, start);
    return found == std::string::npos ? -1 : static_cast<int32_t>(found);
}

int32_t modelCompare(const std::string& left, const std::string& right, bool ignoreCase)
{
    const int order = ignoreCase ? upperAscii(left).compare(upperAscii(right)) : left.compare(right);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::string modelMid(const std::string& text, uint32_t start, uint32_t count)
{
    return start >= text.size() ? std::string() : text.substr(start, count);
}

bool modelParseSize(const std::string& text, ImageSize& size)
{
    size = ImageSize();
    const size_t separator = text.find('x');
    if (separator == std::string::npos || separator == 0) return false;
    const int32_t width = modelToInt(text.substr(0, separator).c_str());
    const int32_t height = modelToInt(text.substr(separator + 1).c_str());
    if (width <= 0 || height <= 0) return false;
    size = ImageSize{width, height};
    return true;
}

bool modelReplaceAll(std::string& text, const std::string& needle, const std::string& replacement,
                     size_t stepBudget, size_t byteBudget)
{
    if (needle.empty() || replacement.find(needle) != std::string::npos) return true;
    for (size_t steps = 0;; ++steps) {
        const size_t found = text.find(needle);
        if (found == std::string::npos) return true;
        if (steps == stepBudget || text.size() > byteBudget) return false;
        text.replace(found, needle.size(), replacement);
    }
}
