#include "tests/e2e/open_log.h"

#include "tests/support/file_system.h"
#include "tests/support/utf8_conversion.h"

std::vector<std::wstring> readOpenLog(const std::wstring& path)
{
    std::vector<std::wstring> lines;
    const std::optional<Bytes> bytes = readFileBytes(path);
    if (!bytes) return lines;
    std::string line;
    for (const unsigned char byte : *bytes) {
        if (byte != '\n') {
            line.push_back(static_cast<char>(byte));
            continue;
        }
        lines.push_back(fromUtf8(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(fromUtf8(line));
    return lines;
}
