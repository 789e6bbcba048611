#include "i18n/translation_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/win32_handles.h"
#include "i18n/translation_table.h"

namespace {
// C runtime streams, owned like the Win32 handles.
struct CFileTraits {
    using Handle = FILE*;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle file) noexcept { std::fclose(file); }
};
using CFile = HandleOwner<CFileTraits>;
}  // namespace

static constexpr size_t kBufferSize = 1024 * 1024;

// A buffer the file filled to its last byte may hold half a line at its end,
// and no zero byte ends its text: only the lines up to its last CR are kept.
static size_t completeTextLength(const std::vector<char>& buffer)
{
    if (std::memchr(buffer.data(), 0, buffer.size())) return buffer.size();
    for (size_t length = buffer.size(); length > 0; --length)
        if (buffer[length - 1] == '\r') return length;
    return 0;
}

void loadTranslationFile(const Utf8String& path)
{
    const CFile file(_wfopen(path.toWide().units(), L"rb"));
    if (!file) return;
    std::vector<char> buffer(kBufferSize, 0);
    std::fread(buffer.data(), 1, buffer.size(), file.get());
    translationTable.readText(buffer.data(), completeTextLength(buffer));
}
