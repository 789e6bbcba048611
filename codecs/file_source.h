#pragma once

#include "base/win32_handles.h"
#include "codecs/byte_source.h"

// The bytes of a file, read front to back through the system's own cache.
class FileSource : public ByteSource {
public:
    explicit FileSource(const wchar_t* path);
    bool opened() const { return static_cast<bool>(file_); }
    size_t read(uint8_t* buffer, size_t count) override;

private:
    FileHandle file_;
};

// Writes all the bytes at the file's position.
bool writeAll(HANDLE file, const uint8_t* bytes, size_t count);
