#include "codecs/file_source.h"

#include <algorithm>

// One ReadFile or WriteFile call moves at most this much.
constexpr size_t kLargestTransfer = 1u << 30;

FileSource::FileSource(const wchar_t* path)
    : file_(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
{
}

size_t FileSource::read(uint8_t* buffer, size_t count)
{
    DWORD read = 0;
    if (!file_ || !ReadFile(file_.get(), buffer, static_cast<DWORD>(std::min(count, kLargestTransfer)), &read, nullptr))
        return 0;
    return read;
}

bool writeAll(HANDLE file, const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, static_cast<DWORD>(std::min(count, kLargestTransfer)), &written, nullptr) ||
            written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}
