#pragma once

#include "settings/image_size.h"
#include "text/utf8_string.h"

// A copy's name, claimed by creating the file empty. The empty file goes
// again with its owner, however the run ends, an exception included, unless
// keep() says the copy is in it now.
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
    void keep() noexcept { claimed_ = false; }

private:
    friend ClaimedOutputFile claimOutputFile(const Utf8String&, const ImageSize&, const Utf8String&);
    ClaimedOutputFile(const Utf8String& path, const WideBuffer& widePath) noexcept
        : path_(path), widePath_(widePath), claimed_(true)
    {
    }
    void remove() noexcept;

    Utf8String path_;
    // Made before the file, so that deleting it needs no memory.
    WideBuffer widePath_;
    bool claimed_ = false;
};

// Claims the first free name of "<base>_<W>x<H>[_n].<ext>" by creating it
// empty, so that no existing file or folder is ever written over, not even by
// a second copy made at the same moment. Empty when no name can be created.
ClaimedOutputFile claimOutputFile(const Utf8String& baseName, const ImageSize& size, const Utf8String& extension);
