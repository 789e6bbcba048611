#pragma once

#include <cstdint>
#include <vector>

#include "base/win32_handles.h"
#include "settings/image_size.h"
#include "text/utf8_string.h"

// A copy's name, claimed by creating the file empty and holding it open,
// unshared, until the copy is written through that same handle: nobody (an
// indexer, a virus scanner) can open the empty file in between and make the
// writing fail. The empty file goes again with its owner, however the run
// ends, an exception included, unless keep() says the copy is in it now.
class ClaimedOutputFile {
public:
    ClaimedOutputFile() noexcept = default;
    ClaimedOutputFile(ClaimedOutputFile&& other) noexcept;
    ClaimedOutputFile& operator=(ClaimedOutputFile&& other) noexcept;
    ClaimedOutputFile(const ClaimedOutputFile&) = delete;
    ClaimedOutputFile& operator=(const ClaimedOutputFile&) = delete;
    ~ClaimedOutputFile();

    explicit operator bool() const noexcept { return claimed_; }
    const Utf8String& path() const noexcept { return path_; }
    bool write(const std::vector<uint8_t>& bytes) const;
    // Gives the copy, once written, the modification time of the file at
    // sourcePath; false when that cannot be read or set.
    bool takeModificationTimeOf(const Utf8String& sourcePath) const;
    // Closes the file, which now holds the copy, for others to open.
    void keep() noexcept;

private:
    friend ClaimedOutputFile claimOutputFile(const Utf8String&, const ImageSize&, const Utf8String&);
    ClaimedOutputFile(const Utf8String& path, const WideBuffer& widePath, FileHandle file) noexcept
        : path_(path), widePath_(widePath), file_(std::move(file)), claimed_(true)
    {
    }
    void remove() noexcept;

    Utf8String path_;
    // Made before the file, so that deleting it needs no memory.
    WideBuffer widePath_;
    FileHandle file_;
    bool claimed_ = false;
};

// Claims the first free name of "<base>_<W>x<H>[_n].<ext>" by creating it
// empty, so that no existing file or folder is ever written over, not even by
// a second copy made at the same moment. Empty when no name can be created.
ClaimedOutputFile claimOutputFile(const Utf8String& baseName, const ImageSize& size, const Utf8String& extension);
