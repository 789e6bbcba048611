#include "imaging/output_file.h"

#include <windows.h>

#include <cstdint>
#include <utility>

#include "codecs/file_source.h"
#include "imaging/resize_arguments.h"

static bool nameIsTaken(const WideBuffer& name)
{
    return GetFileAttributesW(name.units()) != INVALID_FILE_ATTRIBUTES;
}

ClaimedOutputFile::ClaimedOutputFile(ClaimedOutputFile&& other) noexcept
    : path_(std::move(other.path_)), widePath_(std::move(other.widePath_)), file_(std::move(other.file_)),
      claimed_(std::exchange(other.claimed_, false))
{
}

ClaimedOutputFile& ClaimedOutputFile::operator=(ClaimedOutputFile&& other) noexcept
{
    if (this != &other) {
        remove();
        path_ = std::move(other.path_);
        widePath_ = std::move(other.widePath_);
        file_ = std::move(other.file_);
        claimed_ = std::exchange(other.claimed_, false);
    }
    return *this;
}

ClaimedOutputFile::~ClaimedOutputFile()
{
    remove();
}

bool ClaimedOutputFile::write(const std::vector<uint8_t>& bytes) const
{
    return claimed_ && file_ && writeAll(file_.get(), bytes.data(), bytes.size());
}

bool ClaimedOutputFile::takeModificationTimeOf(const Utf8String& sourcePath) const
{
    WIN32_FILE_ATTRIBUTE_DATA source;
    if (!claimed_ || !GetFileAttributesExW(sourcePath.toWide().units(), GetFileExInfoStandard, &source)) return false;
    return SetFileTime(file_.get(), nullptr, nullptr, &source.ftLastWriteTime) != FALSE;
}

void ClaimedOutputFile::keep() noexcept
{
    file_.reset();
    claimed_ = false;
}

// The name was created by this run, so nobody else's file goes; closed
// first, as nobody, this run included, can delete a file held unshared.
void ClaimedOutputFile::remove() noexcept
{
    file_.reset();
    if (claimed_) DeleteFileW(widePath_.units());
    claimed_ = false;
}

ClaimedOutputFile claimOutputFile(const Utf8String& baseName, const ImageSize& size, const Utf8String& extension)
{
    for (int32_t counter = 0; counter < INT32_MAX; ++counter) {
        const Utf8String candidate = outputName(baseName, size, counter, extension);
        const WideBuffer wide = candidate.toWide();
        if (nameIsTaken(wide)) continue;
        FileHandle file(
            CreateFileW(wide.units(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return ClaimedOutputFile(candidate, wide, std::move(file));
        // Taken between the look and the creation: try the next name. Any
        // other failure (no such folder, no right to write) ends the search.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}
