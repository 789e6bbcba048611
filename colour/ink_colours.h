#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Turns a row of CMYK inks into the sRGB colours they print, as BGR: through
// the photo's own ICC profile (Little CMS) where it has a CMYK one that can be
// read, else as viewers without colour management show inks, each colour the
// light its ink and the black leave. `inverted`: the inks are stored as
// Adobe's files store them, 255 for no ink.
class InkColours {
public:
    InkColours(const std::vector<uint8_t>& profile, bool inverted);
    ~InkColours();
    InkColours(const InkColours&) = delete;
    InkColours& operator=(const InkColours&) = delete;

    // Whether the photo's profile does the conversion.
    bool throughProfile() const { return transform_ != nullptr; }
    void toBgr(const uint8_t* inks, int32_t width, uint8_t* bgr) const;

private:
    struct TransformDeleter {
        void operator()(void* transform) const;
    };
    std::unique_ptr<void, TransformDeleter> transform_;
    bool inverted_;
};
