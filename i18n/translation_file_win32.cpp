#include "i18n/translation_file.h"

#include <cstdio>
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

void loadTranslationFile(const Utf8String& path)
{
    const CFile file(_wfopen(path.toWide().units(), L"rb"));
    if (!file) return;
    std::vector<char> buffer(kBufferSize);
    const size_t read = std::fread(buffer.data(), 1, buffer.size(), file.get());
    translationTable.readText(buffer.data(), read, read == buffer.size());
}
