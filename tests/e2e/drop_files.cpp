#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "tests/e2e/explorer_drop.h"

// Plays Explorer once, for the batch benchmark: drops the files on the
// class and returns as soon as the drop has been taken.
// Usage: drop_files <class id> <file>...
int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: drop_files <class id> <file>...\n");
        return 2;
    }
    const ComApartment apartment;
    const std::vector<std::wstring> files(argv + 2, argv + argc);
    const HRESULT result = dropOnClass(argv[1], files);
    if (FAILED(result)) std::fprintf(stderr, "drop_files: the drop failed (0x%08lX)\n", static_cast<unsigned long>(result));
    return SUCCEEDED(result) ? 0 : 1;
}
